#include "model/ModuleOverview.h"

#include "diag/TextHelpers.h"
#include "model/DeviceValues.h"
#include "model/ModuleModel.h"

#include <algorithm>

std::vector<OverviewRow> ModuleOverviewRows()
{
    const int shown = std::clamp(ModulAnzahl, 0, kOverviewDataRows);
    std::vector<OverviewRow> rows(static_cast<std::size_t>(shown));
    for (int p = 0; p < shown; ++p) {
        const int32_t address = ModuleList[static_cast<std::size_t>(p)];
        if (!IsModuleAddress(address))
            continue;
        const ModuleRecord& module = ModuleTable[static_cast<std::size_t>(address)];
        // The last slot is listed under the device's own address.
        rows[static_cast<std::size_t>(p)] = {
            IntToText(address < kMaxModuleAddress ? DeviceAddress + address : DeviceAddress),
            module.typeText,
            module.name,
            IntToText(module.srcBitCount),
            IntToText(module.srcRegCount),
            IntToText(module.dstBitCount),
            IntToText(module.dstRegCount),
            IntToText(module.src2RegCount),
        };
    }
    return rows;
}
