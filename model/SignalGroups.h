#pragma once

// Signal groups per module kind, offered by the link editor: read from the
// signal-group file "QMXFO.ini" in the working directory, or the one beside
// the program when the working directory has none.

#include <array>
#include <cstdint>
#include <string>

constexpr int kSignalGroupKinds = 5;   // kind codes 0..4
constexpr int kSignalGroupEntries = 5; // entries per kind

struct SignalGroup {
    int32_t firstRegister = 0;
    int32_t registerCount = 0;
    std::string name;
};

// Section of the signal-group file for a kind code: "KRA", "SK40", "XTQ", "LIO", "QMX".
const char* SignalGroupSection(int kind);
// "QMXFO.ini" when the working directory holds one, else the program
// folder's: a program started from the desktop menu runs in the user's home,
// and its link editor still needs the shipped groups.
std::string SignalGroupFile();
// The signal groups a station's link editor offers, one part of its Station.
struct SignalGroupSet {
    // Entries are numbered from 1, as in the file; index 0 stays unused.
    std::array<std::array<SignalGroup, kSignalGroupEntries + 1>, kSignalGroupKinds> SignalGroupTable{};
    std::array<int32_t, kSignalGroupKinds> SignalGroupCount{};

    // Reads the signal-group file (a missing file reads as empty). Each kind
    // takes its entries up to the first one without registers, at most five.
    void LoadSignalGroups(const std::string& fileName = SignalGroupFile());
};
