#pragma once

// The central device's register map, as the device sequences use it.

#include <algorithm>
#include <array>
#include <cstdint>

namespace DeviceRegisters {

constexpr int32_t Configuration = 1500; // 20 registers
constexpr int32_t ConfigurationCount = 20;
constexpr std::size_t TypeWord = 6;     // register 1506
constexpr std::size_t SerialWord = 8;   // register 1508
constexpr std::size_t AddressWord = 16; // register 1516

constexpr int32_t ModuleExistence = 2100; // one register per module address
constexpr int32_t ModuleExistenceCount = 64;
constexpr uint16_t AbsentFrom = 0x0800; // an existence word from here on means "no module"

constexpr int32_t NameBlocks = 32000; // four blocks of 128 registers
constexpr int32_t NameBlockCount = 128;

// Station records: 20 registers per module address from 5920 + 180 * address;
// address 0 is the central device's own record, module 1 starts at 6100.
constexpr int32_t StationRecordBase = 5920;
constexpr int32_t StationRecordStride = 180;
constexpr int32_t StationDataCount = 20;
constexpr int32_t StationRecord(int32_t address)
{
    return StationRecordBase + StationRecordStride * address;
}

constexpr int32_t LinkArea = 30800;
constexpr int32_t DeviceLinkSlots = 63; // 62 links and the end slot
constexpr int32_t LinkAreaCount = 4 * DeviceLinkSlots;
constexpr int32_t MaxWritableLinks = DeviceLinkSlots - 1;

constexpr int32_t MaxDeviceAddress = 240;
// The type word of the QMX-620; the other accepted words are QMX-240 variants.
constexpr uint16_t TypeQmx620 = 0x0900;
constexpr std::array<uint16_t, 5> AcceptedTypes{0x0300, 0x0301, 0x3300, 0x3301, TypeQmx620};

// A configuration that belongs to a central device this program can serve.
constexpr bool IsAcceptedDevice(uint16_t type, int32_t address)
{
    return address <= MaxDeviceAddress && std::ranges::find(AcceptedTypes, type) != AcceptedTypes.end();
}

} // namespace DeviceRegisters
