#pragma once

// How the device and its modules are shown on the console: the words of the
// main window's status bar and overview grid.

#include "cli/TextTable.h"
#include "core/StationOverview.h"
#include "model/LinkFile.h"
#include "model/ModuleOverview.h"

#include <QJsonObject>

#include <cstdint>
#include <string>

// "QMX-240.100" or "QMX-620", the central device's model text.
std::string DeviceModelText(uint16_t type);
// "QMX-Type: 3301", "SerNr.: 815", "QMX-Adr.: 20" as the status bar shows them.
TextRow DeviceStatusCells(uint16_t type, uint16_t serialNumber, int32_t address);
QJsonObject DeviceJson(uint16_t type, uint16_t serialNumber, int32_t address);

// The heading and the rows of the overview for the console.
std::vector<TextRow> OverviewTable(const Station& station);
// One module of the overview: its cells under the names of the module record.
struct Station;
QJsonObject OverviewRowJson(const OverviewRow& row);

// A link's module for a person, in the link table's words: "Mod. 3 (Adr. 12,
// Pumpwerk Nord)" (UTF-8); a module the station lacks by its number alone.
std::string ModuleText(const Station& station, int32_t address);
// The same as {"module": 3, "address": 12, "name": "Pumpwerk Nord"}; address
// and name null for a module the station lacks.
QJsonObject ModuleJson(const Station& station, int32_t address);
