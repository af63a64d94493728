// restore: a station's snapshots, listed or written back.

#include "cli/CliMessages.h"
#include "cli/CliOptions.h"
#include "cli/Commands.h"
#include "cli/ConsoleMessages.h"
#include "cli/ConsoleText.h"
#include "cli/DeviceSession.h"
#include "cli/LinkSetWrite.h"
#include "cli/TextTable.h"
#include "core/SnapshotRestore.h"
#include "diag/TextHelpers.h"
#include "model/Snapshots.h"
#include "model/Station.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

namespace {

ExitCode listSnapshots(const CommandContext& context, const Station& station)
{
    const std::vector<SnapshotSummary> summaries = SummarizeSnapshots(station.SerialNumber, station.CurrentLinks());
    if (context.options.json) {
        QJsonArray entries;
        for (const SnapshotSummary& s : summaries)
            entries.append(QJsonObject{{QStringLiteral("file"), QString::fromLocal8Bit(s.path)},
                                       {QStringLiteral("taken"), QString::fromStdString(s.taken)},
                                       {QStringLiteral("links"), s.links < 0 ? QJsonValue() : QJsonValue(s.links)},
                                       {QStringLiteral("differs"), s.differs}});
        printOut(QJsonDocument(entries).toJson().toStdString());
        return ExitCode::Success;
    }
    if (summaries.empty()) {
        context.messages.note(CliMessage(kMessageNoSnapshot, {IntToText(station.SerialNumber),
                                                              pathText(StationBackupFolder(station.SerialNumber))}));
        return ExitCode::Success;
    }
    std::vector<TextRow> rows{{"Snapshot", "Links", "Differs", "File"}};
    for (const SnapshotSummary& s : summaries)
        rows.push_back({s.taken, s.links < 0 ? "?" : IntToText(s.links), s.differs ? "yes" : "no", pathText(s.path)});
    printOut(FormatTable(rows));
    return ExitCode::Success;
}

} // namespace

ExitCode RunRestore(CommandContext& context)
{
    // A file named on the command line is written like any link file.
    if (!context.options.last && !context.options.list)
        return RunWrite(context);
    if (const ExitCode code = context.session.ConnectAndRead(); code != ExitCode::Success)
        return code;
    const Station& station = context.session.State();
    if (context.options.list)
        return listSnapshots(context, station);
    const NewestSnapshot newest = LoadNewestSnapshot(station.SerialNumber);
    if (context.messages.report(newest.notices, !newest.ok()))
        return ExitCodeOf(newest.outcome);
    return WriteLinkSet(context, newest.file, newest.path);
}
