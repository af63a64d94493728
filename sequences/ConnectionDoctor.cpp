#include "sequences/ConnectionDoctor.h"
#include "transports/LineFactory.h"

#include "sequences/ConcurrentProbes.h"
#include "sequences/DeviceNotices.h"
#include "transports/PortAddress.h"
#include "transports/PortHolders.h"
#include "transports/SerialAdapter.h"
#include "protocol/Tvep.h"
#include "diag/AnsiText.h"
#include "diag/ErrLog.h"
#include "diag/TextHelpers.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>

#include <fcntl.h>
#include <grp.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

Notice problem(int n, std::vector<std::string> arguments)
{
    return DeviceNotice(n, Notice::Severity::Error, std::move(arguments));
}

Notice warning(int n, std::vector<std::string> arguments)
{
    return DeviceNotice(n, Notice::Severity::Warning, std::move(arguments));
}

DoctorUser thisUser()
{
    DoctorUser user;
    user.uid = ::getuid();
    user.primaryGroup = ::getgid();
    if (const passwd* entry = ::getpwuid(user.uid))
        user.name = entry->pw_name;
    const int count = ::getgroups(0, nullptr);
    user.sessionGroups.resize(static_cast<std::size_t>(std::max(count, 0)));
    if (count > 0 && ::getgroups(count, user.sessionGroups.data()) != count)
        user.sessionGroups.clear();
    user.sessionGroups.push_back(user.primaryGroup);
    return user;
}

struct GroupEntry {
    std::string name;
    std::vector<std::string> members;
};

// Group `gid` as the group file lists it; the number alone when it does not.
GroupEntry readGroup(const std::string& groupFile, gid_t gid)
{
    std::ifstream file(groupFile);
    for (std::string line; std::getline(file, line);) {
        // name:password:gid:member,member
        std::vector<std::string> fields;
        std::stringstream parts(line);
        for (std::string field; std::getline(parts, field, ':');)
            fields.push_back(field);
        if (fields.size() < 3 || fields[2] != std::to_string(gid))
            continue;
        GroupEntry entry{fields[0], {}};
        std::stringstream members(fields.size() > 3 ? fields[3] : std::string());
        for (std::string member; std::getline(members, member, ',');)
            entry.members.push_back(member);
        return entry;
    }
    return {std::to_string(gid), {}};
}

bool mayReadAndWrite(const struct stat& info, const DoctorUser& user)
{
    constexpr mode_t ownerRw = S_IRUSR | S_IWUSR;
    constexpr mode_t groupRw = S_IRGRP | S_IWGRP;
    constexpr mode_t otherRw = S_IROTH | S_IWOTH;
    const auto& groups = user.sessionGroups;
    if (user.uid == 0 || (info.st_mode & otherRw) == otherRw)
        return true;
    if (info.st_uid == user.uid)
        return (info.st_mode & ownerRw) == ownerRw;
    return std::find(groups.begin(), groups.end(), info.st_gid) != groups.end() && (info.st_mode & groupRw) == groupRw;
}

// Joining the device file's group helps only where that group may read and
// write; nobody should join root's group for a serial port.
std::optional<Notice> checkGroup(const std::string& path, const struct stat& info, const DoctorSystem& system)
{
    const DoctorUser user = system.user.value_or(thisUser());
    constexpr mode_t groupRw = S_IRGRP | S_IWGRP;
    if (mayReadAndWrite(info, user) || (info.st_mode & groupRw) != groupRw || info.st_gid == 0)
        return std::nullopt;
    const GroupEntry group = readGroup(system.groupFile, info.st_gid);
    const bool listed = user.primaryGroup == info.st_gid
        || std::find(group.members.begin(), group.members.end(), user.name) != group.members.end();
    if (listed)
        return problem(kMessageGroupNotYetActive, {fileNameToAnsi(path), group.name});
    return problem(kMessageJoinGroup, {fileNameToAnsi(path), group.name, group.name});
}

bool processRunning(const std::string& name, const std::string& procRoot)
{
    std::error_code error;
    for (fs::directory_iterator entry(procRoot, error), end; !error && entry != end; entry.increment(error)) {
        std::ifstream comm(entry->path() / "comm");
        std::string command;
        if (std::getline(comm, command) && command == name)
            return true;
    }
    return false;
}

bool brlttyInstalled()
{
    for (const char* file : {"/usr/bin/brltty", "/bin/brltty", "/usr/sbin/brltty", "/sbin/brltty"}) {
        if (::access(file, X_OK) == 0)
            return true;
    }
    return false;
}

