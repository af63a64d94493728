// report: the service report of the device or of a link file, as PDF.

#include "cli/CliMessages.h"
#include "cli/CliOptions.h"
#include "cli/Commands.h"
#include "cli/ConsoleMessages.h"
#include "cli/ConsoleText.h"
#include "cli/DeviceSession.h"
#include "diag/AnsiText.h"
#include "diag/TextHelpers.h"
#include "model/Station.h"
#include "report/ReportTexts.h"
#include "report/ServiceReport.h"
#include "transports/ComPortMap.h"

#include <QFile>

#include <optional>

ExitCode RunReport(CommandContext& context)
{
    const CliOptions& options = context.options;
    // The file comes first: a file that cannot be read costs no device traffic.
    std::optional<LinkFileLoad> file;
    if (!options.file.empty()) {
        std::variant<LinkFileLoad, ExitCode> load = LoadCommandLinkFile(context);
        if (const ExitCode* failed = std::get_if<ExitCode>(&load))
            return *failed;
        file = std::move(std::get<LinkFileLoad>(load));
    }
    Station& station = context.session.State();
    ServiceReportFacts facts;
    // A link file alone is reported as it is; with --port, or without a
    // file, the station is read and the links compared with its own.
    if (!file || options.portGiven()) {
        if (const ExitCode code = context.session.ConnectAndRead(); code != ExitCode::Success)
            return code;
        facts.port = PortWithAdapter(context.session.PortName(), comPortPath(station.ComPortNr));
        facts.deviceLinks = station.CurrentLinks();
    }
    if (file) {
        station.ReplaceLinks(file->links);
        station.LinkTableOrigin = file->origin;
        facts.linkFile = fileNameToAnsi(LinkFilePath(options.file));
        facts.fileOverview = file->overview;
    }
    facts.station = station;
    QString reason;
    const int pages = SaveServiceReport(facts, QFile::decodeName(options.output.c_str()), &reason);
    if (pages == 0) {
        context.messages.error(CliMessage(kMessageReportNotSaved, {pathText(options.output), qStringToAnsi(reason)}));
        return ExitCode::File;
    }
    context.messages.note(CliMessage(kMessageReportSaved, {pathText(options.output), IntToText(pages)}));
    printOut(options.output + "\n");
    return ExitCode::Success;
}
