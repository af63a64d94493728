#pragma once

// After a write: does the device's link area hold what the table says?

#include "model/LinkModel.h"

#include <cstdint>

class Tvep;

struct LinkAreaCheck {
    int32_t transferResult = 0; // of the read-back; 0 = read
    int32_t mismatchedSlot = 0; // 1-based slot of the first difference; 0 = none
    DeviceLinkWords readBack;
    DeviceLinkWords written;
};

// Reads the device's link area and compares it word for word with the links
// of the table and the end slot behind them.
LinkAreaCheck CheckLinkArea(Tvep& vep);
