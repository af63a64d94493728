#include "cli/DeviceSession.h"

#include "cli/CliOptions.h"
#include "cli/ConsoleMessages.h"
#include "cli/ConsoleView.h"
#include "cli/CliMessages.h"
#include "comm/ComPortMap.h"
#include "comm/DeviceRead.h"
#include "comm/PortSettings.h"
#include "comm/Tvep.h"
#include "diag/TextHelpers.h"
#include "model/ModuleModel.h"

DeviceSession::DeviceSession(const CliOptions& options, ConsoleMessages& messages, ConsoleView& view)
    : m_options(options)
    , m_messages(messages)
    , m_view(view)
    , m_client(std::make_unique<Tvep>())
{
    // The port search's new client keeps this choice.
    m_client->FastReplyEnd = options.fast;
    // A path given on the command line is COM1 for this run; the user's
    // Kalmoria.ini stays as it is.
    if (!options.portPath.empty())
        OverrideComPorts({options.portPath});
}

DeviceSession::~DeviceSession() = default;

std::vector<FoundDevice> DeviceSession::Search()
{
    if (m_options.portNumber != 0) {
        // Only the port asked for is probed, under its own number.
        std::vector<std::string> ports(static_cast<std::size_t>(m_options.portNumber));
        ports.back() = comPortPath(m_options.portNumber);
        OverrideComPorts(std::move(ports));
    }
    PortSearchResult search = SearchComPort(m_client, m_view);
    m_view.EndProgress();
    return std::move(search.devices);
}

ExitCode DeviceSession::Connect()
{
    if (m_options.portGiven()) {
        ComPortNr = m_options.portNumber != 0 ? m_options.portNumber : 1;
        ComBaud = 9600;
        ComParity = 'n';
        return ExitCode::Success;
    }
    if (Search().empty()) {
        m_messages.error(CliMessage(kMessageNoDeviceFound));
        return ExitCode::Device;
    }
    return ExitCode::Success;
}

ExitCode DeviceSession::Read()
{
    const DeviceReadResult result = ReadDevice(*m_client, m_view);
    m_view.EndProgress();
    if (!m_messages.report(result.notices, !result.ok()) && !result.ok())
        m_messages.error(CliMessage(13));
    return result.ok() ? ExitCode::Success : ExitCode::Device;
}

ExitCode DeviceSession::ConnectAndRead()
{
    const ExitCode connected = Connect();
    return connected == ExitCode::Success ? Read() : connected;
}

CheckedLinkWriteResult DeviceSession::WriteLinks(const LinkWriteChecks& checks, const OverviewRows& overview,
                                                 const StationConfirmation& confirm)
{
    CheckedLinkWriteResult result = WriteLinksChecked(*m_client, &m_view, checks, overview, confirm);
    m_view.EndProgress();
    m_messages.report(result.notices, !result.ok());
    return result;
}

std::string DeviceSession::PortName() const
{
    return "COM" + IntToText(ComPortNr) + " (" + comPortPath(ComPortNr) + ")";
}
