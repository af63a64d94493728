#include "cli/DeviceSession.h"

#include "cli/CliOptions.h"
#include "cli/ConsoleMessages.h"
#include "cli/ConsoleView.h"
#include "cli/CliMessages.h"
#include "core/StationClient.h"
#include "core/StationPort.h"
#include "transports/ComPortMap.h"
#include "sequences/DeviceNotices.h"
#include "sequences/DeviceRead.h"
#include "protocol/Tvep.h"
#include "diag/TextHelpers.h"
#include "i18n/NoticeText.h"
#include "model/Station.h"


DeviceSession::DeviceSession(const CliOptions& options, ConsoleMessages& messages, ConsoleView& view)
    : m_options(options)
    , m_messages(messages)
    , m_view(view)
    , m_station(std::make_unique<StationClient>(
          Preferences{.fastReplyEnd = options.fast,
                      .retries = options.retries,
                      .writeCheck = options.verify,
                      .alwaysCheckStation = true,
                      .answerPatienceMs = Tvep::UnattendedAnswerPatienceMs}))
{
    if (options.portGiven()) {
        // Only the port asked for is there, under its own number. The
        // user's Kalmoria.ini stays as it is.
        const StationPort port = ResolveStationPort(options.portNumber, options.portPath);
        m_port = port.number;
        m_label = port.label;
        if (port.path.empty())
            m_unmapped = comPortSource();
        std::vector<std::string> ports(static_cast<std::size_t>(m_port));
        ports.back() = port.path;
        OverrideComPorts(std::move(ports));
    }
}

DeviceSession::~DeviceSession() = default;

PortSearchResult DeviceSession::Search()
{
    PortSearchResult search = m_station->Search(m_view);
    m_view.EndProgress();
    return search;
}

ExitCode DeviceSession::Connect()
{
    if (m_options.portGiven()) {
        Station& station = State();
        station.ComPortNr = m_port;
        station.ComBaud = 9600;
        station.ComParity = 'n';
        return ExitCode::Success;
    }
    if (Search().devices.empty()) {
        m_messages.error(CliMessage(kMessageNoDeviceFound));
        return ExitCode::Device;
    }
    return ExitCode::Success;
}

ExitCode DeviceSession::Read()
{
    const DeviceReadResult result = ReadSilently();
    if (result.ok())
        m_messages.report(result.notices, false);
    else
        m_messages.error(ReadFailureText(result));
    return ExitCodeOf(result.outcome);
}

DeviceReadResult DeviceSession::ReadSilently()
{
    const DeviceReadResult result = m_station->Read(m_view);
    m_view.EndProgress();
    return result;
}

std::string DeviceSession::ReadFailureText(const DeviceReadResult& result) const
{
    if (result.outcome == Outcome::PortNotOpen)
        return PortNotOpenText();
    if (std::string failed = TransferFailureText(result, m_options.retries); !failed.empty())
        return failed;
    // The last notice tells what stopped the read.
    if (!result.notices.empty())
        return NoticeText(result.notices.back(), kConsoleWording);
    return CliMessage(kMessageReadFailed);
}

ExitCode DeviceSession::ConnectAndRead()
{
    const ExitCode connected = Connect();
    return connected == ExitCode::Success ? Read() : connected;
}

CheckedLinkWriteResult DeviceSession::WriteLinks(const LinkWriteChecks& checks, const OverviewRows& overview,
                                                 WriteQuestions& questions)
{
    CheckedLinkWriteResult result = m_station->Write(&m_view, checks, overview, questions);
    m_view.EndProgress();
    return result;
}

Tvep& DeviceSession::Client()
{
    return m_station->Client();
}

FrameTap& DeviceSession::Frames()
{
    return m_station->Frames();
}

Station& DeviceSession::State()
{
    return m_station->State();
}

std::string DeviceSession::PortName() const
{
    const int32_t port = m_station->State().ComPortNr;
    return ::PortName(PortLabel(port), comPortPath(port));
}

int32_t DeviceSession::PortLabel(int32_t port) const
{
    return port == m_port ? m_label : port;
}

void DeviceSession::ReportPortNotOpen()
{
    m_messages.error(PortNotOpenText());
}

std::string DeviceSession::PortNotOpenText() const
{
    const int32_t port = m_station->State().ComPortNr;
    if (m_unmapped && port == m_port) {
        const std::string name = "COM" + IntToText(m_port);
        if (m_unmapped->fromSettings)
            return CliMessage(kMessageComPortNotInSettings, {name, name, name});
        return CliMessage(kMessageComPortBeyondSystemPorts,
                          {name, IntToText(static_cast<int64_t>(m_unmapped->systemPorts)), name});
    }
    return NoticeText(PortOpenFailureNotice(PortLabel(m_station->State().ComPortNr), m_station->Client().Serial().OpenProblem),
                      kConsoleWording);
}