// The kernel's own word that brltty took a USB serial interface; the log
// may not be readable for this user, then it says nothing.
bool kernelLogSaysBrlttyClaimed(const std::string& kernelLog)
{
    const int fd = ::open(kernelLog.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return false;
    bool claimed = false;
    char record[8192];
    // /dev/kmsg hands out one record per read and EAGAIN at the end.
    for (ssize_t n; !claimed && (n = ::read(fd, record, sizeof record - 1)) > 0;) {
        const std::string_view text(record, static_cast<std::size_t>(n));
        claimed = text.find("brltty") != std::string_view::npos
            && (text.find("claimed") != std::string_view::npos || text.find("disconnected") != std::string_view::npos);
    }
    ::close(fd);
    return claimed;
}

std::vector<Notice> checkAdapter(const std::string& path, const DoctorSystem& system)
{
    std::vector<Notice> found;
    const SerialAdapter adapter = DescribeSerialAdapter(path, system.sysRoot, system.udevDataRoot);
    const bool brlttyWouldClaim =
        !adapter.kind.empty() && brlttyInstalled() && processRunning("brltty", system.procRoot);
    if (brlttyWouldClaim || kernelLogSaysBrlttyClaimed(system.kernelLog))
        found.push_back(problem(kMessageBrlttyClaims,
                                {fileNameToAnsi(path), adapter.kind.empty() ? adapter.vendorId : adapter.kind}));
    if (!adapter.vendorId.empty() && !adapter.ignoredByModemManager
        && processRunning("ModemManager", system.procRoot))
        found.push_back(warning(kMessageModemManagerProbes, {fileNameToAnsi(path)}));
    if (adapter.latencyTimerMs && *adapter.latencyTimerMs > 1)
        found.push_back(warning(kMessageLatencyTimer, {fileNameToAnsi(path), std::to_string(*adapter.latencyTimerMs)}));
    return found;
}

Notice answerFinding(int32_t shownPort, const std::string& path, const PortProbe& probe)
{
    if (!probe.opened)
        return PortOpenFailureNotice(shownPort, probe.openProblem);
    const DeviceConfiguration& configuration = probe.configuration;
    const std::string port = PortName(shownPort, path);
    if (!configuration.answered())
        return problem(kMessageNoAnswer, {port, IntToText(configuration.transferResult)});
    if (!configuration.accepted())
        return DeviceNoticeFollowedBy(kMessageNoDeviceOfOurs, Notice::Severity::Error, IntToText(configuration.type));
    return DeviceNotice(kMessageDeviceAnswers, Notice::Severity::Information,
                        {port, WordToHex4(configuration.type), IntToText(configuration.serialNumber),
                         IntToText(configuration.address), std::to_string(probe.replyMs)});
}

// Whether the server of a network port takes a session (for RFC 2217 one
// with the line set to 9600 8N1), and how long that took; else why not.
Notice checkServer(int32_t port, const std::string& address, const std::function<void()>& waiting)
{
    Tvep client{SystemLines()};
    // A server that does not answer costs the time-out; the window repaints
    // meanwhile (the hook goes with the client to the network line).
    client.Serial().SetWaitHook(waiting);
    const auto start = std::chrono::steady_clock::now();
    const bool opened = client.OpenPortAt(std::max(port, 1), address, 9600, 'n');
    const auto ms =
        std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - start).count();
    const Line& line = client.Serial();
    if (!opened)
        return PortOpenFailureNotice(port, line.OpenProblem);
    return DeviceNotice(kMessageServerAccepts, Notice::Severity::Information,
                        {PortName(port, address), line.Server(), std::to_string(ms)});
}

} // namespace

std::vector<Notice> CheckPortSetup(const std::string& path, const DoctorSystem& system)
{
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0) {
        const int missing = errno;
        return {problem(kMessageDeviceFileMissing, {fileNameToAnsi(path), std::strerror(missing)})};
    }
    if (!S_ISCHR(info.st_mode))
        return {problem(kMessageDeviceFileMissing, {fileNameToAnsi(path), std::strerror(ENODEV)})};
    std::vector<Notice> found;
    if (std::optional<Notice> group = checkGroup(path, info, system))
        found.push_back(std::move(*group));
    for (const PortHolder& holder : FindPortHolders(path, system.procRoot))
        found.push_back(problem(kMessagePortHeldBy, {fileNameToAnsi(path), holder.name, std::to_string(holder.pid)}));
    for (Notice& notice : checkAdapter(path, system))
        found.push_back(std::move(notice));
    return found;
}

std::vector<PortCheckup> CheckPorts(const std::vector<std::pair<int32_t, std::string>>& ports,
                                    const DoctorSystem& system, const std::function<void()>& waiting)
{
    std::vector<PortCheckup> checkups;
    std::array<std::string, MaxComPort> probed;
    for (const auto& [port, path] : ports) {
        const bool network = IsNetworkPort(path);
        PortCheckup checkup{port, path, {}, false};
        if (network)
            checkup.findings.push_back(checkServer(port, path, waiting));
        else if (path.empty())
            // The port table gives this number no file: there is none to name.
            checkup.findings.push_back(problem(kMessageNoDeviceFileForPort, {PortName(port, path)}));
        else
            checkup.findings = CheckPortSetup(path, system);
        // A file that is no device, or a server that cannot be reached, is
        // not worth a transfer.
        const bool reachable = network ? checkup.findings.front().number == kMessageServerAccepts
                                       : !path.empty()
                                             && (checkup.findings.empty()
                                                 || checkup.findings.front().number != kMessageDeviceFileMissing);
        if (reachable && port >= 0 && port <= MaxComPort)
            probed[static_cast<std::size_t>(std::max(port, 1)) - 1] = path;
        checkups.push_back(std::move(checkup));
    }
    ConcurrentProbes probes(probed, ProbeSettings{});
    for (PortCheckup& checkup : checkups) {
        const int32_t slot = std::max(checkup.port, 1);
        if (checkup.path.empty() || probed[static_cast<std::size_t>(slot) - 1] != checkup.path)
            continue;
        const PortProbe probe = probes.take(slot, waiting);
        for (const std::string& line : probe.log)
            WriteErrLog(line);
        checkup.answered = probe.opened && probe.configuration.accepted();
        checkup.findings.push_back(answerFinding(checkup.port, checkup.path, probe));
    }
    return checkups;
}
