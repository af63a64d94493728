// backup: the links of many stations at once, each saved with its module
// overview as DIR/<serial number>/<YYYY-MM-DD_HH-MM-SS>.ini.
//
// The device read works on the process's model (module table, link table,
// overview), which one read at a time may use. So every station is read by
// a process of its own: kalmoria-cli started again with the internal command
// backup-station (cli/StationBackup.cpp), which reads the one port and
// prints what it read as one line of JSON. This process only schedules --jobs
// of them at a time, and saves and reports each station as its process ends.
// All files are saved here, one after another, so two stations of the same
// serial number never take the same name; each save replaces the file in one
// step, so an interrupt leaves no file half written. Each station's links
// are compared with its previous backup in DIR before its file is saved
// (cli/BackupDrift.h), with --metrics the end of the run leaves every
// station's result for Prometheus (cli/BackupMetrics.h), and with --capture
// every station's traffic is kept beside its backup (cli/BackupCaptures.h).

#include "cli/ArgumentBytes.h"
#include "cli/BackupCaptures.h"
#include "cli/BackupDrift.h"
#include "cli/BackupMetrics.h"
#include "cli/CliMessages.h"
#include "cli/CliOptions.h"
#include "cli/Commands.h"
#include "cli/ConsoleMessages.h"
#include "cli/ConsoleText.h"
#include "cli/HeldSignals.h"
#include "cli/StationList.h"
#include "cli/StationReply.h"
#include "diag/AnsiText.h"
#include "diag/TextHelpers.h"
#include "io/FileBytes.h"
#include "model/Snapshots.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonValue>
#include <QProcess>
#include <QTimer>

#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <memory>
#include <optional>
#include <set>
#include <sys/prctl.h>
#include <unistd.h>
#include <vector>

namespace fs = std::filesystem;

