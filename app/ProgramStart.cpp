#include "app/ProgramStart.h"

#include "app/QtOptions.h"

#include "diag/ErrLog.h"
#include "diag/Version.h"

#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

namespace {

constexpr const char* kWithoutDesktop = "use kalmoria-cli for device work without a desktop";

constexpr const char* kUsage = R"(Usage: Kalmoria [--help | --version] [Qt options]

Reads the module list and the bit links of a QMX central device over RS232,
lets you edit the links and writes them back to the device. Kalmoria needs a
graphical desktop; use kalmoria-cli for device work without one.

  -h, --help     show this text
  -v, --version  show the version

Qt's own options (-style Fusion, -platform NAME, -reverse, -stylesheet FILE,
...) are left to Qt.

Settings: Kalmoria.ini in $XDG_CONFIG_HOME (else ~/.config).
Diagnostic log: Problem2.TXT beside the program, written only while a marker
file is there (DEBUG, DEBUG1 or DEBUGSPS beside the program, SAVE_ERR in the
working folder).
)";

// The desktop the command line or the environment names, as "NAME=value"
// pairs; empty when none.
std::string configuredDesktop(int argc, char** argv)
{
    std::string named;
    if (const std::optional<std::string_view> platform = PlatformOption(argc, argv))
        named = "-platform " + std::string(*platform);
    for (const char* name : {"QT_QPA_PLATFORM", "WAYLAND_DISPLAY", "DISPLAY"}) {
        const char* value = std::getenv(name);
        if (value == nullptr || *value == '\0')
            continue;
        if (!named.empty())
            named += ", ";
        named += std::string(name) + "=" + value;
    }
    return named;
}

// Exit code 0 only when the text really went out (not into a closed pipe).
int printed(const char* text)
{
    std::fputs(text, stdout);
    return std::fflush(stdout) == 0 && !std::ferror(stdout) ? 0 : 1;
}

QtMessageHandler g_qtMessages = nullptr;
std::string g_desktop; // as configuredDesktop() named it before Qt read the arguments

// Qt aborts after a fatal message. While the application is being created,
// such a message means the desktop cannot be reached; Qt's warnings before it
// say why, so they pass on unchanged.
void endOnFatalMessage(QtMsgType type, const QMessageLogContext& context, const QString& message)
{
    if (type != QtFatalMsg) {
        g_qtMessages(type, context, message);
        return;
    }
    std::fprintf(stderr, "Kalmoria could not open its window on the desktop (%s); %s.\n",
                 g_desktop.c_str(), kWithoutDesktop);
    ErrLogShutdown(1);
    // Qt is half set up: no destructor may run now.
    std::_Exit(1);
}

} // namespace

std::optional<int> EndBeforeWindow(int argc, char** argv)
{
    bool help = false;
    bool version = false;
    for (int i = 1; i < argc; ++i) {
        const std::string_view argument = argv[i];
        if (const int qtOption = QtOptionLength(argc, argv, i); qtOption > 0) {
            i += qtOption - 1;
        } else if (qtOption < 0) {
            std::fprintf(stderr, "Kalmoria: option \"%s\" needs a value (see Kalmoria --help)\n", argv[i]);
            return 1;
        } else if (argument == "-h" || argument == "--help") {
            help = true;
        } else if (argument == "-v" || argument == "--version") {
            version = true;
        } else {
            std::fprintf(stderr, "Kalmoria: %s \"%s\" (see Kalmoria --help)\n",
                         argument.starts_with('-') ? "unknown option" : "unexpected argument", argv[i]);
            return 1;
        }
    }
    if (help)
        return printed(kUsage);
    if (version)
        return printed("Kalmoria " KALMORIA_VERSION "\n");
    if (configuredDesktop(argc, argv).empty()) {
        std::fprintf(stderr,
                     "Kalmoria needs a graphical desktop and none is set (no DISPLAY, WAYLAND_DISPLAY or "
                     "QT_QPA_PLATFORM); %s.\n",
                     kWithoutDesktop);
        return 1;
    }
    return std::nullopt;
}

std::unique_ptr<QApplication> OpenDesktop(int& argc, char** argv)
{
    // Qt removes its own options from the arguments as it reads them: the
    // desktop they name is noted first, for the message of a failure.
    g_desktop = configuredDesktop(argc, argv);
    g_qtMessages = qInstallMessageHandler(endOnFatalMessage);
    auto app = std::make_unique<QApplication>(argc, argv);
    qInstallMessageHandler(g_qtMessages);
    return app;
}
