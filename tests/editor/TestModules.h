#pragma once

#include "model/Station.h"

#include <string>
#include <vector>

// The six counts of a module record, in the order the overview lists them.
struct ModuleCounts {
    int srcBits = 0;
    int srcRegs = 0;
    int src2Regs = 0;
    int src4 = 0;
    int dstBits = 0;
    int dstRegs = 0;
};

// A present module of `kind` with the given counts.
inline ModuleRecord moduleOf(int kind, ModuleCounts counts)
{
    ModuleRecord module;
    module.present = 1;
    module.iModulKennNr = kind;
    module.srcBitCount = counts.srcBits;
    module.srcRegCount = counts.srcRegs;
    module.src2RegCount = counts.src2Regs;
    module.src4Count = counts.src4;
    module.dstBitCount = counts.dstBits;
    module.dstRegCount = counts.dstRegs;
    return module;
}

// A present module at `address` (1..64) of `kind`, named `name`.
inline void addModule(Station& station, int32_t address, int kind, ModuleCounts counts, const std::string& name)
{
    ModuleRecord& module = station.ModuleTable[static_cast<std::size_t>(address)];
    module = moduleOf(kind, counts);
    module.name = name;
    module.typeText = "T" + std::to_string(kind);
}

// The central device at position 0 and the given modules behind it, as a read leaves them.
inline void useModules(Station& station, const std::vector<int32_t>& addresses)
{
    ModuleRecord& central = station.ModuleTable[0];
    central.present = 1;
    central.iModulKennNr = kCentralDeviceKind;
    central.name = "Zentrale";
    central.typeText = "QMX-240.100";
    central.src4Count = 1;
    for (const int32_t address : addresses)
        station.AppendToModuleList(address);
    station.AppendToModuleList(0);
}

// One module of every kind, with the device at address 10. Source list: 0
// central, 1 KRA at 2, 2 SK40 at 3, 3 XTQ at 4, 4 VLN at 5, 5 PDX at 8, 6
// LIO at 12; the target list lacks the central device.
inline void useModulesOfEveryKind(Station& station)
{
    station.DeviceAddress = 10;
    addModule(station, 2, 0, {32, 12, 16, 2, 24, 8}, "Pumpwerk Nord");
    addModule(station, 3, 1, {4, 2, 4, 3, 2, 0}, "Hochbeh\xE4lter");
    addModule(station, 4, 2, {0, 0, 0, 5, 0, 0}, "Modul-Adr.5");
    addModule(station, 5, 4, {64, 16, 16, 2, 32, 30}, "Kl\xE4ranlage S\xFC" "d");
    addModule(station, 8, 5, {200, 4, 8, 2, 44, 4}, "Brunnen");
    addModule(station, 12, 3, {16, 2, 4, 0, 16, 2}, "local IO");
    useModules(station, {2, 3, 4, 5, 8, 12});
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
