#include "tests/cli/CliProcess.h"
#include "tests/common/PdfText.h"
#include "tests/common/QmxSim.h"

#include <QDir>
#include <gtest/gtest.h>

#include <cstdlib>

namespace {

// The CLI tests' station with two links, the second inactive.
std::string stationImage()
{
    return cliStation().Link({7, 100, 0, 4, 12, 300, 0, 0}).Link({12, 150, 0, 16, 7, 350, 0, 1}).DeviceImage();
}

bool contains(const std::string& text, const std::string& part)
{
    return text.find(part) != std::string::npos;
}

class CliReport : public testing::Test {
protected:
    void SetUp() override
    {
        cli.files.write("station.ini", stationImage());
        device = std::make_unique<QmxSim>(cli.files.file("station.ini"));
        ASSERT_FALSE(device->path().empty()) << "qmx-sim did not start";
    }
    CliProcess::Result report(const QString& output) const
    {
        return cli.run({QStringLiteral("report"), QStringLiteral("--fast"), QStringLiteral("--port"),
                        QString::fromStdString(device->path()), QStringLiteral("-o"), output});
    }

    CliProcess cli;
    std::unique_ptr<QmxSim> device;
};

TEST_F(CliReport, ReadsTheStationAndWritesItsReportWithoutADisplay)
{
    // No platform chosen and no display: the report takes the offscreen one.
    const QByteArray platform = qgetenv("QT_QPA_PLATFORM");
    qunsetenv("QT_QPA_PLATFORM");
    const CliProcess::Result result = report(QStringLiteral("bericht.pdf"));
    qputenv("QT_QPA_PLATFORM", platform);
    ASSERT_EQ(result.exitCode, 0) << result.err;
    EXPECT_EQ(result.out, "bericht.pdf\n");
    const std::string text = PdfText(cli.files.file("bericht.pdf"), 1, 0, false);
    for (const char* said : {"Servicebericht", "4242", "QMX-620", "Hochbeh\xC3\xA4lter", "Pumpwerk S\xC3\xBC" "d",
                             "stimmt mit der QMX \xC3\xBC" "berein", "Seite 1 von 2"})
        EXPECT_TRUE(contains(text, said)) << said << "\n" << text;
}

TEST_F(CliReport, ALinkFileAloneIsReportedWithTheOverviewItKeeps)
{
    ASSERT_EQ(cli.run({QStringLiteral("read"), QStringLiteral("--fast"), QStringLiteral("--port"),
                       QString::fromStdString(device->path()),
                       QStringLiteral("-o"), QStringLiteral("anlage.ini")})
                  .exitCode,
              0);
    device->stop();
    const CliProcess::Result result =
        cli.run({QStringLiteral("report"), QStringLiteral("anlage.ini"), QStringLiteral("-o"),
                 QStringLiteral("a.pdf")});
    ASSERT_EQ(result.exitCode, 0) << result.err;
    const std::string text = PdfText(cli.files.file("a.pdf"), 1, 0, false);
    for (const char* said : {"anlage.ini", "Seriennummer 4242, QMX-Adresse 30", "Hochbeh\xC3\xA4lter",
                             "Ohne die Module der Station", "nicht bekannt"})
        EXPECT_TRUE(contains(text, said)) << said << "\n" << text;
}

TEST_F(CliReport, AnOutputThatCannotBeWrittenEndsWith3AndLeavesNothing)
{
    const CliProcess::Result result = report(QStringLiteral("fehlt/bericht.pdf"));
    EXPECT_EQ(result.exitCode, 3);
    ASSERT_EQ(result.errorLines().size(), 1u) << result.err;
    EXPECT_TRUE(contains(result.err, "fehlt/bericht.pdf")) << result.err;
    EXPECT_EQ(QDir(QString::fromStdString(cli.files.path())).entryList(QDir::AllEntries | QDir::NoDotAndDotDot),
              QStringList{QStringLiteral("station.ini")});
}

TEST_F(CliReport, AnOverviewOfEndlessNamesIsReportedCutOnAsFewPagesAsAnyOther)
{
    // A file near the largest Kalmoria reads, nearly all of it module names.
    std::string file = "[Info_Modulliste]\r\n";
    for (int row = 1; row <= 65; ++row)
        file += (row < 10 ? "0" : "") + std::to_string(row) + "=" + std::to_string(10 + row) + ", PDX-44, "
                + std::string(62000, static_cast<char>('A' + row % 26)) + ", 8, 2, 8, 2, 0, \r\n";
    cli.files.write("lang.ini", file + "[QMX_Verknuepfungen]\r\n11=1\r\n12=100\r\n13=0\r\n14=4\r\n15=2\r\n16=300\r\n");
    const CliProcess::Result result =
        cli.run({QStringLiteral("report"), QStringLiteral("lang.ini"), QStringLiteral("-o"), QStringLiteral("l.pdf")});
    ASSERT_EQ(result.exitCode, 0) << result.err;
    const std::string info = PdfInfo(cli.files.file("l.pdf"));
    EXPECT_LE(std::stoi(info.substr(info.find("Pages:") + 6)), 3) << info;
    std::string text = PdfText(cli.files.file("l.pdf"), 1, 0, false);
    std::erase_if(text, [](char c) { return c == ' ' || c == '\n'; }); // a name may break across lines
    EXPECT_TRUE(contains(text, std::string(37, 'B') + "...")) << "the cut is shown";
}

} // namespace
