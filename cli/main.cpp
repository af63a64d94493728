#include "diag/ArgumentBytes.h"
#include "cli/CaptureOption.h"
#include "cli/CliOptions.h"
#include "cli/Commands.h"
#include "cli/CommandLineTexts.h"
#include "cli/ConsoleMessages.h"
#include "cli/ConsoleView.h"
#include "cli/DeviceSession.h"
#include "diag/AnsiText.h"
#include "diag/ErrLog.h"
#include "diag/ProgramFolder.h"
#include "i18n/LanguageChoice.h"
#include "i18n/LanguageTexts.h"

#include <QCoreApplication>
#include <QGuiApplication>

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <variant>

namespace {

// kalmoria-cli speaks with the language files of the program beside it.
constexpr const char* kLanguageBaseName = "Kalmoria";

QStringList argumentList(int argc, char** argv)
{
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments << ArgumentText(argv[i]);
    return arguments;
}

ExitCode runCommand(CommandContext& context)
{
    switch (context.options.command) {
    case Command::Search: return RunSearch(context);
    case Command::Info: return RunInfo(context);
    case Command::Read: return RunRead(context);
    case Command::Write: return RunWrite(context);
    case Command::Diff: return RunDiff(context);
    case Command::Restore: return RunRestore(context);
    case Command::Doctor: return RunDoctor(context);
    case Command::Backup: return RunBackup(context);
    case Command::Report: return RunReport(context);
    }
    return ExitCode::Usage;
}

ExitCode run(const CliOptions& options)
{
    ConsoleMessages messages(options.quiet);
    ConsoleView view(options.quiet);
    ActivateLanguageWithoutMenu(options.language);
    // A file that could not be used fell back to the default file's language.
    SetCommandLineLanguage(KursSprache());

    DeviceSession session(options, messages, view);
    CommandContext context{options, session, messages, {}};
    // The inputs are read first: an output must never begin before its
    // command has what it reads, and a file that cannot be read costs no
    // device traffic.
    if (!options.file.empty()) {
        std::variant<LinkFileLoad, ExitCode> load = LoadCommandLinkFile(context);
        if (const ExitCode* failed = std::get_if<ExitCode>(&load))
            return *failed;
        context.file = std::move(std::get<LinkFileLoad>(load));
    }
    CommandCapture capture(options, messages, session.Frames());
    if (capture.failure())
        return *capture.failure();
    return capture.Finish(runCommand(context));
}

// Only the report lays out text and draws: it alone needs Qt's GUI
// application, on the offscreen platform where none is chosen, so that it
// runs without a display as every other command does without any platform.
std::unique_ptr<QCoreApplication> applicationFor(Command command, int& argc, char** argv)
{
    if (command != Command::Report)
        return std::make_unique<QCoreApplication>(argc, argv);
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    // Qt's notes on the platform it starts (such as the runtime folder it
    // chose where the session has none) are no message of the command: they
    // go to the log. Errors stay on the console.
    qInstallMessageHandler([](QtMsgType type, const QMessageLogContext& context, const QString& text) {
        if (type == QtCriticalMsg || type == QtFatalMsg)
            std::fprintf(stderr, "%s\n", qFormatLogMessage(type, context, text).toLocal8Bit().constData());
        else
            WriteErrLog("Qt: " + qStringToAnsi(text));
    });
    return std::make_unique<QGuiApplication>(argc, argv);
}

// The languages --lang takes: those the language files beside the program speak.
QStringList spokenLanguages()
{
    QStringList codes;
    const auto add = [&codes](const std::string& code) {
        if (!code.empty() && !codes.contains(QString::fromStdString(code)))
            codes << QString::fromStdString(code);
    };
    add(LanguageOfFile({}));
    for (const LanguageFile& file : ListLanguageFiles(kLanguageFileMinimumVersion))
        add(LanguageOfFile(file.fileName));
    return codes;
}

} // namespace

int main(int argc, char** argv)
{
    // A file size limit (ulimit -f) makes a save fail with an error the
    // command reports (exit 3), instead of ending the program unasked.
    std::signal(SIGXFSZ, SIG_IGN);
    // Help, version and mistakes on the command line end before the log
    // starts, in the language the command's messages would have.
    const QStringList arguments = argumentList(argc, argv);
    ResetLanguageTexts(programFolder(), kLanguageBaseName);
    SetCommandLineLanguage(LanguageOfFile(LanguageFileWithoutMenu(RequestedLanguage(arguments).toStdString())));
    const std::variant<CliOptions, int> parsed = ParseCommandLine(arguments, spokenLanguages());
    if (const int* endedEarly = std::get_if<int>(&parsed))
        return *endedEarly;

    ErrLogStartup();
    int exitCode = 0;
    {
        const CliOptions& options = std::get<CliOptions>(parsed);
        const std::unique_ptr<QCoreApplication> app = applicationFor(options.command, argc, argv);
        QCoreApplication::setApplicationName(QStringLiteral("kalmoria-cli"));
        exitCode = toInt(run(options));
    }
    ErrLogShutdown(exitCode);
    return exitCode;
}
