#pragma once

#include <string>
#include <vector>

// Message numbers of the device sequences that the language files add to the
// classic ones: the device's link list had no end mark; a link that does not
// fit the device's form; more links than the device's link area holds.
constexpr int kMessageLinkListNotTerminated = 23;
constexpr int kMessageLinkNotWritable = 24;
constexpr int kMessageTooManyLinks = 25;

// Shows numbered message n with an OK button. Without arguments of its own a
// message gets " - " as its first argument; `appended` follows the text
// directly (a result code or a device type).
void ShowDeviceMessage(int n, int kind, const std::string& appended = {});
void ShowDeviceMessage(int n, int kind, const std::vector<std::string>& arguments);

// While the data are incomplete (DataState above 0: nothing read yet, or the
// last read failed) saving and writing links are refused: logs that (debug
// bit 32), shows message 15 and gives true.
bool RefuseWhileDataIncomplete();
