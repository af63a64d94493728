#pragma once

// The link the user is putting together on the editor page: the seven values
// the selection labels show ("0" = nothing chosen). The labels only display
// it; every rule reads and writes this struct.

#include <cstdint>

struct LinkSelection {
    int32_t modulQ = 0; // source module address (LModulQ)
    int32_t regQ = 0;   // source start register (LRegQ)
    int32_t bitQ = 0;   // source start bit (LBitQ)
    int32_t anzBit = 0; // number of selected bits (LAnzBit)
    int32_t modulZ = 0; // target module address (LModulZ)
    int32_t regZ = 0;   // target start register (LRegZ)
    int32_t bitZ = 0;   // target start bit (LBitZ)

    // A redraw of the source pane drops the source range (the modules stay).
    void clearSource();
    // A redraw of the target pane drops the target start.
    void clearTarget();
    bool hasSourceRange() const { return anzBit != 0; }
    bool hasTargetStart() const { return regZ != 0; }
};
