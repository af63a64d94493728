#pragma once

// The texts of the traffic view, from the language file's section
// "F_Datenverkehr": text n, or `german` where the file lacks it.

#include <QString>

QString TrafficText(int n, const char* german);

namespace TrafficTextNumber {
constexpr int Title = 1;
constexpr int Time = 2;
constexpr int Port = 3;
constexpr int Direction = 4;
constexpr int Length = 5;
constexpr int Summary = 6;
constexpr int Result = 7;
constexpr int ToDevice = 8;
constexpr int FromDevice = 9;
constexpr int Pause = 10;
constexpr int Clear = 11;
constexpr int CopyHex = 12;
constexpr int Save = 13;
constexpr int SaveFilter = 14;
} // namespace TrafficTextNumber
