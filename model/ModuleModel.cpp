#include "model/ModuleModel.h"

#include <algorithm>

bool IsModuleAddress(int32_t address)
{
    return address >= 0 && address <= kMaxModuleAddress;
}

const ModuleRecord& ModuleModel::Module(int32_t address) const
{
    static const ModuleRecord none;
    return IsModuleAddress(address) ? ModuleTable[static_cast<std::size_t>(address)] : none;
}

void ModuleModel::ClearModules()
{
    ModulAnzahl = 0;
    ModuleList.fill(0);
    ModuleTable.fill(ModuleRecord{});
}

int ModuleModel::ModuleListPosition(int32_t address) const
{
    const int32_t end = std::clamp(address, 0, kModuleSlots);
    return static_cast<int>(std::count_if(ModuleTable.begin(), ModuleTable.begin() + end,
                                           [](const ModuleRecord& m) { return m.present != 0; }));
}

bool ModuleModel::AppendToModuleList(int32_t address)
{
    // Position 0 always holds the central device, so entries go behind the count.
    const int32_t position = ModulAnzahl + 1;
    if (position >= kModuleListSize || !IsModuleAddress(address))
        return false;
    ModuleList[static_cast<std::size_t>(position)] = address;
    ++ModulAnzahl;
    return true;
}
