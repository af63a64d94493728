#include "cli/CliOptions.h"
#include "core/StationPort.h"

#include "diag/ArgumentBytes.h"
#include "cli/CommandLineTexts.h"
#include "cli/ExitCode.h"
#include "transports/ComPortMap.h"
#include "transports/PortAddress.h"
#include "diag/Version.h"
#include "io/SameFile.h"
#include "model/LinkFile.h"
#include "protocol/Tvep.h"

#include <QCommandLineParser>
#include <QFile>
#include <QRegularExpression>

#include <algorithm>
#include <array>
#include <cstdio>
#include <vector>

namespace {

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

QString text(CliText id)
{
    return CommandLineText(id);
}

int usageError(const QString& problem)
{
    std::fprintf(stderr, "%s%s %s\n", ErrorLinePrefix().c_str(), problem.toLocal8Bit().constData(),
                 text(CliText::SeeHelp).toLocal8Bit().constData());
    return toInt(ExitCode::Usage);
}

// How many single letters must change, go or come, or two neighbours swap,
// to make `typed` into `name`.
int editDistance(const QString& typed, const QString& name)
{
    const auto n = typed.size();
    const auto m = name.size();
    std::vector<std::vector<int>> d(static_cast<std::size_t>(n + 1), std::vector<int>(static_cast<std::size_t>(m + 1)));
    for (qsizetype i = 0; i <= n; ++i)
        d[i][0] = static_cast<int>(i);
    for (qsizetype j = 0; j <= m; ++j)
        d[0][j] = static_cast<int>(j);
    for (qsizetype i = 1; i <= n; ++i) {
        for (qsizetype j = 1; j <= m; ++j) {
            const int cost = typed[i - 1] == name[j - 1] ? 0 : 1;
            d[i][j] = std::min({d[i - 1][j] + 1, d[i][j - 1] + 1, d[i - 1][j - 1] + cost});
            if (i > 1 && j > 1 && typed[i - 1] == name[j - 2] && typed[i - 2] == name[j - 1])
                d[i][j] = std::min(d[i][j], d[i - 2][j - 2] + 1);
        }
    }
    return d[n][m];
}

// The one of `names` a slip of the fingers most likely made into `typed`:
// a letter or two off, or the start of a longer name. Empty when none is
// that close.
QString nearestName(const QString& typed, const QStringList& names)
{
    QString nearest;
    int best = typed.size() >= 4 ? 2 : 1;
    for (const QString& name : names) {
        const int distance = typed.size() >= 3 && name.startsWith(typed) ? 1 : editDistance(typed, name);
        if (distance <= best && (nearest.isEmpty() || distance < best)) {
            nearest = name;
            best = distance;
        }
    }
    return nearest;
}

QString withSuggestion(const QString& problem, const QString& meant)
{
    return meant.isEmpty() ? problem : problem + QStringLiteral("; ") + text(CliText::DidYouMean).arg(meant);
}

// What went wrong in the parser's own check, in the program's language: an
// option nobody knows (with the one meant), one without its value, one with
// a value it does not take.
QString parseProblem(const QCommandLineParser& parser, const QList<QCommandLineOption>& options)
{
    if (!parser.unknownOptionNames().isEmpty()) {
        QStringList names;
        for (const QCommandLineOption& option : options)
            names << option.names().last();
        const QString typed = parser.unknownOptionNames().first();
        const QString meant = nearestName(typed, names);
        return withSuggestion(text(CliText::UnknownOption).arg(QStringLiteral("--") + typed),
                              meant.isEmpty() ? QString() : QStringLiteral("--") + meant);
    }
    // Qt names the option as typed, between quotes.
    const QString error = parser.errorText();
    const QRegularExpressionMatch quoted = QRegularExpression(QStringLiteral("'(.*)'")).match(error);
    if (quoted.hasMatch() && error.startsWith(QLatin1String("Missing value")))
        return text(CliText::MissingValue).arg(quoted.captured(1));
    if (quoted.hasMatch() && error.startsWith(QLatin1String("Unexpected value")))
        return text(CliText::UnexpectedValue).arg(quoted.captured(1));
    return error;
}

// The parser's help text with its headings in the program's language.
QString helpText(const QCommandLineParser& parser)
{
    QString help = parser.helpText();
    // Without an application object the parser cannot know the program's name.
    help.replace(QLatin1String("<executable_name>"), QLatin1String("kalmoria-cli"));
    help.replace(QRegularExpression(QStringLiteral("^Usage:")), text(CliText::HelpUsage));
    help.replace(QLatin1String(" [options] "), QLatin1Char(' ') + text(CliText::HelpOptionsWord) + QLatin1Char(' '));
    help.replace(QLatin1String("\nOptions:\n"), QLatin1Char('\n') + text(CliText::HelpOptions) + QLatin1Char('\n'));
    help.replace(QLatin1String("\nArguments:\n"), QLatin1Char('\n') + text(CliText::HelpArguments) + QLatin1Char('\n'));
    return help + text(CliText::ExitCodes);
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
        inputs.push_back({text(CliText::TheLinkFile), LinkFilePath(options.file)});
    if (!options.stations.empty())
        inputs.push_back({text(CliText::TheStationList), options.stations});
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
                return text(CliText::OutputReplacesInput)
                    .arg(outputs[i].role, name(outputs[i].path), input.role, name(input.path));
        }
        for (std::size_t j = 0; j < i; ++j) {
            if (SameFile(outputs[i].path, outputs[j].path))
                return text(CliText::OutputsNameOneFile).arg(outputs[j].role, outputs[i].role, name(outputs[i].path));
        }
    }
    return {};
}

} // namespace

