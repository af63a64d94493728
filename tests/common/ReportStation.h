#pragma once

// A station as a device read leaves it, for reports: a QMX-620 with serial
// number 4242 at address 30, modules at 1..8 (names beyond ASCII, one of the
// full 40 characters), and `links` links among them whose fields each tell
// the link apart: link i writes register 350 + i / 8 of module 1 + i % 8, a
// register no other link writes, so the link check finds nothing.

#include "model/Station.h"
#include "tests/common/StationBuilder.h"
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

inline Station reportStation(int links)
{
    StationBuilder station;
    station.Type(0x0900).Serial(4242).Address(30);
    for (int address = 1; address <= 8; ++address)
        station.Module(address, 5, {.srcBits = 16, .srcRegs = 40, .dstBits = 16, .dstRegs = 40},
                       kReportModuleNames[static_cast<std::size_t>(address - 1)], "PDX-44");
    return station.Links(linkFields(reportLinks(links))).Read().Build();
}
