#include "tests/i18n/LanguageFixture.h"

#include <QProcess>

#include <filesystem>

namespace {

// The probe runs from a scratch folder under the program's own name.
struct ProbeRun {
    TempDir folder;
    QProcess process;
    std::string output;

    void run(const QStringList& arguments)
    {
        std::filesystem::copy_file(KALMORIA_LANGUAGE_PROBE, folder.file("Kalmoria"));
        process.setWorkingDirectory(QString::fromStdString(folder.path()));
        process.start(QString::fromStdString(folder.file("Kalmoria")), arguments);
        EXPECT_TRUE(process.waitForFinished(10000));
        output = process.readAllStandardOutput().toStdString();
    }
};

} // namespace

TEST(LanguageProcess, MissingOrOutdatedDefaultFileEndsTheProgramWithCode98)
{
    ProbeRun missing;
    missing.run({});
    EXPECT_EQ(missing.process.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(missing.process.exitCode(), 98);
    EXPECT_EQ(missing.output.rfind("box: Fatal error: textfile not found or too old!\r", 0), 0u) << missing.output;
    EXPECT_NE(missing.output.find(missing.folder.file("Kalmoria.TXT") + ": (V000000 < V20150610)"), std::string::npos);
    EXPECT_EQ(missing.output.find("activated="), std::string::npos);

    // A chosen file that is unusable falls back to the default, which is too old as well.
    ProbeRun outdated;
    outdated.folder.write("Kalmoria.TXT", languageFile("Standard", "20150609"));
    outdated.folder.write("KalmoriaEN.TXT", languageFile("English", "20150609"));
    outdated.run({"KalmoriaEN.TXT"});
    EXPECT_EQ(outdated.process.exitCode(), 98);
    EXPECT_NE(outdated.output.find("KalmoriaEN.TXT: (V20150609 < V20150610)"), std::string::npos);
    EXPECT_NE(outdated.output.find("Kalmoria.TXT: (V20150609 < V20150610)"), std::string::npos);
}

TEST(LanguageProcess, DebugBitOneLogsActivationAndMissingTexts)
{
    ProbeRun run;
    run.folder.write("Kalmoria.TXT", languageFile("Standard", "20150610"));
    run.folder.write("DEBUG", "1");
    run.run({"KalmoriaGONE.TXT"});
    EXPECT_EQ(run.process.exitCode(), 0);
    EXPECT_NE(run.output.find("activated=0 text=@77"), std::string::npos) << run.output;
    const std::string log = run.folder.read("Problem2.TXT");
    EXPECT_NE(log.find(">Text_AktiviereSprache: Kalmoria.TXT: 0Fehler<"), std::string::npos) << log;
    EXPECT_NE(log.find(">  Vermisse F_Probe.T77<"), std::string::npos) << log;
}
