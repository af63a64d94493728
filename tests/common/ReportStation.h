#pragma once

// A station as a device read leaves it, for reports: a QMX-620 with serial
// number 4242 at address 30, modules at 1..8 (names beyond ASCII, one of the
// full 40 characters), and `links` links among them whose fields each tell
// the link apart: link i writes register 350 + i / 8 of module 1 + i % 8, a
// register no other link writes, so the link check finds nothing.

#include "core/Session.h"
#include "model/DeviceValues.h"
#include "model/LinkModel.h"
#include "model/ModuleModel.h"
#include "tests/common/TableLinks.h"

#include <array>
#include <string>
#include <vector>

inline const std::array<std::string, 8> kReportModuleNames{
    "Hochbeh\xE4lter", "Pumpwerk S\xFC" "d", "Br\xFCnnen am Lindenhang", "Kl\xE4ranlage Nord",
    "Regen\xFC" "berlaufbecken Stra\xDF" "e der Einheit", "Druckerh\xF6hung", "Wasserwerk", "Schieberschacht"};

inline std::vector<LinkRecord> reportLinks(int count)
{
    std::vector<LinkFields> links;
    for (int i = 1; i <= count; ++i)
        links.push_back({1 + (i + 3) % 8, 150 + i % 40, 0, 16, 1 + i % 8, 350 + i / 8, 0, i % 5 == 0 ? 1 : 0});
    return linkRecords(links);
}

inline void useReportStation(int links)
{
    ResetSession();
    ModuleTable[0] = {1, "Zentrale", "QMX-620", 6};
    AppendToModuleList(0);
    for (int address = 1; address <= 8; ++address) {
        ModuleRecord& module = ModuleTable[static_cast<std::size_t>(address)];
        module = {1, kReportModuleNames[static_cast<std::size_t>(address - 1)], "PDX-44", 5, 16, 16, 40, 40, 0, 0};
        AppendToModuleList(address);
    }
    AppendToModuleList(0);
    DataState = 0;
    DeviceType = 0x0900;
    SerialNumber = 4242;
    DeviceAddress = 30;
    OverviewOrigin = LinkTableOrigin = StationIdentity{4242, 30, 0x0900};
    ReplaceLinks(reportLinks(links));
}
