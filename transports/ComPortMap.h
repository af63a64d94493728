#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

// The device path behind COM port number `port` (1 = COM1).
//
// When Kalmoria.ini has a section "Schnittstellen", its keys "COM1".."COM16"
// name the paths, and a number without a key has no path. Otherwise COM n is
// the n-th serial port the system lists, sorted by path. Empty when the
// number has no port.
std::string comPortPath(int32_t port);

// Replaces the port table for the rest of this process, before the settings
// file and the system's list: COM n is paths[n - 1], and a number without an
// entry (or with an empty one) has no port. An empty list ends the override.
// For a front end that is told the device path itself; the user's settings
// file stays as it is.
void OverrideComPorts(std::vector<std::string> paths);

// The highest COM number the program offers.
inline constexpr int32_t MaxComPort = 16;

// The paths of COM1 .. COM16 by the same rules, read in one go.
std::array<std::string, MaxComPort> comPortPaths();

// Where the port table comes from, to tell why a COM number has no path:
// the settings file's section "Schnittstellen", or else the serial ports the
// system lists (how many it does). The override of OverrideComPorts aside.
struct ComPortSource {
    bool fromSettings = false;
    std::size_t systemPorts = 0; // without the section: how many the system lists
};
ComPortSource comPortSource();
