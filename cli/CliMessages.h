#pragma once

// The numbered messages of the command-line program, in the language files
// beside the device sequences' own. A link file that cannot be read or
// written is told with the link file's own messages (model/LinkFile.h).

#include <cstdint>
#include <string>
#include <vector>

constexpr int kMessageNoDeviceFound = 40;
constexpr int kMessageConfirmWrite = 41;    // %s1 links, %s2 file, %s3 port, %s4 links on the device
constexpr int kMessageNoTerminalToAsk = 42;
constexpr int kMessageWriteCancelled = 43;
constexpr int kMessageLinksSaved = 46;      // %s1 links, %s2 file
constexpr int kMessageNoDifferences = 47;   // %s1 links
constexpr int kMessageDifferences = 48;     // %s1 links
constexpr int kMessagePortNotOpen = 49;     // %s1 COM number, %s2 device path
constexpr int kMessageOtherFileExists = 57; // %s1 the file -o would replace under another name
constexpr int kMessageGapRefused = 58;      // %s1 file, %s2 links before the gap, %s3 first link left out
constexpr int kMessageInterrupted = 59;     // %s1 what the verify found
constexpr int kMessageNoSnapshot = 66;      // %s1 serial number, %s2 folder
constexpr int kMessageStationRefused = 67;
constexpr int kMessageAnswerLetters = 68;   // "j/n": the letters of yes and no
constexpr int kMessageAddressTooHigh = 89;  // %s1 port, %s2 the device's address
constexpr int kMessageLinkNoun = 69;        // "Verknüpfung|Verknüpfungen": one link, several
// backup
constexpr int kMessageStationListUnreadable = 110; // %s1 file, %s2 reason
constexpr int kMessageStationListNoPort = 111;     // %s1 file, %s2 line number, %s3 the line
constexpr int kMessageStationListEmpty = 112;      // %s1 file
constexpr int kMessageBackupFolderNotWritable = 113; // %s1 folder, %s2 reason
constexpr int kMessageStationProcessFailed = 114;  // %s1 what became of the process
constexpr int kMessageStationInterrupted = 115;
constexpr int kMessageBackupDone = 116;            // %s1 stations saved, %s2 stations, %s3 folder
constexpr int kMessageBackupInterrupted = 117;     // %s1 stations saved, %s2 stations, %s3 folder
constexpr int kMessageMetricsNotWritten = 118;     // %s1 file, %s2 reason
constexpr int kMessageStationUnchanged = 119;      // %s1 links, %s2 the previous backup
constexpr int kMessageCaptureNotWritten = 123;     // %s1 file, %s2 reason

// Message n with its arguments; without any it gets the " - " every message
// without arguments of its own gets.
std::string CliMessage(int n, const std::vector<std::string>& arguments = {});

// A number of links with the word in the right number: "1 Verknüpfung", "3 Verknüpfungen".
std::string LinkCountText(int64_t count);