namespace {

constexpr int kStopMs = 3000;      // for a station's process to end after SIGTERM, before SIGKILL
constexpr int kSignalPollMs = 50;  // how often the held signals are looked at
constexpr std::size_t kMaxMetricsBytes = 16 * 1024 * 1024; // an earlier metrics file larger than this is none of ours

// What became of one station, for its line of JSON and the console.
struct StationOutcome {
    QString port; // as given
    bool ok = false;
    std::optional<StationIdentity> station;
    std::optional<int> links;
    std::string file;  // the file saved, bytes of the file system
    std::string error; // why not, Windows-1252
    bool notSaved = false; // read, but its file could not be saved
    LinkDrift drift;       // since the previous backup, when read
    bool keptPrevious = false; // unchanged with --only-changed: `file` is the previous backup
    std::optional<double> seconds; // how long its read took; none: never started
    std::string capture;           // with --capture: the station's capture, bytes of the file system
};

// One JSON value as compact text.
QString jsonText(const QJsonValue& value)
{
    const QByteArray array = QJsonDocument(QJsonArray{value}).toJson(QJsonDocument::Compact);
    return QString::fromUtf8(array.mid(1, array.size() - 2));
}

// {"port":...,"ok":...,"serial":...,"address":...,"type":...,"links":...,"file":...,
//  "changed":...,"changed_links":[...],"capture":...,"error":...} with the fields in this order, unknown ones null.
std::string jsonLine(const StationOutcome& outcome)
{
    const QJsonValue none(QJsonValue::Null);
    const std::optional<StationIdentity>& station = outcome.station;
    QJsonArray changedLinks;
    for (const int32_t link : outcome.drift.changedLinks)
        changedLinks.append(link);
    const bool compared = outcome.drift.changed.has_value();
    const std::pair<const char*, QJsonValue> fields[] = {
        {"port", outcome.port},
        {"ok", outcome.ok},
        {"serial", station ? QJsonValue(station->serialNumber) : none},
        {"address", station ? QJsonValue(station->address) : none},
        {"type", station ? QJsonValue(station->type) : none},
        {"links", outcome.links ? QJsonValue(*outcome.links) : none},
        {"file", outcome.file.empty() ? none : QJsonValue(QString::fromLocal8Bit(outcome.file))},
        {"changed", compared ? QJsonValue(*outcome.drift.changed) : none},
        {"changed_links", compared ? QJsonValue(changedLinks) : none},
        {"capture", outcome.capture.empty() ? none : QJsonValue(QString::fromLocal8Bit(outcome.capture))},
        {"error", outcome.error.empty() ? none : QJsonValue(ansiToQString(oneLine(outcome.error)))},
    };
    QString line;
    for (const auto& [name, value] : fields)
        line += (line.isEmpty() ? QStringLiteral("{\"") : QStringLiteral(",\"")) + QLatin1String(name)
                + QStringLiteral("\":") + jsonText(value);
    return (line + QStringLiteral("}\n")).toStdString();
}

// Makes the folder when it is missing and tries a file in it: empty when
// it can be written, else the system's reason.
std::string folderProblem(const std::string& dir)
{
    std::error_code error;
    fs::create_directories(dir, error);
    if (error)
        return error.message();
    std::string probe = (fs::path(dir) / ".kalmoria-backup-XXXXXX").string();
    const int fd = ::mkstemp(probe.data());
    if (fd < 0)
        return std::strerror(errno);
    ::close(fd);
    ::unlink(probe.c_str());
    return {};
}

// Whether the metrics file can be replaced at the end: empty when it can
// (or none is asked for), else why not.
std::string metricsFileProblem(const std::string& path)
{
    if (path.empty())
        return {};
    std::error_code error;
    if (fs::is_directory(path, error))
        return std::strerror(EISDIR);
    const fs::path folder = fs::path(path).parent_path();
    return folderProblem(folder.empty() ? "." : folder.string());
}

// A port as the messages name it.
std::string portText(const QString& port)
{
    return pathText(ArgumentBytes(port));
}

// The last line a process wrote to standard error, as the program's text.
std::string lastLine(const QByteArray& output)
{
    const QByteArray trimmed = output.trimmed();
    return qStringToAnsi(QString::fromUtf8(trimmed.mid(trimmed.lastIndexOf('\n') + 1)));
}

class BackupRun {
public:
    BackupRun(CommandContext& context, const HeldSignals& held, const QStringList& ports)
        : m_context(context)
        , m_held(held)
        , m_showProgress(!context.options.quiet && isTerminal(2))
        , m_captures(context.options.capture)
    {
        for (const QString& port : ports)
            m_stations.emplace_back().port = port;
    }

    ExitCode run()
    {
        // SIGINT, SIGTERM and SIGHUP end the stations' reads (see interrupt()).
        QTimer watch;
        QObject::connect(&watch, &QTimer::timeout, [this] {
            if (m_held.arrived())
                interrupt();
        });
        watch.start(kSignalPollMs);
        if (m_held.arrived())
            interrupt(); // before any station was started
        startNext();
        if (m_reported < m_stations.size())
            m_loop.exec();
        watch.stop();

        const std::vector<std::string> counts{IntToText(m_saved), IntToText(static_cast<int64_t>(m_stations.size())),
                                              pathText(m_context.options.dir)};
        // What was saved before an interrupt counts all the same.
        const bool metricsSaved = metricsWritten();
        if (m_interrupted) {
            m_context.messages.error(CliMessage(kMessageBackupInterrupted, counts));
            return ExitCode::Interrupted;
        }
        m_context.messages.note(CliMessage(kMessageBackupDone, counts));
        // A file that cannot be saved is the backup's own failure; a
        // station that does not answer is the line's.
        if (m_notSaved || m_captureNotPlaced || !metricsSaved)
            return ExitCode::File;
        return m_failed ? ExitCode::Device : ExitCode::Success;
    }

private:
    struct Station {
        QString port;
        std::unique_ptr<QProcess> process;
        QElapsedTimer clock; // from the start of its process
        bool reported = false;
        std::optional<StationOutcome> outcome; // once reported
        long long reportedAt = 0;              // seconds since 1970
    };

