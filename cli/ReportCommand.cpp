// report: the service report of the device or of a link file, as PDF.

#include "cli/CliMessages.h"
#include "cli/CliOptions.h"
#include "cli/Commands.h"
#include "cli/ConsoleMessages.h"
#include "cli/ConsoleText.h"
#include "cli/DeviceSession.h"
#include "diag/AnsiText.h"
#include "diag/TextHelpers.h"
#include "core/LinkFileRead.h"
#include "core/ReportFacts.h"
#include "core/StationClient.h"
#include "report/ReportTexts.h"
#include "report/ServiceReport.h"

#include <QFile>

#include <optional>

ExitCode RunReport(CommandContext& context)
{
    const CliOptions& options = context.options;
    const std::optional<LinkFileLoad>& file = context.file;
    // A link file alone is reported as it is; with --port, or without a
    // file, the station is read and the links compared with its own.
    if (!file || options.portGiven()) {
        if (const ExitCode code = context.session.ConnectAndRead(); code != ExitCode::Success)
            return code;
    }
    if (file)
        TakeLinksOfFile(context.session.State(), *file, LinkFilePath(options.file), {});
    StationClient& device = context.session.Device();
    ServiceReportFacts facts = GatherReportFacts(device, context.session.PortLabel(device.State().ComPortNr));
    if (file)
        facts.fileOverview = file->overview;
    const ReportSave saved = SaveServiceReport(facts, QFile::decodeName(options.output.c_str()));
    if (context.messages.report(saved.notices, !saved.ok()))
        return ExitCodeOf(saved.outcome);
    context.messages.note(CliMessage(kMessageReportSaved, {pathText(options.output), IntToText(saved.pages)}));
    printOut(options.output + "\n");
    return ExitCode::Success;
}
