#pragma once

#include "model/Station.h"
#include "tests/common/StationBuilder.h"

#include <string>

// A present module at `address` (1..64) of `kind`, named `name`.
inline void addModule(Station& station, int32_t address, int kind, ModuleCounts counts, const std::string& name)
{
    ModuleRecord& module = station.ModuleTable[static_cast<std::size_t>(address)];
    module = moduleOf(kind, counts);
    module.name = name;
    module.typeText = "T" + std::to_string(kind);
}

// Makes `station` a device at address 10 with one module of every kind, as
// a read leaves them. Source list: 0 central, 1 KRA at 2, 2 SK40 at 3, 3 XTQ
// at 4, 4 VLN at 5, 5 PDX at 8, 6 LIO at 12; the target list lacks the
// central device.
inline void useModulesOfEveryKind(Station& station)
{
    station = StationBuilder()
                  .Address(10)
                  .Module(2, 0, {32, 12, 16, 2, 24, 8}, "Pumpwerk Nord", "T0")
                  .Module(3, 1, {4, 2, 4, 3, 2, 0}, "Hochbeh\xE4lter", "T1")
                  .Module(4, 2, {0, 0, 0, 5, 0, 0}, "Modul-Adr.5", "T2")
                  .Module(5, 4, {64, 16, 16, 2, 32, 30}, "Kl\xE4ranlage S\xFC" "d", "T4")
                  .Module(8, 5, {200, 4, 8, 2, 44, 4}, "Brunnen", "T5")
                  .Module(12, 3, {16, 2, 4, 0, 16, 2}, "local IO", "T3")
                  .Read()
                  .Build();
}

// The item of a module in the source and the target module list.
inline int sourceItem(const Station& station, int32_t address)
{
    return station.ModuleListPosition(address);
}
inline int targetItem(const Station& station, int32_t address)
{
    return station.ModuleListPosition(address) - 1;
}
