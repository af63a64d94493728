#include "model/ModuleModel.h"

#include "model/LinkModel.h"

#include <algorithm>

std::array<ModuleRecord, kModuleSlots> ModuleTable;
std::array<int32_t, kModuleListSize> ModuleList{};
int32_t ModulAnzahl = 0;
int32_t DataState = 99;

bool IsModuleAddress(int32_t address)
{
    return address >= 0 && address <= kMaxModuleAddress;
}

void ResetModel()
{
    ModulAnzahl = 0;
    AnzBefehle = 0;
    ModuleList.fill(0);
    ModuleTable.fill(ModuleRecord{});
}

int ModuleListPosition(int32_t address)
{
    const int32_t end = std::clamp(address, 0, kModuleSlots);
    return static_cast<int>(std::count_if(ModuleTable.begin(), ModuleTable.begin() + end,
                                           [](const ModuleRecord& m) { return m.present != 0; }));
}

bool AppendToModuleList(int32_t address)
{
    // Position 0 always holds the central device, so entries go behind the count.
    const int32_t position = ModulAnzahl + 1;
    if (position >= kModuleListSize || !IsModuleAddress(address))
        return false;
    ModuleList[static_cast<std::size_t>(position)] = address;
    ++ModulAnzahl;
    return true;
}
