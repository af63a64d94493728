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
#include "sequences/PortSettings.h"
#include "protocol/Tvep.h"
#include "diag/TextHelpers.h"
#include "editor/LinkCheck.h"
#include "editor/LinkProblemText.h"
#include "i18n/NoticeText.h"
#include "model/DeviceValues.h"
#include "model/LinkModel.h"

namespace {

// Asks before the device's links are replaced; false when nobody said yes.
bool confirmWrite(const CommandContext& context, int32_t linksOnDevice, const std::string& path)
{
    if (context.options.yes)
        return true;
    if (!isTerminal(0)) {
        context.messages.error(CliMessage(kMessageNoTerminalToAsk));
        return false;
    }
    const std::string question = CliMessage(kMessageConfirmWrite, {LinkCountText(AnzBefehle), pathText(path),
                                                                   pathText(context.session.PortName()),
                                                                   LinkCountText(linksOnDevice)});
    if (context.messages.ask(question))
        return true;
    context.messages.error(CliMessage(kMessageWriteCancelled));
    return false;
}

// Links the editor would not have made stop the write unless --force; each
// is named. What only touches inactive links is told once the write is
// confirmed. True when the write may go on.
bool linksPassCheck(const CommandContext& context, const std::vector<LinkProblem>& problems)
{
    if (context.options.force || !AnyRefuses(problems))
        return true;
    const std::vector<LinkRecord> links = CurrentLinks();
    for (const LinkProblem& problem : problems)
        context.messages.error(LinkProblemText(problem, links));
    context.messages.error(CliMessage(kMessageLinkCheckRefused));
    return false;
}

void noteInactiveProblems(const CommandContext& context, const std::vector<LinkProblem>& problems)
{
    if (context.options.force)
        return;
    const std::vector<LinkRecord> links = CurrentLinks();
    for (const LinkProblem& problem : problems)
        context.messages.note(LinkProblemText(problem, links));
}

ExitCode exitCodeOf(const CommandContext& context, const CheckedLinkWriteResult& result)
{
    switch (result.outcome) {
    case DeviceOutcome::Done: return ExitCode::Success;
    case DeviceOutcome::Refused: return ExitCode::WriteRefused;
    case DeviceOutcome::SnapshotNotSaved: return ExitCode::File;
    case DeviceOutcome::Mismatch: return ExitCode::Mismatch;
    case DeviceOutcome::PortNotOpen:
        context.session.ReportPortNotOpen();
        return ExitCode::Device;
    case DeviceOutcome::NoDevice:
    case DeviceOutcome::TransferFailed: break;
    }
    return ExitCode::Device;
}

// Interrupted, the user must learn in one line what the device holds now,
// whatever the write said and whether or not a read-back was asked for.
ExitCode reportInterrupted(CommandContext& context, CheckedLinkWriteResult& result)
{
    if (result.sent && !result.verified && context.session.Client().OpenPort(ComPortNr, ComBaud, ComParity)) {
        VerifyWrittenLinks(context.session.Client(), result);
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
    const int32_t linksOnDevice = AnzBefehle;
    ReplaceLinks(file.links);
    LinkTableOrigin = file.origin;
    if (const std::optional<Notice> refusal = LinkWriteRefusal()) {
        context.messages.report({*refusal}, true);
        return ExitCode::WriteRefused;
    }
    const std::vector<LinkProblem> problems = CheckLinks(CurrentLinks());
    if (!linksPassCheck(context, problems))
        return ExitCode::WriteRefused;
    if (!confirmWrite(context, linksOnDevice, path))
        return ExitCode::WriteRefused;
    noteInactiveProblems(context, problems);

    // Another station, or modules it lacks, only on explicit orders: a
    // script's --yes alone confirms the write, not the station.
    const auto confirmStation = [&context](const StationCheck& check) {
        if (context.options.yes && context.options.force)
            return true;
        context.messages.error(NoticeText(StationCheckNotice(check), kConsoleWording));
        context.messages.error(CliMessage(kMessageStationRefused));
        return false;
    };
    const LinkWriteChecks checks{true, true, context.options.verify};
    const HeldSignals held;
    CheckedLinkWriteResult result = context.session.WriteLinks(checks, OverviewForLinkFile(), confirmStation);
    if (held.arrived())
        return reportInterrupted(context, result);
    context.messages.report(result.notices, !result.ok());
    return exitCodeOf(context, result);
}