std::variant<CliOptions, int> ParseCommandLine(const QStringList& arguments, const QStringList& languages)
{
    const QString file = text(CliText::ValueFile);
    QCommandLineParser parser;
    parser.setApplicationDescription(text(CliText::Description));
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    const QCommandLineOption help({QStringLiteral("h"), QStringLiteral("help")}, text(CliText::OptionHelp));
    const QCommandLineOption version({QStringLiteral("v"), QStringLiteral("version")}, text(CliText::OptionVersion));
    const QCommandLineOption port({QStringLiteral("p"), QStringLiteral("port")}, text(CliText::OptionPort),
                                  QStringLiteral("P"));
    const QCommandLineOption output({QStringLiteral("o"), QStringLiteral("output")}, text(CliText::OptionOutput), file);
    const QCommandLineOption json(QStringLiteral("json"), text(CliText::OptionJson));
    const QCommandLineOption yes({QStringLiteral("y"), QStringLiteral("yes")}, text(CliText::OptionYes));
    const QCommandLineOption noVerify(QStringLiteral("no-verify"), text(CliText::OptionNoVerify));
    const QCommandLineOption force(QStringLiteral("force"), text(CliText::OptionForce));
    const QCommandLineOption last(QStringLiteral("last"), text(CliText::OptionLast));
    const QCommandLineOption list(QStringLiteral("list"), text(CliText::OptionList));
    const QCommandLineOption fast(QStringLiteral("fast"), text(CliText::OptionFast));
    const QCommandLineOption quiet({QStringLiteral("q"), QStringLiteral("quiet")}, text(CliText::OptionQuiet));
    const QCommandLineOption retries(QStringLiteral("retries"), text(CliText::OptionRetries), QStringLiteral("N"),
                                     QStringLiteral("2"));
    const QCommandLineOption dir(QStringLiteral("dir"), text(CliText::OptionDir), text(CliText::ValueDir));
    const QCommandLineOption stations(QStringLiteral("stations"), text(CliText::OptionStations), file);
    const QCommandLineOption jobs(QStringLiteral("jobs"), text(CliText::OptionJobs).arg(kMaxBackupJobs),
                                  QStringLiteral("N"));
    const QCommandLineOption metrics(QStringLiteral("metrics"), text(CliText::OptionMetrics), file);
    const QCommandLineOption onlyChanged(QStringLiteral("only-changed"), text(CliText::OptionOnlyChanged));
    const QCommandLineOption capture(QStringLiteral("capture"), text(CliText::OptionCapture), file);
    const QCommandLineOption lang(QStringLiteral("lang"), text(CliText::OptionLang), QStringLiteral("LANG"));
    const QList<QCommandLineOption> known{help,  version, port,  output,  json, yes,      noVerify,
                                          force, last,    list,  fast,    quiet, retries, dir,
                                          stations, jobs, metrics, onlyChanged, capture, lang};
    parser.addOptions(known);
    parser.addPositionalArgument(text(CliText::ValueCommand), text(CliText::ArgumentCommand));
    parser.addPositionalArgument(file, text(CliText::ArgumentFile), QLatin1Char('[') + file + QLatin1Char(']'));

    if (!parser.parse(arguments))
        return usageError(parseProblem(parser, known));
    if (parser.isSet(help))
        return printed(helpText(parser));
    if (parser.isSet(version))
        return printed(QStringLiteral("kalmoria-cli " KALMORIA_VERSION "\n"));
    // Without any language file the program ends with code 98 further on.
    if (parser.isSet(lang) && !languages.isEmpty() && !languages.contains(parser.value(lang).toLower()))
        return usageError(text(CliText::LangUnknown).arg(languages.join(QStringLiteral(", ")), parser.value(lang)));

    const QStringList positional = parser.positionalArguments();
    if (positional.isEmpty())
        return usageError(text(CliText::CommandMissing));
    CliOptions options;
    const auto named = std::ranges::find_if(
        kCommands, [&](const CommandName& c) { return positional.front() == QLatin1String(c.name); });
    if (named == kCommands.end()) {
        QStringList commands;
        for (const CommandName& command : kCommands)
            commands << QLatin1String(command.name);
        return usageError(withSuggestion(text(CliText::UnknownCommand).arg(positional.front()),
                                         nearestName(positional.front(), commands)));
    }
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
        return usageError(options.command == Command::Restore ? text(CliText::RestoreNeedsFile)
                                                                     : text(CliText::NeedsLinkFile).arg(positional.front()));
    if (positional.size() > (takesFile || mayTakeFile ? 2 : 1))
        return usageError(text(CliText::UnexpectedArgument).arg(positional.back()));
    if (takesFile || mayTakeFile)
        options.file = ArgumentBytes(positional[1]);
    if (parser.isSet(last) && parser.isSet(list))
        return usageError(text(CliText::LastAndList));

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
            return usageError(text(CliText::OptionNotWithCommand)
                                  .arg(QStringLiteral("--") + scope.option->names().last(), positional.front()));
    }
    if (parser.isSet(output) && parser.isSet(json))
        return usageError(text(CliText::JsonNotWithOutput));

    // backup takes a port for each station, each as --port takes one; every
    // other command one port.
    const QStringList ports = parser.values(port);
    if (ports.size() > 1 && options.command != Command::Backup)
        return usageError(text(CliText::PortMoreThanOnce));
    for (const QString& given : ports) {
        QString problem;
        const std::optional<PortText> parsed = ParsePortText(given, &problem);
        if (!parsed)
            return usageError(!problem.isEmpty() ? problem : text(CliText::PortNotValid).arg(MaxComPort).arg(given));
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
            return usageError(text(CliText::BackupNeedsDir));
        if (ports.isEmpty() && !parser.isSet(stations))
            return usageError(text(CliText::BackupNeedsStations));
        if (parser.isSet(stations) && parser.value(stations).isEmpty())
            return usageError(text(CliText::StationsNeedsFile));
        if (parser.isSet(metrics) && parser.value(metrics).isEmpty())
            return usageError(text(CliText::MetricsNeedsFile));
        options.dir = ArgumentBytes(parser.value(dir));
        options.metrics = ArgumentBytes(parser.value(metrics));
        options.onlyChanged = parser.isSet(onlyChanged);
        options.stations = ArgumentBytes(parser.value(stations));
        bool jobsOk = !parser.isSet(jobs);
        if (parser.isSet(jobs))
            options.jobs = parser.value(jobs).toInt(&jobsOk);
        if (!jobsOk || (parser.isSet(jobs) && (options.jobs < 1 || options.jobs > kMaxBackupJobs)))
            return usageError(text(CliText::JobsOutOfRange).arg(kMaxBackupJobs).arg(parser.value(jobs)));
    }
    if (options.command == Command::Report && parser.value(output).isEmpty())
        return usageError(text(CliText::ReportNeedsOutput));
    options.capture = ArgumentBytes(parser.value(capture));
    if (parser.isSet(capture) && options.capture.empty())
        return usageError(text(CliText::CaptureNeedsFile));
    options.output = ArgumentBytes(parser.value(output));
    if (parser.isSet(output) && options.output.empty())
        return usageError(text(CliText::OutputNeedsFile));
    options.json = parser.isSet(json);
    options.yes = parser.isSet(yes);
    options.verify = !parser.isSet(noVerify);
    options.force = parser.isSet(force);
    options.last = parser.isSet(last);
    options.list = parser.isSet(list);
    options.fast = parser.isSet(fast);
    options.quiet = parser.isSet(quiet);
    options.language = parser.value(lang).toLower().toStdString();
    bool retriesOk = false;
    options.retries = parser.value(retries).toInt(&retriesOk);
    if (!retriesOk || options.retries < 0 || options.retries > Tvep::MaxRetries)
        return usageError(text(CliText::RetriesOutOfRange).arg(Tvep::MaxRetries).arg(parser.value(retries)));
    if (const QString clash = filesClash(options); !clash.isEmpty())
        return usageError(clash);
    return options;
}

QString RequestedLanguage(const QStringList& arguments)
{
    QString requested;
    for (qsizetype i = 1; i < arguments.size(); ++i) {
        const QString& argument = arguments[i];
        if (argument == QLatin1String("--"))
            break;
        if ((argument == QLatin1String("--lang") || argument == QLatin1String("-lang")) && i + 1 < arguments.size())
            requested = arguments[++i];
        else if (argument.startsWith(QLatin1String("--lang=")) || argument.startsWith(QLatin1String("-lang=")))
            requested = argument.mid(argument.indexOf(QLatin1Char('=')) + 1);
    }
    return requested.toLower();
}
