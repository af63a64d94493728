#pragma once

// Which module addresses of the device's bus are occupied: one register per
// address from 2100.

#include "protocol/DeviceRegisters.h"

#include <array>
#include <cstdint>

class Tvep;
struct TransferBuffers;

struct ModuleExistence {
    int32_t transferResult = 0;
    // Address a + 1 at index a; none occupied when the transfer failed.
    std::array<bool, DeviceRegisters::ModuleExistenceCount> occupied{};

    bool has(int32_t address) const
    {
        return address >= 1 && address <= DeviceRegisters::ModuleExistenceCount
               && occupied[static_cast<std::size_t>(address - 1)];
    }
};

// One transfer over the open port.
ModuleExistence ReadModuleExistence(Tvep& vep, TransferBuffers& buffers);
