#pragma once

// The numbered messages of the command-line program, in the language files
// beside the device sequences' own. A link file that cannot be read or
// written is told with the link file's own messages (model/LinkFile.h).

#include <string>
#include <vector>

constexpr int kMessageNoDeviceFound = 40;
constexpr int kMessageConfirmWrite = 41;    // %s1 links, %s2 file, %s3 port, %s4 links on the device
constexpr int kMessageNoTerminalToAsk = 42;
constexpr int kMessageWriteCancelled = 43;
constexpr int kMessageVerifyMismatch = 44;  // %s1 link, %s2 words read back, %s3 words written
constexpr int kMessageVerified = 45;        // %s1 links
constexpr int kMessageLinksSaved = 46;      // %s1 links, %s2 file
constexpr int kMessageNoDifferences = 47;   // %s1 links
constexpr int kMessageDifferences = 48;     // %s1 links
constexpr int kMessagePortNotOpen = 49;     // %s1 COM number, %s2 device path
constexpr int kMessageVerifyUnread = 50;    // %s1 what the transfer said
constexpr int kMessageOtherFileExists = 57; // %s1 the file -o would replace under another name
constexpr int kMessageGapRefused = 58;      // %s1 file, %s2 links before the gap, %s3 first link left out
constexpr int kMessageInterrupted = 59;     // %s1 what the verify found

// Message n with its arguments; without any it gets the " - " every message
// without arguments of its own gets.
std::string CliMessage(int n, const std::vector<std::string>& arguments = {});