    // Starts stations until --jobs run.
    void startNext()
    {
        while (!m_interrupted && m_running < m_context.options.jobs && m_next < m_stations.size()) {
            const std::size_t index = m_next++;
            ++m_running;
            start(index);
        }
    }

    void start(std::size_t index)
    {
        Station& station = m_stations[index];
        station.process = std::make_unique<QProcess>();
        QProcess& process = *station.process;
        process.setStandardInputFile(QProcess::nullDevice());
        const pid_t parent = ::getpid();
        process.setChildProcessModifier([parent] {
            // A group of its own: Ctrl-C on the terminal reaches the backup
            // alone, which ends the reads itself. And a read ends when the
            // backup dies, however it dies.
            ::setpgid(0, 0);
            ::prctl(PR_SET_PDEATHSIG, SIGTERM);
            if (::getppid() != parent)
                ::_exit(1);
        });
        QObject::connect(&process, &QProcess::finished, [this, index] { ended(index); });
        QObject::connect(&process, &QProcess::errorOccurred, [this, index](QProcess::ProcessError error) {
            if (error == QProcess::FailedToStart)
                ended(index);
        });
        QStringList arguments{QStringLiteral("backup-station"), QStringLiteral("--port"), station.port,
                              QStringLiteral("--retries"), QString::number(m_context.options.retries)};
        if (m_context.options.fast)
            arguments << QStringLiteral("--fast");
        if (m_captures.wanted())
            arguments << QStringLiteral("--capture") << QString::fromLocal8Bit(m_captures.temporaryName(index));
        station.clock.start();
        process.start(QCoreApplication::applicationFilePath(), arguments);
    }

    // A station's process has ended, or did not start.
    void ended(std::size_t index)
    {
        Station& station = m_stations[index];
        if (station.reported)
            return;
        --m_running;
        if (m_interrupted)
            report(index, interruptedOutcome(station.port));
        else
            report(index, outcomeOf(station));
        startNext();
        if (m_reported == m_stations.size())
            m_loop.quit();
    }

    StationOutcome outcomeOf(Station& station)
    {
        QProcess& process = *station.process;
        StationOutcome outcome;
        outcome.port = station.port;
        outcome.seconds = static_cast<double>(station.clock.nsecsElapsed()) / 1e9;
        const std::optional<StationReply> reply = DecodeStationReply(process.readAllStandardOutput());
        if (!reply) {
            std::string fate = process.error() == QProcess::FailedToStart ? qStringToAnsi(process.errorString())
                               : process.exitStatus() == QProcess::CrashExit
                                   ? "ended by a signal"
                                   : "exit code " + IntToText(process.exitCode());
            if (const std::string said = lastLine(process.readAllStandardError()); !said.empty())
                fate += ": " + said;
            outcome.error = CliMessage(kMessageStationProcessFailed, {fate});
            return outcome;
        }
        for (const StationNote& note : reply->notes)
            m_context.messages.show(note.kind, portText(station.port) + ": " + note.text);
        if (!reply->ok) {
            outcome.error = reply->error;
            return outcome;
        }
        outcome.station = reply->station;
        outcome.links = static_cast<int>(reply->links.size());
        const std::string folder = (fs::path(m_context.options.dir) / std::to_string(reply->station.serialNumber)).string();
        outcome.drift = DriftSinceLastBackup(folder, reply->links, m_savedNow);
        if (m_context.options.onlyChanged && outcome.drift.changed == false) {
            // The previous backup still holds the station's links: it stays
            // the last proof, and a new copy of it would prove nothing more.
            outcome.ok = true;
            outcome.file = outcome.drift.previousFile;
            outcome.keptPrevious = true;
            return outcome;
        }
        const SnapshotSave saved = SaveTimeNamedLinkFile(folder, reply->links, reply->station, reply->overview);
        if (!saved.ok) {
            outcome.error = CliMessage(kMessageLinkFileNotSaved, {pathText(saved.path), saved.reason});
            outcome.notSaved = true;
            return outcome;
        }
        m_savedNow.insert(saved.path);
        outcome.ok = true;
        outcome.file = saved.path;
        return outcome;
    }

