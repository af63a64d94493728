#include "tests/app/ProgramCopy.h"
#include "tests/common/TempDir.h"

#include <QProcess>
#include <gtest/gtest.h>

#include <filesystem>
#include <set>

namespace {

std::set<std::string> filesIn(const TempDir& folder)
{
    std::set<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder.path()))
        names.insert(entry.path().filename().string());
    return names;
}

const std::string kUseTheCli = "use kalmoria-cli for device work without a desktop.\n";

} // namespace

// The real program started as over an SSH session: no display, and no
// platform chosen unless the case names one. It must answer with an exit
// code, never abort, and leave its folder and the settings folder as they were.
TEST(ProgramStart, WithoutADisplayItAnswersPlainlyAndWritesNothing)
{
    struct Case {
        QStringList arguments;
        QString platform;  // QT_QPA_PLATFORM; empty: unset
        bool debugMarker;  // a DEBUG marker in the program folder
        int exitCode;
        std::string output; // a part of standard output; empty: nothing
        std::string errors; // standard error, after Qt's own warnings
    };
    const Case cases[] = {
        {{"--version"}, {}, true, 0, "Kalmoria 1.30\n", ""},
        {{"-h"}, {}, false, 0, "  -v, --version  show the version\n", ""},
        {{"--versions"}, {}, false, 1, "", "Kalmoria: unknown option \"--versions\" (see Kalmoria --help)\n"},
        {{"--help", "links.ini"}, {}, false, 1, "", "Kalmoria: unexpected argument \"links.ini\" (see Kalmoria --help)\n"},
        {{}, {}, false, 1, "",
         "Kalmoria needs a graphical desktop and none is set (no DISPLAY, WAYLAND_DISPLAY or QT_QPA_PLATFORM); " +
             kUseTheCli},
        {{}, "xcb", false, 1, "", "Kalmoria could not open its window on the desktop (QT_QPA_PLATFORM=xcb); " + kUseTheCli},
        // Qt's own options are Qt's: they are neither refused nor taken for Kalmoria's.
        {{"-style", "Fusion", "--version"}, {}, false, 0, "Kalmoria 1.30\n", ""},
        {{"-platform"}, {}, false, 1, "", "Kalmoria: option \"-platform\" needs a value (see Kalmoria --help)\n"},
        {{"-platform", "xcb"}, {}, false, 1, "", "Kalmoria could not open its window on the desktop (-platform xcb); " + kUseTheCli},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.arguments.join(' ').toStdString() + " on platform " + c.platform.toStdString());
        TempDir program;
        TempDir config;
        const std::string kalmoria = CopyProgramInto(program);
        if (c.debugMarker)
            program.write("DEBUG", "2\r\n");
        const std::set<std::string> before = filesIn(program);

        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
            environment.remove(QString::fromLatin1(name));
        if (!c.platform.isEmpty())
            environment.insert(QStringLiteral("QT_QPA_PLATFORM"), c.platform);
        environment.insert(QStringLiteral("XDG_CONFIG_HOME"), QString::fromStdString(config.path()));
        QProcess process;
        process.setProcessEnvironment(environment);
        process.setWorkingDirectory(QString::fromStdString(program.path()));
        process.start(QString::fromStdString(kalmoria), c.arguments);
        ASSERT_TRUE(process.waitForFinished(20000));

        EXPECT_EQ(process.exitStatus(), QProcess::NormalExit);
        EXPECT_EQ(process.exitCode(), c.exitCode);
        const std::string output = process.readAllStandardOutput().toStdString();
        const std::string errors = process.readAllStandardError().toStdString();
        if (c.output.empty())
            EXPECT_EQ(output, "");
        else
            EXPECT_NE(output.find(c.output), std::string::npos) << output;
        // Only a platform that was tried has Qt's warnings in front.
        if (c.platform.isEmpty() && !c.arguments.contains(QStringLiteral("-platform")))
            EXPECT_EQ(errors, c.errors);
        else
            EXPECT_TRUE(errors.ends_with(c.errors)) << errors;
        EXPECT_EQ(filesIn(program), before);
        EXPECT_TRUE(filesIn(config).empty());
    }
}

// A desktop's theme tool or a user starts the program with Qt's options:
// the window opens with them, and Qt, not Kalmoria, takes them.
TEST(ProgramStart, QtsOwnOptionsReachQt)
{
    TempDir program;
    TempDir config;
    config.write("Kalmoria.ini", "[Schnittstellen]\r\n");
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.remove(QStringLiteral("QT_QPA_PLATFORM"));
    environment.insert(QStringLiteral("XDG_CONFIG_HOME"), QString::fromStdString(config.path()));
    QProcess process;
    process.setProcessEnvironment(environment);
    process.setWorkingDirectory(QString::fromStdString(program.path()));
    process.start(QString::fromStdString(CopyProgramInto(program)),
                  {QStringLiteral("-platform"), QStringLiteral("offscreen"), QStringLiteral("-style"),
                   QStringLiteral("Fusion"), QStringLiteral("-widgetcount")});
    ASSERT_TRUE(process.waitForStarted());
    // The window is up and stays: the options were not refused.
    EXPECT_FALSE(process.waitForFinished(3000));
    process.terminate();
    ASSERT_TRUE(process.waitForFinished(20000));
    const std::string errors = process.readAllStandardError().toStdString();
    EXPECT_EQ(errors.find("Kalmoria:"), std::string::npos) << errors;
    // -widgetcount is Qt's: it counts the window's widgets as the program ends.
    EXPECT_NE(errors.find("Max widgets:"), std::string::npos) << errors;
}
