#pragma once

#include <cstdint>

// A central device as links and overviews remember where they came from:
// its configuration registers 1508, 1516 and 1506.
struct StationIdentity {
    uint16_t serialNumber = 0;
    int32_t address = 0;
    uint16_t type = 0;

    // Serial number and address tell a station; the type says nothing more.
    bool sameStation(const StationIdentity& other) const
    {
        return serialNumber == other.serialNumber && address == other.address;
    }
    bool operator==(const StationIdentity&) const = default;
};
