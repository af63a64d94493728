#include "transports/PortAccess.h"

#include <cerrno>
#include <vector>

#include <grp.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// The name of group `gid`, or its number when the system has no name for it.
std::string groupName(gid_t gid)
{
    std::vector<char> buffer(16384);
    group entry{};
    group* found = nullptr;
    while (::getgrgid_r(gid, &entry, buffer.data(), buffer.size(), &found) == ERANGE && buffer.size() < (1u << 20))
        buffer.resize(buffer.size() * 2);
    return found != nullptr ? std::string(found->gr_name) : std::to_string(gid);
}

} // namespace

PortOpenProblem DiagnoseHeldLine(const std::string& path, const std::string& reason)
{
    PortOpenProblem problem{PortOpenProblem::Cause::InUse, path, {}, reason, {}, {}};
    if (const std::vector<PortHolder> holders = FindPortHolders(path); !holders.empty())
        problem.holder = holders.front();
    return problem;
}

PortOpenProblem DiagnoseFailedOpen(const std::string& path, QSerialPort::SerialPortError error,
                                   const std::string& reason)
{
    PortOpenProblem problem{PortOpenProblem::Cause::Unknown, path, {}, reason, {}, {}};
    // Asked first, because a second open of a line we may use fails with the
    // same permission error (the lock file, or the line's exclusive mode).
    if (::access(path.c_str(), R_OK | W_OK) != 0) {
        struct stat info {};
        // Joining the group helps only where the group may read and write,
        // and nobody should join root's group for a serial port.
        constexpr mode_t groupReadWrite = S_IRGRP | S_IWGRP;
        if (errno == EACCES && ::stat(path.c_str(), &info) == 0 && (info.st_mode & groupReadWrite) == groupReadWrite
            && info.st_gid != 0) {
            problem.cause = PortOpenProblem::Cause::AccessDenied;
            problem.group = groupName(info.st_gid);
        }
        return problem;
    }
    if (error == QSerialPort::PermissionError)
        return DiagnoseHeldLine(path, reason);
    return problem;
}
