#pragma once

// The modules of the connected central device: one record per module address
// (0 = the central device itself) and the display list of those present.

#include <array>
#include <cstdint>
#include <string>

constexpr int kMaxModuleAddress = 64;
constexpr int kModuleSlots = kMaxModuleAddress + 1;
constexpr std::size_t kMaxModuleTextLength = 40;
// The kind code of the central device's own record (address 0).
constexpr int kCentralDeviceKind = 6;

struct ModuleRecord {
    uint8_t present = 0;
    std::string name;     // at most 40 characters
    std::string typeText; // at most 40 characters
    int32_t iModulKennNr = 0;
    int32_t srcBitCount = 0;
    int32_t dstBitCount = 0;
    int32_t srcRegCount = 0;
    int32_t dstRegCount = 0;
    int32_t src2RegCount = 0;
    int32_t src4Count = 0;

    bool operator==(const ModuleRecord&) const = default;
};

// Module addresses in display order: the central device, the present modules
// in ascending order, and the central device once more after a complete read.
// With all 64 addresses present that trailing entry is the 66th, so the list
// has room for it.
constexpr int kModuleListSize = kModuleSlots + 1;

// True for 0..64: the only addresses that may index ModuleTable.
bool IsModuleAddress(int32_t address);

// A station's modules, one part of its Station.
struct ModuleModel {
    std::array<ModuleRecord, kModuleSlots> ModuleTable{};
    std::array<int32_t, kModuleListSize> ModuleList{};
    int32_t ModulAnzahl = 0;
    // 99 until the first read or file load, 0 when the data are complete, 1
    // after a communication failure. Writing and saving are refused while it
    // is above 0.
    int32_t DataState = 99;

    // The record of a module address; an address outside 0..64 gives an empty one.
    const ModuleRecord& Module(int32_t address) const;
    // Empties the modules and the display list.
    void ClearModules();
    // ModuleList position of a present address: the present records below it.
    int ModuleListPosition(int32_t address) const;
    // Appends an address to the display list; false when the list is full.
    bool AppendToModuleList(int32_t address);
};
