#pragma once

#include <array>
#include <cstdint>
#include <string>

// The device path behind COM port number `port` (1 = COM1).
//
// When Kalmoria.ini has a section "Schnittstellen", its keys "COM1".."COM16"
// name the paths, and a number without a key has no path. Otherwise COM n is
// the n-th serial port the system lists, sorted by path. Empty when the
// number has no port.
std::string comPortPath(int32_t port);

// The highest COM number the program offers.
inline constexpr int32_t MaxComPort = 16;

// The paths of COM1 .. COM16 by the same rules, read in one go.
std::array<std::string, MaxComPort> comPortPaths();
