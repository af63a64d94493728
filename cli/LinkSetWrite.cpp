#include "cli/LinkSetWrite.h"

#include "cli/CliMessages.h"
#include "cli/CliOptions.h"
#include "cli/Commands.h"
#include "cli/ConsoleMessages.h"
#include "cli/ConsoleText.h"
#include "cli/DeviceSession.h"
#include "cli/DeviceText.h"
#include "cli/HeldSignals.h"
#include "sequences/CheckedLinkWrite.h"
#include "transports/ComPortMap.h"
#include "sequences/DeviceNotices.h"
#include "protocol/Tvep.h"
#include "diag/TextHelpers.h"
#include "core/StationClient.h"
#include "core/WriteQuestions.h"
#include "editor/rules/LinkProblemText.h"
#include "i18n/NoticeText.h"
#include "model/Station.h"

#include <optional>

namespace {

// The write's questions on the console: a script's --yes confirms the
// write, --force the links the editor would not have made; another station,
// or modules it lacks, only both together.
class ConsoleWriteQuestions : public WriteQuestions {
public:
    ConsoleWriteQuestions(const CommandContext& context, const Station& station, int32_t linksOnDevice,
                          const std::string& path)
        : m_context(context)
        , m_station(station)
        , m_linksOnDevice(linksOnDevice)
        , m_path(path)
    {
    }

    Consent WriteDespiteLinkProblems(const std::vector<LinkProblem>& problems) override
    {
        if (m_context.options.force)
            return Consent::Forced;
        const std::vector<LinkRecord> links = m_station.CurrentLinks();
        for (const LinkProblem& problem : problems)
            m_context.messages.error(LinkProblemText(problem, links));
        m_context.messages.error(CliMessage(kMessageLinkCheckRefused));
        return Consent::Refused;
    }

    // Asks before the device's links are replaced; false when nobody said yes.
    bool ConfirmWrite() override
    {
        if (m_context.options.yes)
            return holdSignals();
        if (!isTerminal(0)) {
            m_context.messages.error(CliMessage(kMessageNoTerminalToAsk));
            return false;
        }
        const std::string question =
            CliMessage(kMessageConfirmWrite, {LinkCountText(m_station.AnzBefehle), pathText(m_path),
                                              m_context.session.PortName(), LinkCountText(m_linksOnDevice)});
        if (m_context.messages.ask(question))
            return holdSignals();
        m_context.messages.error(CliMessage(kMessageWriteCancelled));
        return false;
    }

    // What only touches inactive links is told once the write is confirmed.
    void TellLinkProblems(const std::vector<LinkProblem>& problems) override
    {
        if (m_context.options.force)
            return;
        const std::vector<LinkRecord> links = m_station.CurrentLinks();
        for (const LinkProblem& problem : problems)
            m_context.messages.note(LinkProblemText(problem, links));
    }

    bool WriteToOtherStation(const StationCheck& check) override
    {
        if (m_context.options.yes && m_context.options.force)
            return true;
        m_context.messages.error(NoticeText(StationCheckNotice(check), kConsoleWording));
        m_context.messages.error(CliMessage(kMessageStationRefused));
        return false;
    }

    // Whether a signal came while the write was under way.
    bool Interrupted() const { return m_held && m_held->arrived(); }

private:
    // Once confirmed, a signal waits for the write to end: Ctrl-C at the
    // question still ends the program at once.
    bool holdSignals()
    {
        m_held.emplace();
        return true;
    }

    const CommandContext& m_context;
    const Station& m_station;
    int32_t m_linksOnDevice;
    const std::string& m_path;
    std::optional<HeldSignals> m_held;
};

ExitCode exitCodeOf(const CommandContext& context, const CheckedLinkWriteResult& result)
{
    if (result.outcome == Outcome::PortNotOpen)
        context.session.ReportPortNotOpen();
    return ExitCodeOf(result.outcome);
}

// Interrupted, the user must learn in one line what the device holds now,
// whatever the write said and whether or not a read-back was asked for.
ExitCode reportInterrupted(CommandContext& context, CheckedLinkWriteResult& result)
{
    Station& station = context.session.State();
    if (result.sent && !result.verified
        && context.session.Client().OpenPort(station.ComPortNr, station.ComBaud, station.ComParity)) {
        VerifyWrittenLinks(context.session.Client(), station, result);
        context.session.Client().ClosePort();
    }
    const std::string found =
        result.notices.empty() ? std::string() : NoticeText(result.notices.back(), kConsoleWording);
    context.messages.error(CliMessage(kMessageInterrupted, {found}));
    return ExitCode::Interrupted;
}

} // namespace

ExitCode WriteLinkSet(CommandContext& context, const LinkFileLoad& file, const std::string& path)
{
    Station& station = context.session.State();
    const int32_t linksOnDevice = station.AnzBefehle;
    station.ReplaceLinks(file.links);
    station.LinkTableOrigin = file.origin;
    ConsoleWriteQuestions questions(context, station, linksOnDevice, path);
    CheckedLinkWriteResult result = context.session.WriteLinks(context.session.Device().WriteChecks(),
                                                               OverviewForLinkFile(station), questions);
    if (questions.Interrupted())
        return reportInterrupted(context, result);
    context.messages.report(result.notices, !result.ok());
    return exitCodeOf(context, result);
}
