#include "model/ModuleOverview.h"

#include "diag/TextHelpers.h"
#include "model/ModuleNumbering.h"
#include "model/Station.h"

#include <algorithm>

std::vector<OverviewRow> ModuleOverviewRows(const Station& station)
{
    const int shown = std::clamp(station.ModulAnzahl, 0, kOverviewDataRows);
    std::vector<OverviewRow> rows(static_cast<std::size_t>(shown));
    for (int p = 0; p < shown; ++p) {
        const int32_t address = station.ModuleList[static_cast<std::size_t>(p)];
        if (!IsModuleAddress(address))
            continue;
        const ModuleRecord& module = station.ModuleTable[static_cast<std::size_t>(address)];
        rows[static_cast<std::size_t>(p)] = {
            IntToText(OverviewAddress(station, address)),
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

std::string CutOverviewCell(std::string_view cell, std::size_t longest)
{
    if (cell.size() <= longest)
        return std::string(cell);
    if (longest <= kCutMark.size())
        return std::string(kCutMark.substr(0, longest));
    return std::string(cell.substr(0, longest - kCutMark.size())).append(kCutMark);
}
