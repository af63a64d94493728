// backup: the links of many stations at once, each saved with its module
// overview as DIR/<serial number>/<YYYY-MM-DD_HH-MM-SSZ>.ini (fleet/). Each
// station read prints a line of JSON as it ends, and a failure its line on
// the console; with --metrics the end of the run leaves every station's
// result for Prometheus.

#include "cli/CliMessages.h"
#include "cli/CliOptions.h"
#include "cli/Commands.h"
#include "cli/ConsoleMessages.h"
#include "cli/ConsoleText.h"
#include "cli/HeldSignals.h"
#include "core/StationOverview.h"
#include "diag/AnsiText.h"
#include "diag/TextHelpers.h"
#include "fleet/BackupMetrics.h"
#include "fleet/FleetBackup.h"
#include "fleet/SharedSerials.h"
#include "i18n/NoticeText.h"
#include "protocol/Tvep.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonValue>


namespace {

// One JSON value as compact text.
QString jsonText(const QJsonValue& value)
{
    const QByteArray array = QJsonDocument(QJsonArray{value}).toJson(QJsonDocument::Compact);
    return QString::fromUtf8(array.mid(1, array.size() - 2));
}

// Why a station has no backup, as one message.
std::string failureText(const StationBackupResult& result, int retries)
{
    if (std::string failed = TransferFailureText(result, retries); !failed.empty())
        return failed;
    return result.notices.empty() ? CliMessage(kMessageReadFailed)
                                  : NoticeText(result.notices.back(), kConsoleWording);
}

// {"port":...,"ok":...,"serial":...,"address":...,"type":...,"links":...,"file":...,
//  "changed":...,"changed_links":[...],"capture":...,"error":...} with the fields in this order, unknown ones null.
std::string jsonLine(const StationBackupResult& result, int retries)
{
    const QJsonValue none(QJsonValue::Null);
    const std::optional<StationIdentity>& station = result.station;
    QJsonArray changedLinks;
    for (const int32_t link : result.drift.changedLinks)
        changedLinks.append(link);
    const bool compared = result.drift.changed.has_value();
    const std::pair<const char*, QJsonValue> fields[] = {
        {"port", fileNameShown(result.port)},
        {"ok", result.ok()},
        {"serial", station ? QJsonValue(station->serialNumber) : none},
        {"address", station ? QJsonValue(station->address) : none},
        {"type", station ? QJsonValue(station->type) : none},
        {"links", result.links ? QJsonValue(*result.links) : none},
        {"file", result.file.empty() ? none : QJsonValue(QString::fromLocal8Bit(result.file))},
        {"changed", compared ? QJsonValue(*result.drift.changed) : none},
        {"changed_links", compared ? QJsonValue(changedLinks) : none},
        {"capture", result.capture.empty() ? none : QJsonValue(QString::fromLocal8Bit(result.capture))},
        {"error", result.ok() ? none : QJsonValue(ansiToQString(oneLine(failureText(result, retries))))},
    };
    QString line;
    for (const auto& [name, value] : fields)
        line += (line.isEmpty() ? QStringLiteral("{\"") : QStringLiteral(",\"")) + QLatin1String(name)
                + QStringLiteral("\":") + jsonText(value);
    return (line + QStringLiteral("}\n")).toStdString();
}

// A port as the messages name it.
std::string portText(const std::string& port)
{
    return pathText(port);
}

class BackupRun {
public:
    BackupRun(CommandContext& context, std::size_t stations)
        : m_context(context)
        , m_showProgress(!context.options.quiet && isTerminal(2))
        , m_results(stations)
    {
    }