    static StationOutcome interruptedOutcome(const QString& port)
    {
        StationOutcome outcome;
        outcome.port = port;
        outcome.error = CliMessage(kMessageStationInterrupted);
        return outcome;
    }

    // The station's line of JSON, and its line on the console: a failure
    // always, a success as progress on a terminal.
    void report(std::size_t index, StationOutcome outcome)
    {
        placeCapture(index, outcome);
        Station& station = m_stations[index];
        station.reported = true;
        station.outcome = outcome;
        station.reportedAt = QDateTime::currentSecsSinceEpoch();
        ++m_reported;
        printOut(jsonLine(outcome));
        if (outcome.ok) {
            ++m_saved;
            const int said = outcome.keptPrevious ? kMessageStationUnchanged : kMessageLinksSaved;
            if (m_showProgress)
                printErr("[" + std::to_string(m_reported) + "/" + std::to_string(m_stations.size()) + "] "
                         + toTerminal(portText(outcome.port) + ": "
                                      + oneLine(CliMessage(said, {LinkCountText(*outcome.links), pathText(outcome.file)})))
                         + "\n");
            return;
        }
        m_failed = true;
        m_notSaved = m_notSaved || outcome.notSaved;
        if (!m_interrupted)
            m_context.messages.error(portText(outcome.port) + ": " + outcome.error);
    }

    // The station's capture named after its backup; a capture that keeps
    // its temporary name is still told, so no traffic is lost unseen.
    void placeCapture(std::size_t index, StationOutcome& outcome)
    {
        if (!m_captures.wanted())
            return;
        const std::string saved = outcome.ok && !outcome.keptPrevious ? outcome.file : std::string();
        const CapturePlacing placing = m_captures.place(index, outcome.port, outcome.station, saved);
        outcome.capture = placing.path;
        if (placing.ok)
            return;
        m_captureNotPlaced = true;
        m_context.messages.error(portText(outcome.port) + ": "
                                 + CliMessage(kMessageCaptureKeptAs, {pathText(placing.path), placing.reason}));
    }

    // SIGINT, SIGTERM or SIGHUP: the reads end (a read saves nothing, so
    // nothing is left half done), the stations not yet saved are reported
    // as interrupted, and nothing more is saved.
    void interrupt()
    {
        if (m_interrupted)
            return;
        m_interrupted = true;
        for (Station& station : m_stations) {
            if (station.process && station.process->state() != QProcess::NotRunning)
                station.process->terminate();
        }
        for (Station& station : m_stations) {
            if (!station.process || station.process->state() == QProcess::NotRunning)
                continue;
            if (!station.process->waitForFinished(kStopMs)) {
                station.process->kill();
                station.process->waitForFinished(kStopMs);
            }
        }
        for (std::size_t index = 0; index < m_stations.size(); ++index) {
            if (!m_stations[index].reported)
                report(index, interruptedOutcome(m_stations[index].port));
        }
        m_next = m_stations.size();
        m_loop.quit();
    }

    // With --metrics: every station's result replaces the metrics file. A
    // station that failed keeps the time of its last success from the file
    // it replaces. False, told, when the file cannot be written.
    bool metricsWritten()
    {
        const std::string& path = m_context.options.metrics;
        if (path.empty())
            return true;
        const FileBytes earlier = ReadWholeFile(path, kMaxMetricsBytes);
        const std::map<std::string, KeptSuccess> kept =
            LastSuccesses(earlier.status == FileBytes::Status::Read ? earlier.bytes : std::string());
        std::vector<StationMetrics> metrics;
        for (const Station& station : m_stations)
            metrics.push_back(metricsOf(station, kept));
        std::string reason;
        if (ReplaceFileAtomically(path, MetricsText(metrics), &reason))
            return true;
        m_context.messages.error(CliMessage(kMessageMetricsNotWritten, {pathText(path), reason}));
        return false;
    }

