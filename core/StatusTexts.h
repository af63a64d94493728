#pragma once

// The words of the window's status bar, which the command line's `info`
// uses as well: one place decides how a station is named in a panel.

#include <array>
#include <cstdint>
#include <string>

struct Station;

// The words in front of the station's address and serial number, which a
// front end may take from its language; the German ones by default.
struct StatusWords {
    std::string address = "QMX-Adr.:";
    std::string serial = "SerNr.:";
};

std::string AddressStatusText(int32_t address, const StatusWords& words = {}); // "QMX-Adr.: 20"
std::string TypeWordStatusText(uint16_t type);                                 // "QMX-Type: 3301"
std::string SerialStatusText(uint16_t serial, const StatusWords& words = {});  // "SerNr.: 815"

constexpr int kStatusPanelCount = 8;
// The panel that shows what the window is doing, empty while it is idle.
constexpr int kFreePanel = 5;
// The eight panels for the model's values: address, device type (blank
// before one is known, "QMX-620" for that model), serial number, data state,
// port, the progress panel (empty), modules and links.
std::array<std::string, kStatusPanelCount> StatusPanelTexts(const Station& station, const StatusWords& words = {});
