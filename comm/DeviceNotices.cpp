#include "comm/DeviceNotices.h"

#include "comm/PortAccess.h"
#include "diag/ErrLog.h"
#include "model/DeviceValues.h"
#include "model/ModuleModel.h"

Notice DeviceNotice(int n, Notice::Severity severity)
{
    return DeviceNoticeFollowedBy(n, severity, {});
}

Notice DeviceNoticeFollowedBy(int n, Notice::Severity severity, const std::string& appended)
{
    return Notice{n, severity, {DefaultMessageArgument}, appended};
}

Notice DeviceNotice(int n, Notice::Severity severity, std::vector<std::string> arguments)
{
    return Notice{n, severity, std::move(arguments), {}};
}

std::optional<Notice> PortOpenNotice(int32_t port, const PortOpenProblem& problem)
{
    const std::string comPort = "COM" + std::to_string(port);
    switch (problem.cause) {
    case PortOpenProblem::Cause::AccessDenied:
        // The group goes in twice: once in the words, once in the command to type.
        return DeviceNotice(kMessagePortAccessDenied, Notice::Severity::Error,
                            {comPort, problem.path, problem.group, problem.group});
    case PortOpenProblem::Cause::InUse:
        return DeviceNotice(kMessagePortInUse, Notice::Severity::Error, {comPort, problem.path});
    default:
        return std::nullopt;
    }
}

std::optional<Notice> RefusalWhileDataIncomplete()
{
    if (DataState <= 0)
        return std::nullopt;
    if (DebugBit(32))
        WriteErrLog("L12.W - Kommunikationsfehler verhindert Schreiben");
    return DeviceNotice(15, Notice::Severity::Information);
}
