#pragma once

// The device's configuration registers (1500..1519): what the port search
// probes and the device read checks before it reads anything else.

#include "protocol/DeviceRegisters.h"

#include <cstdint>
#include <span>

class Tvep;

struct DeviceConfiguration {
    int32_t transferResult = 0; // Tvep's code; the words below only when 0
    uint16_t type = 0;          // register 1506
    uint16_t serialNumber = 0;  // register 1508
    int32_t address = 0;        // register 1516

    bool answered() const { return transferResult == 0; }
    // A central device this program serves.
    bool accepted() const { return answered() && DeviceRegisters::IsAcceptedDevice(type, address); }
};

// One transfer over the open port, with the time-outs of a probe, into
// `words` (at least ConfigurationCount of them).
DeviceConfiguration ReadConfiguration(Tvep& vep, std::span<uint16_t> words);