    static StationMetrics metricsOf(const Station& station, const std::map<std::string, KeptSuccess>& kept)
    {
        StationMetrics metrics;
        metrics.station = station.port.toStdString();
        if (const auto earlier = kept.find(metrics.station); earlier != kept.end()) {
            metrics.serial = earlier->second.serial;
            metrics.lastSuccess = earlier->second.lastSuccess;
        }
        if (!station.outcome)
            return metrics;
        const StationOutcome& outcome = *station.outcome;
        metrics.durationSeconds = outcome.seconds;
        if (outcome.station)
            metrics.serial = std::to_string(outcome.station->serialNumber);
        if (!outcome.ok)
            return metrics;
        metrics.success = true;
        metrics.lastSuccess = station.reportedAt;
        metrics.links = outcome.links;
        metrics.linksChanged = outcome.drift.changed.value_or(false);
        return metrics;
    }

    CommandContext& m_context;
    const HeldSignals& m_held;
    const bool m_showProgress;
    std::vector<Station> m_stations;
    std::size_t m_next = 0;     // the next station to start
    int m_running = 0;
    std::size_t m_reported = 0;
    int m_saved = 0;
    bool m_failed = false;
    bool m_notSaved = false;
    bool m_captureNotPlaced = false;
    bool m_interrupted = false;
    const StationCaptures m_captures;
    std::set<std::string> m_savedNow; // the files this run saved: none of them is a previous backup
    QEventLoop m_loop;
};

} // namespace

ExitCode RunBackup(CommandContext& context)
{
    // An interrupt ends the backup as one (exit code 130) from its start on,
    // and never in the middle of a save.
    const HeldSignals held;
    const CliOptions& options = context.options;
    QStringList ports = options.ports;
    if (!options.stations.empty()) {
        const StationListLoad list = LoadStationList(options.stations);
        const std::string file = pathText(options.stations);
        switch (list.outcome) {
        case StationListLoad::Outcome::Unreadable:
            context.messages.error(CliMessage(kMessageStationListUnreadable, {file, list.reason}));
            return ExitCode::File;
        case StationListLoad::Outcome::NoPort:
            context.messages.error(
                CliMessage(kMessageStationListNoPort, {file, IntToText(list.line), pathText(list.text)}));
            return ExitCode::File;
        case StationListLoad::Outcome::Read:
            break;
        }
        if (list.ports.isEmpty() && ports.isEmpty()) {
            context.messages.error(CliMessage(kMessageStationListEmpty, {file}));
            return ExitCode::File;
        }
        ports += list.ports;
    }
    // Before any station is read: a folder that takes no file would cost
    // every station's read for nothing.
    if (const std::string problem = folderProblem(options.dir); !problem.empty()) {
        context.messages.error(CliMessage(kMessageBackupFolderNotWritable, {pathText(options.dir), problem}));
        return ExitCode::File;
    }
    if (const std::string problem = options.capture.empty() ? std::string() : folderProblem(options.capture);
        !problem.empty()) {
        context.messages.error(CliMessage(kMessageCaptureNotWritten, {pathText(options.capture), problem}));
        return ExitCode::File;
    }
    if (const std::string problem = metricsFileProblem(options.metrics); !problem.empty()) {
        context.messages.error(CliMessage(kMessageMetricsNotWritten, {pathText(options.metrics), problem}));
        return ExitCode::File;
    }
    BackupRun backup(context, held, DistinctPorts(ports));
    return backup.run();
}
