#pragma once

#include <string>
#include <vector>

// Message numbers of the device sequences that the language files add to the
// classic ones: the device's link list had no end mark; a link set that the
// device cannot hold.
constexpr int kMessageLinkListNotTerminated = 23;
constexpr int kMessageLinkNotWritable = 24;

// Shows numbered message n with an OK button. Without arguments of its own a
// message gets " - " as its first argument; `appended` follows the text
// directly (a result code or a device type).
void ShowDeviceMessage(int n, int kind, const std::string& appended = {});
void ShowDeviceMessage(int n, int kind, const std::vector<std::string>& arguments);