    // The station's line of JSON, and its line on the console: a failure
    // always, a success as progress on a terminal.
    void report(std::size_t index, const StationBackupResult& result)
    {
        m_results[index] = result;
        ++m_reported;
        if (result.ok()) {
            for (const Notice& notice : result.notices)
                m_context.messages.show(NoticeBoxKind(notice.severity),
                                        portText(result.port) + ": " + NoticeText(notice, kConsoleWording));
        }
        for (const Notice& problem : result.captureProblems) {
            m_captureFailed = true;
            m_context.messages.error(portText(result.port) + ": " + NoticeText(problem));
        }
        printOut(jsonLine(result, m_context.options.retries));
        if (result.ok()) {
            // A station found unchanged keeps its previous backup: nothing
            // new was saved for it.
            ++(result.keptPrevious ? m_unchanged : m_saved);
            const int said = result.keptPrevious ? kMessageStationUnchanged : kMessageLinksSaved;
            if (m_showProgress)
                printErr("[" + std::to_string(m_reported) + "/" + std::to_string(m_results.size()) + "] "
                         + toTerminal(portText(result.port) + ": "
                                      + oneLine(CliMessage(said, {LinkCountText(*result.links), pathText(result.file)})))
                         + "\n");
            return;
        }
        m_failed = true;
        m_notSaved = m_notSaved || result.outcome == Outcome::FileNotWritten;
        if (result.outcome != Outcome::Interrupted)
            m_context.messages.error(portText(result.port) + ": " + failureText(result, m_context.options.retries));
    }

    ExitCode end(bool interrupted)
    {
        std::vector<std::string> counts{IntToText(m_saved), IntToText(static_cast<int64_t>(m_results.size())),
                                        pathText(m_context.options.dir)};
        const bool anyUnchanged = m_unchanged > 0;
        if (anyUnchanged)
            counts.push_back(IntToText(m_unchanged));
        m_context.messages.report(SharedSerialNotices(m_results, m_context.options.dir), false);
        // What was saved before an interrupt counts all the same.
        const bool metricsSaved = metricsWritten();
        if (interrupted) {
            m_context.messages.error(
                CliMessage(anyUnchanged ? kMessageBackupInterruptedUnchanged : kMessageBackupInterrupted, counts));
            return ExitCode::Interrupted;
        }
        m_context.messages.note(CliMessage(anyUnchanged ? kMessageBackupDoneUnchanged : kMessageBackupDone, counts));
        // A file that cannot be saved is the backup's own failure; a
        // station that does not answer is the line's.
        if (m_notSaved || m_captureFailed || !metricsSaved)
            return ExitCode::File;
        return m_failed ? ExitCode::Device : ExitCode::Success;
    }

private:
    // With --metrics: every station's result replaces the metrics file.
    // False, told, when the file cannot be written.
    bool metricsWritten()
    {
        const std::string& path = m_context.options.metrics;
        return path.empty() || !m_context.messages.report(WriteBackupMetrics(path, m_results).notices, true);
    }

    CommandContext& m_context;
    const bool m_showProgress;
    std::vector<StationBackupResult> m_results;
    std::size_t m_reported = 0;
    int m_saved = 0;
    int m_unchanged = 0;
    bool m_failed = false;
    bool m_notSaved = false;
    bool m_captureFailed = false;
};

} // namespace

ExitCode RunBackup(CommandContext& context)
{
    // An interrupt ends the backup as one (exit code 130) from its start on,
    // and never in the middle of a save.
    const HeldSignals held;
    const CliOptions& options = context.options;
    const BackupSettings settings{options.dir, OverviewHeadings(), options.onlyChanged, options.capture,
                                  Preferences{.fastReplyEnd = options.fast,
                                              .retries = options.retries,
                                              .answerPatienceMs = Tvep::UnattendedAnswerPatienceMs}};
    const auto interrupted = [&held] { return held.arrived(); };
    const FleetPlan plan = PlanFleetBackup(settings, options.metrics, options.ports, options.stations, interrupted);
    if (context.messages.report(plan.notices, !plan.ok()))
        return ExitCodeOf(plan.outcome);
    const std::vector<FleetStation>& stations = plan.stations;
    FleetBackup fleet(settings, stations, options.jobs);
    BackupRun run(context, stations.size());
    const bool stopped = fleet.Run(interrupted, [&run](std::size_t index, const StationBackupResult& result) {
        run.report(index, result);
    });
    return run.end(stopped);
}
