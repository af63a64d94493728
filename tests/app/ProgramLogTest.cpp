#include "tests/app/ProgramCopy.h"
#include "tests/common/QmxSim.h"
#include "tests/common/StationBuilder.h"
#include "tests/common/TempDir.h"

#include <QElapsedTimer>
#include <QProcess>
#include <QTest>
#include <gtest/gtest.h>

#include <sstream>

namespace {

std::vector<std::string> lines(const std::string& text)
{
    std::vector<std::string> result;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        result.push_back(line);
    }
    return result;
}

bool endsWith(const std::string& text, const std::string& tail)
{
    return text.size() >= tail.size() && text.compare(text.size() - tail.size(), tail.size(), tail) == 0;
}

// The real program, copied into a folder whose DEBUG marker holds 2, ended
// the way a user's session ends it: by SIGTERM.
class ProgramLog : public testing::Test {
protected:
    void SetUp() override
    {
        CopyProgramInto(program);
        program.write("DEBUG", "2\r\n");
    }

    // Starts the program with these settings and ends it once it has logged
    // its start line from the main window's creation.
    void runAndEnd(const std::string& settings)
    {
        config.write("Kalmoria.ini", settings);
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        environment.insert(QStringLiteral("XDG_CONFIG_HOME"), QString::fromStdString(config.path()));
        kalmoria.setProcessEnvironment(environment);
        kalmoria.setWorkingDirectory(QString::fromStdString(program.path()));
        kalmoria.start(QString::fromStdString(program.file("Kalmoria")), {});
        ASSERT_TRUE(kalmoria.waitForStarted(5000));

        QElapsedTimer waited;
        waited.start();
        while (program.read("Problem2.TXT").find(">Kalmorin-Start<") == std::string::npos && waited.elapsed() < 10000)
            QTest::qWait(20);
        kalmoria.terminate();
        ASSERT_TRUE(kalmoria.waitForFinished(5000));
        EXPECT_EQ(kalmoria.exitStatus(), QProcess::NormalExit);
        EXPECT_EQ(kalmoria.exitCode(), 0);
    }

    std::vector<std::string> log() const { return lines(program.read("Problem2.TXT")); }

    TempDir program;
    TempDir config;
    QProcess kalmoria;
};

} // namespace

TEST_F(ProgramLog, AStartAndANormalEndAreLoggedAtLevel2)
{
    runAndEnd("[Schnittstellen]\r\n");
    const std::vector<std::string> lines = log();
    ASSERT_GE(lines.size(), 3u);
    EXPECT_TRUE(endsWith(lines[0], "  > [Neustart Korvex-32 PC-Programm , DbgFlag=$02]<")) << lines[0];
    EXPECT_TRUE(endsWith(lines[1], "  >Kalmorin-Start<")) << lines[1];
    EXPECT_TRUE(endsWith(lines.back(), "  >[Ende PC-Programm , (Dbg=2), RT 0 at 000000]<")) << lines.back();
    EXPECT_FALSE(program.exists("Problem1.TXT"));
}

TEST_F(ProgramLog, AnEndAskedForDuringThePortSearchIsNotLost)
{
    // A silent device keeps the start-up search busy for a second and a half.
    TempDir images;
    images.write("device.ini", StationBuilder().DeviceImage());
    const QmxSim silent(images.file("device.ini"), {QStringLiteral("--silent")});
    ASSERT_FALSE(silent.path().empty());

    runAndEnd("[Schnittstellen]\r\nCOM1=" + silent.path() + "\r\n");
    EXPECT_TRUE(endsWith(log().back(), "  >[Ende PC-Programm , (Dbg=2), RT 0 at 000000]<")) << log().back();
}
