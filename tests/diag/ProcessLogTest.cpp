#include "tests/common/TempDir.h"

#include <QProcess>
#include <gtest/gtest.h>

#include <filesystem>

namespace {

// Runs a copy of the probe from a scratch folder, which is then its program
// folder: the marker files placed there switch its log on.
struct ProbeRun {
    TempDir folder;
    QProcess process;

    ProbeRun(const std::string& debugLevel, const QStringList& arguments)
    {
        std::filesystem::copy_file(KALMORIA_LOG_PROBE, folder.file("probe"));
        if (!debugLevel.empty())
            folder.write("DEBUG", debugLevel);
        process.setWorkingDirectory(QString::fromStdString(folder.path()));
        process.start(QString::fromStdString(folder.file("probe")), arguments);
        EXPECT_TRUE(process.waitForFinished(10000));
    }
    // The log without its time stamps.
    std::string messages() const
    {
        std::string text;
        const std::string log = folder.read("Problem2.TXT");
        for (std::size_t begin = 0, end; (end = log.find("\r\n", begin)) != std::string::npos; begin = end + 2)
            text += log.substr(log.find('>', begin) + 1, end - log.find('>', begin) - 1) + "\n";
        return text;
    }
};

} // namespace

TEST(ProcessLog, NormalEndAndExitProgramWriteTheirExitCode)
{
    ProbeRun normal("40", {});
    EXPECT_EQ(normal.process.exitCode(), 0);
    EXPECT_EQ(normal.messages(), " [Neustart Korvex-32 PC-Programm , DbgFlag=$28]<\n"
                                 "probe running<\n"
                                 "[Ende PC-Programm , (Dbg=40), RT 0 at 000000]<\n");

    ProbeRun exiting("40", {"exit"});
    EXPECT_EQ(exiting.process.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(exiting.process.exitCode(), 98);
    EXPECT_NE(exiting.messages().find("[Ende PC-Programm , (Dbg=40), RT 98 at 000000]<\n"), std::string::npos);
}

TEST(ProcessLog, ACrashWritesItsEndLineAlsoWithTheLogOff)
{
    struct Case {
        std::string debugLevel; // empty: no marker file
        QStringList arguments;
        std::string messages;
    };
    const Case cases[] = {
        {"40", {"segv", "0xBEE0"},
         " [Neustart Korvex-32 PC-Programm , DbgFlag=$28]<\n"
         "probe running<\n"
         "[Ende PC-Programm , (Dbg=40), RT 139 at 00BEE0]<\n"},
        {"2", {"throw"},
         " [Neustart Korvex-32 PC-Programm , DbgFlag=$02]<\n"
         "probe running<\n"
         "[Ende PC-Programm , (Dbg=2), RT 134 at 000000]<\n"},
        {"", {"segv", "0xBEE0"}, "[Ende PC-Programm , (Dbg=0), RT 139 at 00BEE0]<\n"},
        {"", {"throw"}, "[Ende PC-Programm , (Dbg=0), RT 134 at 000000]<\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.arguments.join(' ').toStdString() + " with DEBUG " + c.debugLevel);
        ProbeRun crash(c.debugLevel, c.arguments);
        EXPECT_TRUE(crash.process.exitStatus() == QProcess::CrashExit || crash.process.exitCode() != 0);
        EXPECT_EQ(crash.messages(), c.messages);
    }
}
