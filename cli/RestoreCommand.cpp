// restore: a station's snapshots, listed or written back.

#include "cli/CliMessages.h"
#include "cli/CliOptions.h"
#include "cli/Commands.h"
#include "cli/ConsoleMessages.h"
#include "cli/ConsoleText.h"
#include "cli/DeviceSession.h"
#include "cli/LinkSetWrite.h"
#include "cli/TextTable.h"
#include "model/LinkComparison.h"
#include "diag/TextHelpers.h"
#include "model/Station.h"
#include "model/Snapshots.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <filesystem>

namespace {

struct SnapshotSummary {
    std::string path;
    std::string taken; // the file's name: when it was taken
    int links = -1;    // -1: the file cannot be read
    bool differs = false;
};

SnapshotSummary summarize(const std::string& path, const std::vector<LinkRecord>& onDevice)
{
    SnapshotSummary summary{path, std::filesystem::path(path).stem().string()};
    const LinkFileLoad snapshot = LoadLinkFile(path);
    if (snapshot.ok) {
        summary.links = static_cast<int>(snapshot.links.size());
        summary.differs = LinkSetsDiffer(snapshot.links, onDevice);
    }
    return summary;
}

ExitCode listSnapshots(const CommandContext& context, const Station& station, const std::vector<std::string>& snapshots)
{
    const std::vector<LinkRecord> onDevice = station.CurrentLinks();
    std::vector<SnapshotSummary> summaries;
    for (const std::string& path : snapshots)
        summaries.push_back(summarize(path, onDevice));
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
    const std::vector<std::string> snapshots = ListSnapshots(station.SerialNumber);
    if (context.options.list)
        return listSnapshots(context, station, snapshots);
    if (snapshots.empty()) {
        context.messages.error(CliMessage(kMessageNoSnapshot, {IntToText(station.SerialNumber),
                                                               pathText(StationBackupFolder(station.SerialNumber))}));
        return ExitCode::File;
    }
    const std::string& newest = snapshots.back();
    const LinkFileLoad snapshot = LoadLinkFile(newest);
    if (!snapshot.ok) {
        context.messages.error(CliMessage(kMessageLinkFileUnreadable, {pathText(newest), snapshot.reason}));
        return ExitCode::File;
    }
    return WriteLinkSet(context, snapshot, newest);
}
