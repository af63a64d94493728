#pragma once

// The connection doctor: checks the usual reasons why a serial port on a
// Linux laptop does not reach the device, and says for each what it found
// and what to do, as numbered messages (one line each). Both front ends run
// it: the port dialog's "Verbindung prüfen" and `kalmoria-cli doctor`. A
// network port (tcp://, rfc2217://) gets a connect check in place of the
// device file's checks: whether its server accepts the session, or why not.

#include "diag/MessageNumbers.h"
#include "diag/Notice.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include <sys/types.h>

// Who runs the checks.
struct DoctorUser {
    uid_t uid = 0;
    gid_t primaryGroup = 0;
    std::string name;
    std::vector<gid_t> sessionGroups; // the groups this login session has
};

// Where the doctor looks. The running system's places and this process's
// user, unless a test prepares its own.
struct DoctorSystem {
    std::string groupFile = "/etc/group";
    std::string procRoot = "/proc";
    std::string sysRoot = "/sys";
    std::string udevDataRoot = "/run/udev/data";
    std::string kernelLog = "/dev/kmsg";
    std::optional<DoctorUser> user;
};

// What the doctor found at one port.
struct PortCheckup {
    int32_t port = 0; // 0: a device file no COM number maps to
    std::string path;
    std::vector<Notice> findings; // in the order checked; errors and warnings first, then the answer
    bool answered = false;        // a central device of ours answered
};

// The device file, its group, other programs holding it, brltty, ModemManager
// and the FTDI latency timer: the checks that need no transfer. Empty when
// nothing stands in the way.
std::vector<Notice> CheckPortSetup(const std::string& path, const DoctorSystem& system = {});

// Every check for the given ports, each a COM number (0: none maps to it)
// and its device file or network address (empty: the port table gives the
// number none); the transfers to all of them at once, at 9600 8N1.
// Writes the probes' log lines in port order. Calls `waiting` now and then
// while the transfers run.
std::vector<PortCheckup> CheckPorts(const std::vector<std::pair<int32_t, std::string>>& ports,
                                    const DoctorSystem& system = {}, const std::function<void()>& waiting = [] {});
