#include "cli/CliOptions.h"
#include "core/StationPort.h"

#include "diag/ArgumentBytes.h"
#include "cli/ExitCode.h"
#include "transports/ComPortMap.h"
#include "transports/PortAddress.h"
#include "diag/Version.h"
#include "io/SameFile.h"
#include "model/LinkFile.h"
#include "protocol/Tvep.h"

#include <QCommandLineParser>
#include <QFile>

#include <algorithm>
#include <array>
#include <cstdio>
#include <vector>

namespace {

constexpr const char* kDescription = R"(Reads and writes the bit links of a QMX central device over RS232, for
scripts, backups and service laptops without a desktop.

Commands:
  search              probe COM1..COM16 for central devices; prints the COM
                      number, the serial device, type, serial number, address
  info                the device's configuration and its module overview
  read [-o FILE]      read the device's links; write them as a link file, or
                      print them
  write FILE          write the links of a link file to the device, after a
                      question (or --yes): the device must be the links'
                      station and have their modules (else --yes --force),
                      its links are kept as a snapshot first, and read back
                      and compared afterwards
  diff FILE           compare a link file with the device's links, link by link
  restore --last      write the newest snapshot of the station back, as write
  restore FILE        write a snapshot file back, as write
  restore --list      list the station's snapshots: time, links, whether they
                      differ from the device
  doctor              check the port (--port) or every port: device file,
                      access rights, other programs holding it, brltty,
                      ModemManager, adapter latency (for a network port:
                      whether its server takes the connection), and whether
                      a device answers; one line per finding with what to do
  report -o FILE.pdf  read the device and write a service report as PDF:
                      the station, its modules, the links with the link
                      check's findings, the comparison and the link plan
  report FILE -o PDF  report a link file (with --port also compared with
                      the device)
  backup --dir DIR    read every station of --port (given once per station)
                      and --stations, --jobs at a time, and save each one's
                      links with its module overview as
                      DIR/<serial number>/<YYYY-MM-DD_HH-MM-SSZ>.ini; prints
                      one JSON object per station and line: port, ok,
                      serial, address, type, links, file, changed,
                      changed_links (the links that differ from the
                      station's previous backup in DIR), error

Without --port every command but search and backup first searches
COM1..COM16 like Kalmoria does at start and uses the device found (the
highest port). Kalmoria.ini may map a COM number to a network port in its
section [Schnittstellen] (COM5=tcp://10.0.0.7:4001); over the network replies
end as soon as they are whole, as with --fast.
Snapshots are kept in $XDG_DATA_HOME/kalmoria/backups/<serial number>/
(~/.local/share/... without it), the newest 100 of each station.
Messages come in the language chosen in Kalmoria; they, and the progress of a
device read on a terminal, go to standard error.)";

constexpr const char* kExitCodes = R"(
Exit codes:
  0  success (diff: the device holds the file's links)
  1  usage: the command line is wrong, or an output names a file the
     command reads or another of its outputs
  2  no device answers, or the communication failed; backup: a station
     could not be read (the others are saved)
  3  a link file or the report cannot be read or written (no report file is
     left behind), or the snapshot before a write
     cannot be saved (nothing sent); backup: the station list or the folder
     cannot be read or written (nothing read), or a station's file or the
     metrics file cannot be saved; any command: its capture could not be
     made or lost frames (the command's own result stands)
  4  write refused, nothing sent: too many links, a field out of range,
     another station or missing modules without --force, links the editor
     would not allow (overlapping targets, bits outside the module's groups,
     a module the station lacks, a link twice) without --force, or no
     confirmation
  5  the device's links differ: after write the read-back, for diff the file
130  interrupted (SIGINT, SIGTERM, SIGHUP); during write only once the
     transfer has ended and the device's links have been read back; backup
     ends the stations' reads at once and saves no more files (those saved
     are whole)
)";

struct CommandName {
    const char* name;
    Command command;
};

constexpr std::array<CommandName, 10> kCommands{{
    {"search", Command::Search},
    {"info", Command::Info},
    {"read", Command::Read},
    {"write", Command::Write},
    {"diff", Command::Diff},
    {"restore", Command::Restore},
    {"doctor", Command::Doctor},
    {"backup", Command::Backup},
    {"report", Command::Report},
}};

int usageError(const QString& text)
{
    std::fprintf(stderr, "kalmoria-cli: %s (see kalmoria-cli --help)\n", text.toLocal8Bit().constData());
    return toInt(ExitCode::Usage);
}

int printed(const QString& text)
{
    std::fputs(text.toLocal8Bit().constData(), stdout);
    return std::fflush(stdout) == 0 && !std::ferror(stdout) ? 0 : 1;
}

// A file the command reads or writes, as the user learns of it.
struct CommandFile {
    QString role; // "--capture", "the link file"
    std::string path;
};

// Why an output of the command would replace one of its inputs or another
// of its outputs, whatever way the two names lead to one file; empty when
// none does. Said before anything is opened.
QString filesClash(const CliOptions& options)
{
    std::vector<CommandFile> inputs;
    if (!options.file.empty())
        inputs.push_back({QStringLiteral("the link file"), LinkFilePath(options.file)});
    if (!options.stations.empty())
        inputs.push_back({QStringLiteral("the station list"), options.stations});
    std::vector<CommandFile> outputs;
    if (!options.output.empty())
        outputs.push_back({QStringLiteral("--output"), options.command == Command::Read ? LinkFilePath(options.output)
                                                                                       : options.output});
    // backup's --capture names the folder of its captures.
    if (!options.capture.empty() && options.command != Command::Backup)
        outputs.push_back({QStringLiteral("--capture"), options.capture});
    if (!options.metrics.empty())
        outputs.push_back({QStringLiteral("--metrics"), options.metrics});
    const auto name = [](const std::string& path) { return QFile::decodeName(path.c_str()); };
    for (std::size_t i = 0; i < outputs.size(); ++i) {
        for (const CommandFile& input : inputs) {
            if (SameFile(outputs[i].path, input.path))
                return QStringLiteral("%1 \"%2\" would replace %3 \"%4\" the command reads")
                    .arg(outputs[i].role, name(outputs[i].path), input.role, name(input.path));
        }
        for (std::size_t j = 0; j < i; ++j) {
            if (SameFile(outputs[i].path, outputs[j].path))
                return QStringLiteral("%1 and %2 name the same file \"%3\"")
                    .arg(outputs[j].role, outputs[i].role, name(outputs[i].path));
        }
    }
    return {};
}

} // namespace

std::variant<CliOptions, int> ParseCommandLine(const QStringList& arguments)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(QString::fromUtf8(kDescription));
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    const QCommandLineOption help({QStringLiteral("h"), QStringLiteral("help")}, QStringLiteral("Show this text."));
    const QCommandLineOption version({QStringLiteral("v"), QStringLiteral("version")},
                                     QStringLiteral("Show the version."));
    const QCommandLineOption port({QStringLiteral("p"), QStringLiteral("port")},
                                  QStringLiteral("The device's port: a COM number (3 or COM3) as Kalmoria.ini "
                                                 "maps it, a device path (/dev/ttyUSB0), or a port of a serial "
                                                 "device server such as ser2net: tcp://HOST:PORT (raw) or "
                                                 "rfc2217://HOST:PORT, optionally with ?timeout=MS (the wait "
                                                 "for a reply's first byte, default 1500). backup: once for "
                                                 "each station."),
                                  QStringLiteral("P"));
    const QCommandLineOption output({QStringLiteral("o"), QStringLiteral("output")},
                                    QStringLiteral("read: write the links to this link file (a plain "
                                                   "extension such as .cfg becomes .ini, any other name gets "
                                                   ".ini appended; the name written is printed). report: the "
                                                   "PDF file to write."),
                                    QStringLiteral("FILE"));
    const QCommandLineOption json(QStringLiteral("json"),
                                  QStringLiteral("search, info, read, diff, restore --list: print JSON instead of a table."));
    const QCommandLineOption yes({QStringLiteral("y"), QStringLiteral("yes")},
                                 QStringLiteral("write: do not ask before writing."));
    const QCommandLineOption noVerify(QStringLiteral("no-verify"),
                                      QStringLiteral("write, restore: do not read the links back after writing."));
    const QCommandLineOption force(QStringLiteral("force"),
                                   QStringLiteral("write, restore: write links the editor would not allow; with "
                                                  "--yes, write also to another station than the links' or to one "
                                                  "that lacks modules they use. write, diff, report: take the links "
                                                  "before a gap in the file's numbering. read: replace an existing file "
                                                  "that -o names under another name (.ini)."));
    const QCommandLineOption last(QStringLiteral("last"),
                                  QStringLiteral("restore: write the station's newest snapshot back."));
    const QCommandLineOption list(QStringLiteral("list"), QStringLiteral("restore: list the station's snapshots."));
    const QCommandLineOption fast(QStringLiteral("fast"),
                                  QStringLiteral("End each reply as soon as it is whole instead of after the "
                                                 "line has gone quiet (much faster; a device that pauses inside "
                                                 "a reply still works)."));
    const QCommandLineOption quiet({QStringLiteral("q"), QStringLiteral("quiet")},
                                   QStringLiteral("Only errors and the data asked for: no notes, no progress."));
    const QCommandLineOption retries(QStringLiteral("retries"),
                                     QStringLiteral("Repeat a transfer that failed on the line up to N times "
                                                    "(0 to 5, default 2; 0: never)."),
                                     QStringLiteral("N"), QStringLiteral("2"));
    const QCommandLineOption dir(QStringLiteral("dir"),
                                 QStringLiteral("backup: the folder the stations' link files go to, one folder "
                                                "per serial number (made when missing)."),
                                 QStringLiteral("DIR"));
    const QCommandLineOption stations(QStringLiteral("stations"),
                                      QStringLiteral("backup: a file with one port per line, as --port takes "
                                                     "it; blank lines and # comments are left out."),
                                      QStringLiteral("FILE"));
    const QCommandLineOption jobs(QStringLiteral("jobs"),
                                  QStringLiteral("backup: how many stations are read at a time (1 to %1; "
                                                 "default every station, up to %1).")
                                      .arg(kMaxBackupJobs),
                                  QStringLiteral("N"));
    const QCommandLineOption metrics(QStringLiteral("metrics"),
                                     QStringLiteral("backup: write each station's result to this file in the "
                                                    "Prometheus text format (for the node exporter's textfile "
                                                    "collector), replacing it in one step."),
                                     QStringLiteral("FILE"));
    const QCommandLineOption onlyChanged(QStringLiteral("only-changed"),
                                         QStringLiteral("backup: save no new file for a station whose links are "
                                                        "those of its previous backup in DIR."));
    const QCommandLineOption capture(QStringLiteral("capture"),
                                     QStringLiteral("Write every frame sent to and received from the device to "
                                                    "this pcapng file, for Wireshark (see the README). backup: "
                                                    "one capture a station in this folder, named as its backup."),
                                     QStringLiteral("FILE"));
    parser.addOptions({help, version, port, output, json, yes, noVerify, force, last, list, fast, quiet, retries, dir,
                       stations, jobs, metrics, onlyChanged, capture});
    parser.addPositionalArgument(QStringLiteral("command"),
                                 QStringLiteral("search, info, read, write, diff, restore, doctor, backup or "
                                                "report."));
    parser.addPositionalArgument(QStringLiteral("FILE"),
                                 QStringLiteral("The link file of write, diff and restore; report: the one to report."),
                                 QStringLiteral("[FILE]"));

