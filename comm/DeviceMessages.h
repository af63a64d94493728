#pragma once

#include <cstdint>
#include <string>
#include <vector>

struct PortOpenProblem;

// Message numbers of the device sequences that the language files add to the
// classic ones: the device's link list had no end mark; a link that does not
// fit the device's form; more links than the device's link area holds.
constexpr int kMessageLinkListNotTerminated = 23;
constexpr int kMessageLinkNotWritable = 24;
constexpr int kMessageTooManyLinks = 25;
// A port that would not open, when the system tells why: the device file is
// locked away from this user; another program holds the line.
constexpr int kMessagePortAccessDenied = 31;
constexpr int kMessagePortInUse = 32;

// Shows numbered message n with an OK button. Without arguments of its own a
// message gets " - " as its first argument; `appended` follows the text
// directly (a result code or a device type).
void ShowDeviceMessage(int n, int kind, const std::string& appended = {});
void ShowDeviceMessage(int n, int kind, const std::vector<std::string>& arguments);

// Says why COM `port` would not open when the cause is one the user can act
// on (message 31 or 32, naming the device file) and returns true; otherwise
// shows nothing and returns false.
bool ShowPortOpenProblem(int32_t port, const PortOpenProblem& problem);

// While the data are incomplete (DataState above 0: nothing read yet, or the
// last read failed) saving and writing links are refused: logs that (debug
// bit 32), shows message 15 and gives true.
bool RefuseWhileDataIncomplete();
