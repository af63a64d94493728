#include "sequences/DeviceNotices.h"

#include "transports/Line.h"
#include "transports/PortAccess.h"
#include "diag/AnsiText.h"
#include "diag/ErrLog.h"
#include "model/ModuleModel.h"

Notice DeviceNotice(int n, Notice::Severity severity)
{
    return DeviceNoticeFollowedBy(n, severity, {});
}

Notice DeviceNoticeFollowedBy(int n, Notice::Severity severity, const std::string& appended)
{
    return Notice{n, severity, {kDefaultMessageArgument}, appended, {}};
}

Notice DeviceNotice(int n, Notice::Severity severity, std::vector<std::string> arguments)
{
    return Notice{n, severity, std::move(arguments), {}, {}};
}

std::string PortName(int32_t port, const std::string& path)
{
    const std::string shown = fileNameToAnsi(path);
    if (port <= 0)
        return shown;
    const std::string com = "COM" + std::to_string(port);
    return path.empty() ? com : com + " (" + shown + ")";
}

std::optional<Notice> PortOpenNotice(int32_t port, const PortOpenProblem& problem)
{
    // Without a COM number the device file stands in for it.
    const std::string path = fileNameToAnsi(problem.path);
    const std::string comPort = port > 0 ? "COM" + std::to_string(port) : path;
    switch (problem.cause) {
    case PortOpenProblem::Cause::AccessDenied:
        // The group goes in twice: once in the words, once in the command to type.
        return DeviceNotice(kMessagePortAccessDenied, Notice::Severity::Error,
                            {comPort, path, problem.group, problem.group});
    case PortOpenProblem::Cause::NoConnection:
        return DeviceNotice(kMessageNetworkPortNotOpen, Notice::Severity::Error,
                            {PortName(port, problem.path), problem.server, problem.reason});
    case PortOpenProblem::Cause::BadAddress:
        return DeviceNotice(kMessageBadPortAddress, Notice::Severity::Error,
                            {PortName(port, problem.path), problem.reason});
    case PortOpenProblem::Cause::InUse:
        if (problem.holder)
            return DeviceNotice(kMessagePortHeldBy, Notice::Severity::Error,
                                {PortName(port, problem.path), problem.holder->name,
                                 std::to_string(problem.holder->pid)});
        return DeviceNotice(kMessagePortInUse, Notice::Severity::Error, {comPort, path});
    case PortOpenProblem::Cause::Unknown:
        // A COM number that leads to no device file has nothing to open: the
        // user needs to hear which number, and where its device file is named.
        if (port > 0 && problem.path.empty())
            return DeviceNotice(kMessageNoDeviceFileForPort, Notice::Severity::Error, {comPort});
        return std::nullopt;
    default:
        return std::nullopt;
    }
}

Notice PortOpenFailureNotice(int32_t port, const PortOpenProblem& problem)
{
    if (std::optional<Notice> known = PortOpenNotice(port, problem))
        return *known;
    return DeviceNotice(kMessagePortNotOpenBecause, Notice::Severity::Error,
                        {PortName(port, problem.path), problem.reason});
}

namespace {

// Once, and with the failure it caused: one box tells what failed and why.
void addCause(std::vector<Notice>& notices, Notice cause)
{
    const int number = cause.number;
    const auto same = [number](const Notice& notice) { return notice.number == number; };
    std::erase_if(notices, same);
    for (Notice& notice : notices)
        std::erase_if(notice.causes, same);
    if (notices.empty())
        notices.push_back(std::move(cause));
    else
        notices.back().causes.push_back(std::move(cause));
}

} // namespace

void AddConnectionLost(std::vector<Notice>& notices, const Line& line)
{
    if (!line.LostReason.empty())
        addCause(notices,
                 DeviceNotice(kMessageConnectionLost, Notice::Severity::Error, {line.Server(), line.LostReason}));
    if (line.DeadlinePassed())
        addCause(notices, DeviceNotice(kMessageNoAnswerInTime, Notice::Severity::Error));
}

std::optional<Notice> RefusalWhileDataIncomplete(const ModuleModel& modules)
{
    if (modules.DataState <= 0)
        return std::nullopt;
    if (DebugBit(32))
        WriteErrLog("L12.W - Kommunikationsfehler verhindert Schreiben");
    return DeviceNotice(kMessageDataIncomplete, Notice::Severity::Information);
}
