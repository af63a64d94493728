#pragma once

// Decoding of what the central device reports about its modules: the station
// data words (kind code and counts) and the name blocks.

#include "model/ModuleModel.h"

#include <array>
#include <cstdint>
#include <span>
#include <string>

constexpr std::size_t kStationWords = 21; // a station read fills words 0..19
constexpr std::size_t kNameBlockWords = 128;

using StationWords = std::array<uint16_t, kStationWords>;
using NameBlockWords = std::array<uint16_t, kNameBlockWords>;

// First register of the station data of module address a (0 = the central device).
int32_t StationDataRegister(int32_t address);

// Fills a module record by its kind code (word 2). Kind codes above 5 mark
// the address as not present.
void ApplyStationData(ModuleRecord& module, const StationWords& words);
// The central device's own record.
void ApplyCentralDeviceRecord(ModuleRecord& module, uint16_t deviceType);

// Name of the module with 0-based index i (0..63) from the loaded name block:
// eight registers, two characters each, high byte first. A register with a
// zero high byte makes the name start over as "Modul-Adresse:".
std::string DecodeModuleName(const NameBlockWords& nameBlock, int index);
// The name shown for module address a: the decoded name, or "Modul-Adr." and
// a + 1 when the device holds no usable name.
std::string ModuleDisplayName(const std::string& decoded, int32_t address);
