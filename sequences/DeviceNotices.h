#pragma once

// The numbered messages the device sequences have for the user. They are
// handed back in each sequence's result; the front end shows them once the
// port is closed again.

#include "diag/Notice.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

class Line;
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
// The checked write: written and read back as written; read back otherwise;
// not read back; the device is another station (lacking modules the links
// use, or having them all); it lacks modules the links use; the snapshot of
// its links could not be saved.
constexpr int kMessageWrittenAndChecked = 60; // %s1 links, %s2 active, %s3 inactive, %s4 snapshot
constexpr int kMessageWriteMismatch = 61;     // %s1 link, %s2 read back, %s3 written, %s4 snapshot
constexpr int kMessageWriteNotReadBack = 62;  // %s1 transfer result, %s2 snapshot
constexpr int kMessageOtherStation = 63;      // %s1 the links' station, %s2 the device, %s3 missing modules
constexpr int kMessageModulesMissing = 64;    // %s1 the device, %s2 missing modules
constexpr int kMessageSnapshotNotSaved = 65;  // %s1 file, %s2 reason
constexpr int kMessageOtherStationAllModules = 99; // %s1 the links' station, %s2 the device
// The checked write stopped with nothing sent: after the port was opened
// again another station answered; the device did not answer before the
// write. The write frame went out but no clean answer came back.
constexpr int kMessageOtherStationAfterReopen = 124; // %s1 the station checked, %s2 the one answering now
constexpr int kMessageNothingSent = 125;             // %s1 transfer result
constexpr int kMessageWriteOutcomeUnknown = 126;     // %s1 transfer result, %s2 snapshot
// The classic messages of the device sequences: the write stopped at a
// transfer that failed; the port would not open (with the result code); no
// central device of ours answered (with its type word); the read stopped at
// a transfer that failed; the links were written.
constexpr int kMessageLinksNotTransferred = 5;
constexpr int kMessagePortWillNotOpen = 10;
constexpr int kMessageNoDeviceOfOurs = 11;
constexpr int kMessageReadFailed = 13;
constexpr int kMessageLinksWritten = 20;
// A port that would not open, named as the front end names it ("COM3
// (/dev/ttyUSB0)", or the device file alone), with the system's reason; one
// that another program holds, with that program's name and process id.
constexpr int kMessagePortNotOpenBecause = 70; // %s1 port, %s2 reason
constexpr int kMessagePortHeldBy = 71;         // %s1 port, %s2 program, %s3 process id
// A network port (PortAddress.h): its serial device server was not reached
// or refused the session; the connection went away during a transfer; its
// address cannot be used.
constexpr int kMessageNetworkPortNotOpen = 100; // %s1 port, %s2 server, %s3 reason
constexpr int kMessageConnectionLost = 101;     // %s1 server, %s2 reason
constexpr int kMessageBadPortAddress = 102;     // %s1 port, %s2 what is wrong

// Numbered message n with its arguments. Without arguments of its own a
// message gets " - " as its first argument.
Notice DeviceNotice(int n, Notice::Severity severity);
Notice DeviceNotice(int n, Notice::Severity severity, std::vector<std::string> arguments);
// Message n without arguments of its own, followed directly by `appended`
// (a result code or a device type).
Notice DeviceNoticeFollowedBy(int n, Notice::Severity severity, const std::string& appended);

// Why COM `port` would not open, when the cause is one the user can act on
// (message 31, 32 or 71, naming the device file; 100 or 102 for a network
// port). Port 0: a device file or address that no COM number maps to.
std::optional<Notice> PortOpenNotice(int32_t port, const PortOpenProblem& problem);
// Why it would not open, whatever the cause: as PortOpenNotice, else
// message 70 with the system's reason.
Notice PortOpenFailureNotice(int32_t port, const PortOpenProblem& problem);
// "COM3 (/dev/ttyUSB0)"; the device file alone without a COM number (0),
// the number alone without a device file.
std::string PortName(int32_t port, const std::string& path);

// Message 101 at the end of `notices` when the connection of `line` went
// away while its port was open (a network port whose server closed it),
// with the server and the system's reason: once per sequence, and the last
// notice, since it tells what stopped the sequence.
void AddConnectionLost(std::vector<Notice>& notices, const Line& line);

// While the data are incomplete (DataState above 0: nothing read yet, or the
// last read failed) saving and writing links are refused: logs that (debug
// bit 32) and gives message 15.
std::optional<Notice> RefusalWhileDataIncomplete();