    if (!parser.parse(arguments))
        return usageError(parser.errorText());
    if (parser.isSet(help))
        // Without an application object the parser cannot know the program's name.
        return printed(parser.helpText().replace(QLatin1String("<executable_name>"), QLatin1String("kalmoria-cli"))
                       + QString::fromUtf8(kExitCodes));
    if (parser.isSet(version))
        return printed(QStringLiteral("kalmoria-cli " KALMORIA_VERSION "\n"));

    const QStringList positional = parser.positionalArguments();
    if (positional.isEmpty())
        return usageError(QStringLiteral("a command is missing"));
    CliOptions options;
    const auto named = std::ranges::find_if(
        kCommands, [&](const CommandName& c) { return positional.front() == QLatin1String(c.name); });
    if (named == kCommands.end())
        return usageError(QStringLiteral("unknown command \"%1\"").arg(positional.front()));
    options.command = named->command;

    // restore takes its file from the station's snapshots with --last or --list.
    const bool restoreFromSnapshots =
        options.command == Command::Restore && (parser.isSet(last) || parser.isSet(list));
    const bool takesFile = (options.command == Command::Write || options.command == Command::Diff
                            || options.command == Command::Restore)
                           && !restoreFromSnapshots;
    // report takes a link file where it is given one.
    const bool mayTakeFile = options.command == Command::Report && positional.size() == 2;
    if (takesFile && positional.size() < 2)
        return usageError(options.command == Command::Restore
                              ? QStringLiteral("restore needs a snapshot file, --last or --list")
                              : QStringLiteral("%1 needs a link file").arg(positional.front()));
    if (positional.size() > (takesFile || mayTakeFile ? 2 : 1))
        return usageError(QStringLiteral("unexpected argument \"%1\"").arg(positional.back()));
    if (takesFile || mayTakeFile)
        options.file = ArgumentBytes(positional[1]);
    if (parser.isSet(last) && parser.isSet(list))
        return usageError(QStringLiteral("--last and --list do not go together"));

