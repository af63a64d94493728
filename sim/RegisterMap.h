#pragma once

// The register space of the simulated central device: 65536 16-bit registers,
// of which only the areas below exist. A request that touches a register
// outside them cannot be answered, as on the real device.

#include "protocol/DeviceRegisters.h"

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

namespace qmxsim {

// Where the device keeps what the service program reads and writes: the
// program's own register map, plus what only the device itself knows.
struct Registers {
    static constexpr uint16_t ConfigFirst = DeviceRegisters::Configuration;
    static constexpr int ConfigCount = DeviceRegisters::ConfigurationCount;
    static constexpr uint16_t DeviceType = ConfigFirst + DeviceRegisters::TypeWord;
    static constexpr uint16_t SerialNumber = ConfigFirst + DeviceRegisters::SerialWord;
    static constexpr uint16_t DeviceAddress = ConfigFirst + DeviceRegisters::AddressWord;

    // One word per module address 1..64; below 0x0800 means "occupied".
    static constexpr uint16_t ExistenceFirst = DeviceRegisters::ModuleExistence;
    static constexpr int ExistenceCount = DeviceRegisters::ModuleExistenceCount;
    static constexpr uint16_t FirstAbsentWord = DeviceRegisters::AbsentFrom;

    // Station records, address 0 being the central device itself.
    static constexpr int StationCount = DeviceRegisters::StationDataCount;
    static constexpr int StationKindWord = 2;
    static constexpr int StationCountsWord = 8; // words 8..12

    // Links: four registers per slot; a slot whose first word is 0xFFFF ends
    // the list. The device's link area has room for 300 slots up to the name
    // area, more than the 63 the service program reads and writes.
    static constexpr uint16_t LinkFirst = DeviceRegisters::LinkArea;
    static constexpr int LinkAreaSlots = 300;
    static constexpr int LinkCount = 4 * LinkAreaSlots;

    // Names: eight registers (sixteen characters) per module address 1..64.
    static constexpr uint16_t NameFirst = DeviceRegisters::NameBlocks;
    static constexpr int NameRegisters = 8;
    static constexpr int NameCount = 64 * NameRegisters;

    static constexpr int Modules = 64;

    static constexpr uint16_t station(int address)
    {
        return static_cast<uint16_t>(DeviceRegisters::StationRecord(address));
    }
    static constexpr uint16_t name(int address)
    {
        return static_cast<uint16_t>(NameFirst + NameRegisters * (address - 1));
    }
    static constexpr uint16_t existence(int address)
    {
        return static_cast<uint16_t>(ExistenceFirst + address - 1);
    }
};

class RegisterMap {
public:
    // All areas exist and hold zeros; the link area is erased (0xFFFF), so it
    // reads as an empty link list.
    RegisterMap();

    // The registers first .. first+count-1, or nothing when any of them does
    // not exist. A count of 0 always succeeds.
    std::optional<std::vector<uint16_t>> read(uint16_t first, int count) const;
    // Stores words from register first on, all or nothing: only the link area
    // is writable. An empty write always succeeds.
    bool write(uint16_t first, std::span<const uint16_t> words);

    bool canRead(uint16_t first, int count) const;
    bool canWrite(uint16_t first, int count) const;

    // For building a device from its image: sets a register of any area.
    // False when the register does not exist.
    bool set(uint16_t reg, uint16_t value);
    uint16_t get(uint16_t reg) const { return m_values[reg]; }
    bool exists(uint16_t reg) const { return (m_access[reg] & Readable) != 0; }

private:
    enum Access : uint8_t { None = 0, Readable = 1, Writable = 2 };
    void declare(uint16_t first, int count, uint8_t access);
    bool all(uint16_t first, int count, uint8_t access) const;

    std::vector<uint16_t> m_values;
    std::vector<uint8_t> m_access;
};

} // namespace qmxsim
