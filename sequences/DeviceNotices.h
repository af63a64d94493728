#pragma once

// The numbered messages the device sequences have for the user. They are
// handed back in each sequence's result; the front end shows them once the
// port is closed again.

#include "diag/MessageNumbers.h"
#include "diag/Notice.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

class Line;
struct ModuleModel;
struct PortOpenProblem;

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

// Message 101 when the connection of `line` went away while its port was
// open (a network port whose server closed it), with the server and the
// system's reason; message 151 when the line's deadline has passed (the
// device gave no good reply for as long as the caller would wait). Each once
// per sequence, as the cause of the last notice (the failure it brought
// about), so that one box says both; a notice of its own when there is none.
void AddConnectionLost(std::vector<Notice>& notices, const Line& line);

// While the data are incomplete (DataState above 0: nothing read yet, or the
// last read failed) saving and writing links are refused: logs that (debug
// bit 32) and gives message 15.
std::optional<Notice> RefusalWhileDataIncomplete(const ModuleModel& modules);