    // Options that mean nothing to a command are a mistake, not silently ignored.
    struct OptionScope {
        const QCommandLineOption* option;
        std::vector<Command> commands;
    };
    const std::vector<OptionScope> scopes{
        {&output, {Command::Read, Command::Report}},
        {&json, {Command::Search, Command::Info, Command::Read, Command::Diff, Command::Restore}},
        {&yes, {Command::Write, Command::Restore}},
        {&noVerify, {Command::Write, Command::Restore}},
        {&force, {Command::Read, Command::Write, Command::Diff, Command::Restore, Command::Report}},
        {&last, {Command::Restore}},
        {&list, {Command::Restore}},
        {&dir, {Command::Backup}},
        {&stations, {Command::Backup}},
        {&jobs, {Command::Backup}},
        {&metrics, {Command::Backup}},
        {&onlyChanged, {Command::Backup}},
        {&capture, {Command::Search, Command::Info, Command::Read, Command::Write, Command::Diff, Command::Restore,
                    Command::Doctor, Command::Backup, Command::Report}},
    };
    for (const OptionScope& scope : scopes) {
        if (parser.isSet(*scope.option) && std::ranges::find(scope.commands, options.command) == scope.commands.end())
            return usageError(
                QStringLiteral("--%1 does not go with %2").arg(scope.option->names().last(), positional.front()));
    }
    if (parser.isSet(output) && parser.isSet(json))
        return usageError(QStringLiteral("--json prints the links; it does not go with --output"));

