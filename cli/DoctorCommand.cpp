// doctor: why a port does not reach the device, and what to do about it.

#include "cli/CliMessages.h"
#include "cli/CliOptions.h"
#include "cli/Commands.h"
#include "cli/ConsoleMessages.h"
#include "cli/ConsoleText.h"
#include "cli/DeviceSession.h"
#include "transports/ComPortMap.h"
#include "sequences/ConnectionDoctor.h"
#include "i18n/NoticeText.h"

#include <algorithm>

namespace {

const char* mark(Notice::Severity severity)
{
    switch (severity) {
    case Notice::Severity::Information: return "[ok] ";
    case Notice::Severity::Warning: return "[--] ";
    default: return "[!!] ";
    }
}

} // namespace

ExitCode RunDoctor(CommandContext& context)
{
    // With --port only that port; else every COM number with a device file.
    std::vector<std::pair<int32_t, std::string>> ports;
    const auto paths = comPortPaths();
    for (int32_t port = 1; port <= MaxComPort; ++port) {
        const std::string& path = paths[static_cast<std::size_t>(port) - 1];
        if (!path.empty())
            ports.emplace_back(context.session.PortLabel(port), path);
    }
    if (ports.empty()) {
        context.messages.error(CliMessage(kMessageNoDeviceFound));
        return ExitCode::Device;
    }
    bool fine = true;
    std::string report;
    for (const PortCheckup& checkup : CheckPorts(ports)) {
        for (const Notice& finding : checkup.findings) {
            fine = fine && finding.severity != Notice::Severity::Error;
            report += std::string(mark(finding.severity))
                      + toTerminal(oneLine(NoticeText(finding, kConsoleWording))) + "\n";
        }
    }
    printOut(report);
    return fine ? ExitCode::Success : ExitCode::Device;
}
