#pragma once

#include "diag/Result.h"

#include <cstdint>
#include <memory>
#include <vector>

class SequenceObserver;
class Tvep;
struct Station;

// A central device that answered the port search.
struct FoundDevice {
    int32_t port = 0; // 1 = COM1
    uint16_t type = 0;
    uint16_t serialNumber = 0;
    int32_t address = 0;
};

// Done when a central device of ours answered; NoDevice otherwise.
struct PortSearchResult : Result {
    std::vector<FoundDevice> devices; // every device found, in port order
    // Devices that answered, but with a type or an address (above 240) this
    // program does not serve, in port order: the reason nothing was found.
    std::vector<FoundDevice> refused;
    int32_t chosenPort = 1;           // ComPortNr after the search
};

// Probes COM1..COM16 for a central device that answers the configuration
// read with a known type, and keeps the port of the last one found (COM1 when
// none answers). The ports are probed all at once, so the search costs one
// probe's time, not one per port; what it logs and finds is what probing one
// port after another would give. Creates the protocol client anew, with the
// settings of the one it replaces; refreshes the status bar.
PortSearchResult SearchComPort(std::unique_ptr<Tvep>& client, Station& station, SequenceObserver& view);