    // backup takes a port for each station, each as --port takes one; every
    // other command one port.
    const QStringList ports = parser.values(port);
    if (ports.size() > 1 && options.command != Command::Backup)
        return usageError(QStringLiteral("--port is given more than once; only backup takes several"));
    for (const QString& text : ports) {
        QString problem;
        const std::optional<PortText> parsed = ParsePortText(text, &problem);
        if (!parsed)
            return usageError(!problem.isEmpty() ? problem
                                                 : QStringLiteral("--port takes a COM number from 1 to %1, a device "
                                                                  "path or a network port, not \"%2\"")
                                                       .arg(MaxComPort)
                                                       .arg(text));
        options.portNumber = parsed->number;
        options.portPath = parsed->path;
    }
    if (options.command == Command::Backup) {
        // Each station's read gets its port of its own (fleet/FleetBackup.h).
        options.ports = ports;
        options.portNumber = 0;
        options.portPath.clear();
    }
    if (options.command == Command::Backup) {
        if (!parser.isSet(dir) || parser.value(dir).isEmpty())
            return usageError(QStringLiteral("backup needs the folder to save to: --dir DIR"));
        if (ports.isEmpty() && !parser.isSet(stations))
            return usageError(QStringLiteral("backup needs the stations: --port P (once for each) or --stations FILE"));
        if (parser.isSet(stations) && parser.value(stations).isEmpty())
            return usageError(QStringLiteral("--stations needs a file name"));
        if (parser.isSet(metrics) && parser.value(metrics).isEmpty())
            return usageError(QStringLiteral("--metrics needs a file name"));
        options.dir = ArgumentBytes(parser.value(dir));
        options.metrics = ArgumentBytes(parser.value(metrics));
        options.onlyChanged = parser.isSet(onlyChanged);
        options.stations = ArgumentBytes(parser.value(stations));
        bool jobsOk = !parser.isSet(jobs);
        if (parser.isSet(jobs))
            options.jobs = parser.value(jobs).toInt(&jobsOk);
        if (!jobsOk || (parser.isSet(jobs) && (options.jobs < 1 || options.jobs > kMaxBackupJobs)))
            return usageError(QStringLiteral("--jobs takes a number from 1 to %1, not \"%2\"")
                                  .arg(kMaxBackupJobs)
                                  .arg(parser.value(jobs)));
    }
    if (options.command == Command::Report && parser.value(output).isEmpty())
        return usageError(QStringLiteral("report needs the PDF file to write: -o FILE.pdf"));
    options.capture = ArgumentBytes(parser.value(capture));
    if (parser.isSet(capture) && options.capture.empty())
        return usageError(QStringLiteral("--capture needs a file name"));
    options.output = ArgumentBytes(parser.value(output));
    if (parser.isSet(output) && options.output.empty())
        return usageError(QStringLiteral("--output needs a file name"));
    options.json = parser.isSet(json);
    options.yes = parser.isSet(yes);
    options.verify = !parser.isSet(noVerify);
    options.force = parser.isSet(force);
    options.last = parser.isSet(last);
    options.list = parser.isSet(list);
    options.fast = parser.isSet(fast);
    options.quiet = parser.isSet(quiet);
    bool retriesOk = false;
    options.retries = parser.value(retries).toInt(&retriesOk);
    if (!retriesOk || options.retries < 0 || options.retries > Tvep::MaxRetries)
        return usageError(QStringLiteral("--retries takes a number from 0 to %1, not \"%2\"")
                              .arg(Tvep::MaxRetries)
                              .arg(parser.value(retries)));
    if (const QString clash = filesClash(options); !clash.isEmpty())
        return usageError(clash);
    return options;
}
