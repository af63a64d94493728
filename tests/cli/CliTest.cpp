#include "tests/cli/CliProcess.h"
#include "tests/common/QmxSim.h"

#include <QDir>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <gtest/gtest.h>

#include <array>
#include <chrono>
#include <csignal>
#include <filesystem>
#include <fstream>
#include <thread>
#include <memory>
#include <vector>

namespace {

bool contains(const std::string& text, const std::string& part)
{
    return text.find(part) != std::string::npos;
}

using Link = std::array<int, 8>; // ModulQ, RegVon, BitVon, AnzBit, ModulZ, RegZ, BitZ, deaktiv

// The links of threeLinkStation().
const std::vector<Link> kDeviceLinks{
    {7, 100, 0, 4, 12, 300, 0, 0},
    {12, 150, 0, 16, 7, 350, 0, 1},
    {3, 100, 2, 4, 5, 300, 7, 1},
};

// The CLI tests' station with three links, the second and the third
// inactive; the third as the words the device holds.
StationBuilder threeLinkStation()
{
    return cliStation().Links({kDeviceLinks[0], kDeviceLinks[1]}).LinkWords({0x8305, 0x0064, 0x012C, 0x2704});
}

// A link file as a person could write it: only the links.
std::string linkFile(const std::vector<Link>& links)
{
    std::string text = "[QMX_Verknuepfungen]\r\n00=ModulQ-RegVon-BitVon-AnzBit-ModulZ-RegZ-BitZ-deaktiv\r\n";
    for (std::size_t n = 1; n <= links.size(); ++n) {
        for (std::size_t f = 0; f < 8; ++f)
            text += std::to_string(n * 10 + f + 1) + "=" + std::to_string(links[n - 1][f]) + "\r\n";
    }
    return text;
}

// The four device words of a link, as the link area holds them.
std::vector<uint16_t> words(const Link& l)
{
    return {static_cast<uint16_t>(l[7] * 0x8000 + l[0] * 256 + l[4]), static_cast<uint16_t>(l[1]),
            static_cast<uint16_t>(l[5]), static_cast<uint16_t>(l[2] * 4096 + l[6] * 256 + l[3])};
}

// The start of a link area holding `links` and the end slot.
std::vector<uint16_t> linkAreaStart(const std::vector<Link>& links)
{
    std::vector<uint16_t> area;
    for (const Link& link : links) {
        for (const uint16_t word : words(link))
            area.push_back(word);
    }
    area.insert(area.end(), 4, 0xFFFF);
    return area;
}

// A file with a gap: links 1 and 2, no link 3, link 4.
std::string fileWithGap()
{
    std::string text = linkFile({kDeviceLinks[0], kDeviceLinks[1], kDeviceLinks[2], kDeviceLinks[0]});
    const auto link3 = text.find("31=");
    return text.erase(link3, text.find("41=") - link3);
}

class Cli : public testing::Test {
protected:
    // Starts the simulated device; the commands reach it through --port.
    void startDevice(const QStringList& options = {}, const std::string& image = threeLinkStation().DeviceImage())
    {
        cli.files.write("device.ini", image);
        device = std::make_unique<QmxSim>(cli.files.file("device.ini"), options);
        ASSERT_FALSE(device->path().empty()) << "qmx-sim did not start";
    }
    // The command on the simulated device; with the fast reply end unless the
    // test is about the quiet line.
    QStringList onDevice(QStringList arguments, bool fast = true) const
    {
        if (fast)
            arguments << QStringLiteral("--fast");
        return arguments << QStringLiteral("--port") << QString::fromStdString(device->path());
    }
    CliProcess::Result run(const QStringList& arguments, bool fast = true) const
    {
        return cli.run(onDevice(arguments, fast));
    }
    std::vector<uint16_t> linkArea() const { return ReadLinkArea(device->path()); }
    QString file(const std::string& name, const std::string& content) const
    {
        cli.files.write(name, content);
        return QString::fromStdString(cli.files.file(name));
    }

    CliProcess cli;
    std::unique_ptr<QmxSim> device;
};

} // namespace

TEST_F(Cli, HelpAndVersionGoToStandardOutput)
{
    cli.locale = {{QStringLiteral("LANG"), QStringLiteral("en_US.UTF-8")}};
    const auto help = cli.run({QStringLiteral("--help")});
    EXPECT_EQ(help.exitCode, 0);
    EXPECT_TRUE(contains(help.out, "Usage: kalmoria-cli")) << help.out;
    EXPECT_TRUE(contains(help.out, "5  the device's links differ")) << "the exit codes are documented";
    EXPECT_EQ(help.err, "");

    const auto version = cli.run({QStringLiteral("--version")});
    EXPECT_EQ(version.exitCode, 0);
    EXPECT_EQ(version.out, "kalmoria-cli 1.30\n");
}

TEST_F(Cli, MistakesOnTheCommandLineEndWithOneLineAndCode1)
{
    const std::vector<QStringList> mistakes{
        {},
        {QStringLiteral("frobnicate")},
        {QStringLiteral("info"), QStringLiteral("--bogus")},
        {QStringLiteral("write")},
        {QStringLiteral("diff"), QStringLiteral("a.ini"), QStringLiteral("b.ini")},
        {QStringLiteral("info"), QStringLiteral("--yes")},
        {QStringLiteral("write"), QStringLiteral("a.ini"), QStringLiteral("--json")},
        {QStringLiteral("read"), QStringLiteral("--json"), QStringLiteral("-o"), QStringLiteral("a.ini")},
        {QStringLiteral("info"), QStringLiteral("--port"), QStringLiteral("17")},
        {QStringLiteral("info"), QStringLiteral("--port"), QStringLiteral("COMX")},
        {QStringLiteral("report")},
        {QStringLiteral("report"), QStringLiteral("a.ini"), QStringLiteral("b.ini"), QStringLiteral("-o"),
         QStringLiteral("c.pdf")},
        {QStringLiteral("report"), QStringLiteral("--json"), QStringLiteral("-o"), QStringLiteral("c.pdf")},
        {QStringLiteral("info"), QStringLiteral("--lang"), QStringLiteral("fr")},
        {QStringLiteral("info"), QStringLiteral("--port")},
    };
    for (const QStringList& arguments : mistakes) {
        const auto result = cli.run(arguments);
        const std::string shown = arguments.join(QLatin1Char(' ')).toStdString();
        EXPECT_EQ(result.exitCode, 1) << shown;
        EXPECT_EQ(result.out, "") << shown;
        ASSERT_EQ(result.errorLines().size(), 1u) << shown << ": " << result.err;
        EXPECT_TRUE(result.err.starts_with("kalmoria-cli: Fehler: ")) << "as every error: " << result.err;
    }
}

TEST_F(Cli, AnOutputNamingAnInputOrAnotherOutputIsAUsageErrorAndNothingIsWritten)
{
    startDevice();
    const std::string links = linkFile({kDeviceLinks[0]});
    cli.files.write("anlage.ini", links);
    cli.files.write("stations.txt", device->path() + "\n");
    std::filesystem::create_symlink(cli.files.file("anlage.ini"), cli.files.file("link.pdf"));
    std::filesystem::create_hard_link(cli.files.file("anlage.ini"), cli.files.file("hard.pdf"));
    const QString absolute = QString::fromStdString(cli.files.file("anlage.ini"));
    const std::vector<QStringList> clashes{
        {QStringLiteral("report"), QStringLiteral("anlage.ini"), QStringLiteral("-o"), QStringLiteral("anlage.ini")},
        {QStringLiteral("report"), QStringLiteral("anlage.ini"), QStringLiteral("-o"), QStringLiteral("link.pdf")},
        {QStringLiteral("report"), QStringLiteral("anlage.ini"), QStringLiteral("-o"), QStringLiteral("hard.pdf")},
        {QStringLiteral("report"), QStringLiteral("anlage"), QStringLiteral("-o"), QStringLiteral("no/../anlage.ini")},
        {QStringLiteral("write"), QStringLiteral("anlage.ini"), QStringLiteral("--capture"), absolute},
        {QStringLiteral("diff"), QStringLiteral("anlage.cfg"), QStringLiteral("--capture"), QStringLiteral("anlage.ini")},
        {QStringLiteral("read"), QStringLiteral("-o"), QStringLiteral("new.cfg"), QStringLiteral("--capture"),
         QStringLiteral("./new.ini")},
        {QStringLiteral("backup"), QStringLiteral("--dir"), QStringLiteral("b"), QStringLiteral("--stations"),
         QStringLiteral("stations.txt"), QStringLiteral("--metrics"), QStringLiteral("stations.txt")},
    };
    for (const QStringList& arguments : clashes) {
        const auto result = cli.run(onDevice(arguments));
        const std::string shown = arguments.join(QLatin1Char(' ')).toStdString();
        EXPECT_EQ(result.exitCode, 1) << shown << ": " << result.err;
        EXPECT_EQ(result.errorLines().size(), 1u) << shown << ": " << result.err;
    }
    EXPECT_EQ(cli.files.read("anlage.ini"), links);
    EXPECT_EQ(cli.files.read("stations.txt"), device->path() + "\n");
    EXPECT_FALSE(cli.files.exists("new.ini"));
}

TEST_F(Cli, WithoutItsLanguageFilesItEndsWithCode98LikeKalmoria)
{
    const TempDir alone;
    std::filesystem::copy_file(QmxSim::binDir() + "/kalmoria-cli", alone.file("kalmoria-cli"));
    cli.program = alone.file("kalmoria-cli");
    const auto result = cli.run({QStringLiteral("search"), QStringLiteral("--port"), QStringLiteral("/dev/null/none")});
    EXPECT_EQ(result.exitCode, 98);
    ASSERT_EQ(result.errorLines().size(), 1u) << result.err;
    EXPECT_TRUE(result.err.starts_with("kalmoria-cli: error: Fatal error: textfile not found or too old!")) << result.err;
}

TEST_F(Cli, ALanguageFileThatLacksATextIsUsedShowingItsNumber)
{
    const TempDir alone;
    std::filesystem::copy_file(QmxSim::binDir() + "/kalmoria-cli", alone.file("kalmoria-cli"));
    std::ifstream shipped(QmxSim::binDir() + "/Kalmoria.TXT", std::ios::binary);
    std::string texts{std::istreambuf_iterator<char>(shipped), std::istreambuf_iterator<char>()};
    const auto noAnswer = texts.find("\r\nT40=");
    ASSERT_NE(noAnswer, std::string::npos);
    alone.write("Kalmoria.TXT", texts.erase(noAnswer, texts.find("\r\n", noAnswer + 2) - noAnswer));
    cli.program = alone.file("kalmoria-cli");
    const auto result = cli.run({QStringLiteral("search"), QStringLiteral("--port"), QStringLiteral("/dev/null/none")});
    EXPECT_EQ(result.exitCode, 2);
    EXPECT_TRUE(contains(result.err, "@40")) << result.err;
}

TEST_F(Cli, SearchNamesTheComNumberThePathAndTheDevice)
{
    startDevice();
    cli.writeSettings("[Schnittstellen]\r\nCOM3=" + device->path() + "\r\n");

    const auto table = cli.run({QStringLiteral("search")});
    EXPECT_EQ(table.exitCode, 0) << table.err;
    EXPECT_EQ(table.out, "COM3  " + device->path() + "  QMX-620  QMX-Type: 0900  SerNr.: 4242  QMX-Adr.: 30\n");

    const auto json = cli.run({QStringLiteral("search"), QStringLiteral("--json")});
    const QJsonArray found = QJsonDocument::fromJson(QByteArray::fromStdString(json.out)).array();
    ASSERT_EQ(found.size(), 1) << json.out;
    const QJsonObject entry = found.first().toObject();
    EXPECT_EQ(entry[QStringLiteral("port")][QStringLiteral("number")].toInt(), 3);
    EXPECT_EQ(entry[QStringLiteral("port")][QStringLiteral("path")].toString().toStdString(), device->path());
    EXPECT_EQ(entry[QStringLiteral("type")].toInt(), 0x0900);
    EXPECT_EQ(entry[QStringLiteral("serialNumber")].toInt(), 4242);
    EXPECT_EQ(entry[QStringLiteral("address")].toInt(), 30);
}

TEST_F(Cli, InfoShowsTheOverviewAsTableAndAsJson)
{
    startDevice();
    const auto table = run({QStringLiteral("info")});
    EXPECT_EQ(table.exitCode, 0) << table.err;
    EXPECT_TRUE(contains(table.out, "QMX-Type: 0900  SerNr.: 4242  QMX-Adr.: 30  Stations: 3  Links: 3")) << table.out;
    EXPECT_TRUE(contains(table.out, "Adr.  Typ          Modulname     Q-Bits  Q-Reg.  Z-Bits  Z-Reg.  Q2-Reg.\n"
                                    "30    QMX-620      Zentrale      0       0       0       0       0\n"
                                    "37    SK40F        Hochbeh\xC3\xA4lter  4       2       2       0       4\n"
                                    "42    VLN-300/DA3  Pumpwerk S\xC3\xBC" "d  16      8       16      8       16\n"))
        << table.out;

    const auto json = run({QStringLiteral("info"), QStringLiteral("--json")});
    EXPECT_EQ(json.exitCode, 0) << json.err;
    const QJsonObject info = QJsonDocument::fromJson(QByteArray::fromStdString(json.out)).object();
    EXPECT_EQ(info[QStringLiteral("device")][QStringLiteral("serialNumber")].toInt(), 4242);
    EXPECT_EQ(info[QStringLiteral("links")].toInt(), 3);
    const QJsonArray modules = info[QStringLiteral("modules")].toArray();
    ASSERT_EQ(modules.size(), 3) << json.out;
    const QJsonObject sk40 = modules[1].toObject();
    EXPECT_EQ(sk40[QStringLiteral("address")].toInt(), 37);
    EXPECT_EQ(sk40[QStringLiteral("name")].toString(), QStringLiteral("Hochbeh\u00E4lter"));
    EXPECT_EQ(sk40[QStringLiteral("srcBitCount")].toInt(), 4);
}

TEST_F(Cli, ControlCharactersInANameFromTheDeviceAreShownAsEscapes)
{
    startDevice({}, threeLinkStation().Module(7, 1, {}, "\x1B[2Jbeh\xE4lter").DeviceImage());
    const auto info = run({QStringLiteral("info")});
    EXPECT_EQ(info.exitCode, 0) << info.err;
    EXPECT_TRUE(contains(info.out, "  \\x1B[2Jbeh")) << info.out;
    EXPECT_FALSE(contains(info.out + info.err, "\x1B")) << "the screen was cleared";
}

TEST_F(Cli, ASilentDeviceEndsEveryCommandWithCode2AndOneErrorLine)
{
    startDevice({QStringLiteral("--silent")});
    cli.writeSettings("[Kalmoria]\r\nSprache=KalmoriaEN.TXT\r\n");
    const QString links = file("links.ini", linkFile(kDeviceLinks));
    const std::vector<QStringList> commands{
        {QStringLiteral("search")},
        {QStringLiteral("info")},
        {QStringLiteral("read")},
        {QStringLiteral("write"), links, QStringLiteral("--yes")},
        {QStringLiteral("diff"), links},
    };
    for (const QStringList& command : commands) {
        const auto result = run(command);
        EXPECT_EQ(result.exitCode, 2) << command.front().toStdString();
        EXPECT_EQ(result.out, "") << command.front().toStdString();
        ASSERT_EQ(result.errorLines().size(), 1u) << result.err;
        EXPECT_TRUE(result.err.starts_with("kalmoria-cli: error: ")) << "in the language of Kalmoria.ini: " << result.err;
    }
}

TEST_F(Cli, ReadWritesALinkFileWithTheOverviewOrPrintsTheLinks)
{
    startDevice();
    // The link file rule: whatever the extension, the file is an .ini.
    const auto saved = run({QStringLiteral("read"), QStringLiteral("-o"), QStringLiteral("backup.cfg")});
    EXPECT_EQ(saved.exitCode, 0) << saved.err;
    EXPECT_EQ(saved.out, "backup.ini\n") << "the name written, for the script";
    ASSERT_TRUE(cli.files.exists("backup.ini"));
    const std::string content = cli.files.read("backup.ini");
    EXPECT_TRUE(contains(content, "[Info_Modulliste]\r\n"
                                  "00=Adr., Typ, Modulname, Q-Bits, Q-Reg., Z-Bits, Z-Reg., Q2-Reg., \r\n"
                                  "01=30, QMX-620, Zentrale, 0, 0, 0, 0, 0, \r\n"
                                  "02=37, SK40F, Hochbeh\xE4lter, 4, 2, 2, 0, 4, \r\n"
                                  "03=42, VLN-300/DA3, Pumpwerk S\xFC" "d, 16, 8, 16, 8, 16, \r\n"))
        << content;
    EXPECT_TRUE(contains(content, "30=8305,0064,012C,2704\r\n31=3\r\n32=100\r\n33=2\r\n34=4\r\n35=5\r\n36=300\r\n"
                                  "37=7\r\n38=1\r\n"))
        << content;
    EXPECT_TRUE(contains(saved.err, "backup.ini")) << "the note names the file written: " << saved.err;

    const auto table = run({QStringLiteral("read")});
    EXPECT_EQ(table.exitCode, 0) << table.err;
    // Modules as the link table numbers them, with the overview's address
    // and the name; one the station lacks by its number alone.
    EXPECT_TRUE(contains(table.out, "\n1   M-Nr. 8 (Adr. 37, Hochbeh\xC3\xA4lter)   100     0       4       "
                                    "M-Nr. 13 (Adr. 42, Pumpwerk S\xC3\xBC" "d)  300   0     0        070C,0064,012C,0004\n"))
        << table.out;
    EXPECT_TRUE(contains(table.out, "\n3   M-Nr. 4  ")) << table.out;

    const auto json = run({QStringLiteral("read"), QStringLiteral("--json"), QStringLiteral("--quiet")});
    EXPECT_EQ(json.err, "");
    const QJsonArray links = QJsonDocument::fromJson(QByteArray::fromStdString(json.out))
                                 .object()[QStringLiteral("links")]
                                 .toArray();
    ASSERT_EQ(links.size(), 3) << json.out;
    EXPECT_EQ(links[2].toObject()[QStringLiteral("deaktiv")].toInt(), 1);
    EXPECT_EQ(links[2].toObject()[QStringLiteral("words")].toString(), QStringLiteral("8305,0064,012C,2704"));
    EXPECT_EQ(links[0].toObject()[QStringLiteral("ModulQ")].toInt(), 7) << "the raw fields stay";
    EXPECT_EQ(links[0].toObject()[QStringLiteral("target")].toObject(),
              (QJsonObject{{QStringLiteral("module"), 13}, {QStringLiteral("address"), 42},
                           {QStringLiteral("name"), QString::fromUtf8("Pumpwerk S\xC3\xBC" "d")}}));
    EXPECT_EQ(links[2].toObject()[QStringLiteral("source")].toObject(),
              (QJsonObject{{QStringLiteral("module"), 4}, {QStringLiteral("address"), QJsonValue()},
                           {QStringLiteral("name"), QJsonValue()}}));
}

TEST_F(Cli, ReadThenWriteOfTheSameFileLeavesTheLinkAreaWordForWord)
{
    startDevice();
    const std::vector<uint16_t> before = linkArea();
    ASSERT_EQ(before.size(), 252u);
    // Replies that end on the quiet line, as without --fast.
    ASSERT_EQ(run({QStringLiteral("read"), QStringLiteral("-o"), QStringLiteral("backup.ini")}, false).exitCode, 0);

    // The device's own third link names modules it does not carry.
    const auto written = run({QStringLiteral("write"), QStringLiteral("backup.ini"), QStringLiteral("--yes"),
                              QStringLiteral("--force")},
                             false);
    EXPECT_EQ(written.exitCode, 0) << written.err;
    EXPECT_EQ(written.errorLines().size(), 1u) << "written and checked, with the counts: " << written.err;
    EXPECT_EQ(linkArea(), before);
}

TEST_F(Cli, WriteAsksOnTheTerminalAndRefusesWhatTheDeviceCannotHold)
{
    startDevice();
    const std::vector<Link> changed{{12, 150, 3, 12, 12, 350, 4, 0}, {12, 43, 15, 255, 7, 65535, 15, 1}};
    std::vector<Link> tooMany(63, Link{2, 100, 0, 1, 9, 300, 0, 0});
    std::vector<Link> bitOutOfRange = changed;
    bitOutOfRange[1][2] = 16;
    struct Case {
        const char* what;
        std::vector<Link> links;
        bool yes;
        CliProcess::Input input;
        std::string answer;
        int exitCode;
    };
    const std::vector<Case> cases{
        {"63 links", tooMany, true, CliProcess::Input::Closed, "", 4},
        {"BitVon 16", bitOutOfRange, true, CliProcess::Input::Closed, "", 4},
        {"nobody to ask", changed, false, CliProcess::Input::Closed, "", 4},
        {"answered no", changed, false, CliProcess::Input::Terminal, "n\n", 4},
        {"answered yes", changed, false, CliProcess::Input::Terminal, "ja\n", 0},
    };
    const std::vector<uint16_t> before = linkArea();
    for (const Case& c : cases) {
        QStringList arguments = onDevice({QStringLiteral("write"), file("new.ini", linkFile(c.links))});
        if (c.yes)
            arguments << QStringLiteral("--yes");
        const auto result = cli.run(arguments, c.input, c.answer);
        EXPECT_EQ(result.exitCode, c.exitCode) << c.what << ": " << result.err;
        const std::vector<uint16_t> after = linkArea();
        if (c.input == CliProcess::Input::Terminal) {
            EXPECT_TRUE(contains(result.err, "2 Verkn\xC3\xBCpfungen aus ") && contains(result.err, " [j/n] "))
                << c.what << ": asked in the language's words: " << result.err;
        }
        if (c.exitCode == 0) {
            const std::vector<uint16_t> expected = linkAreaStart(c.links);
            EXPECT_EQ(std::vector<uint16_t>(after.begin(), after.begin() + 12), expected) << c.what;
        } else {
            EXPECT_EQ(after, before) << c.what << ": nothing may be sent";
            EXPECT_TRUE(result.err.starts_with("kalmoria-cli: Fehler: ") || c.input == CliProcess::Input::Terminal)
                << c.what << ": " << result.err;
        }
    }
}

TEST_F(Cli, WriteRefusesLinksTheEditorWouldNotAllowUnlessForced)
{
    startDevice();
    const Link good{12, 150, 0, 4, 12, 350, 0, 0};
    struct Case {
        const char* what;
        std::vector<Link> links;
        std::string named; // the link the refusal names
    };
    const std::vector<Case> cases{
        {"overlapping targets", {good, {12, 151, 0, 8, 12, 350, 2, 0}}, "Verkn\xC3\xBCpfung 2 "},
        {"255 bits from bit 15", {good, {12, 150, 15, 255, 12, 300, 0, 0}}, "Verkn\xC3\xBCpfung 2: 255 Bits"},
        {"module 40", {{40, 150, 0, 4, 12, 350, 0, 0}}, "Modul 40 "},
        {"module 64", {{12, 150, 0, 4, 64, 350, 0, 0}}, "Modul 64 "},
        {"AnzBit 0", {{12, 150, 0, 0, 12, 350, 0, 0}}, "Verkn\xC3\xBCpfung 1: 0 Bits"},
        {"past the registers", {{12, 157, 8, 16, 12, 350, 0, 0}}, "Signalgruppen von Modul 12"},
        {"twice", {good, good}, "Verkn\xC3\xBCpfung 2 ist dieselbe wie Verkn\xC3\xBCpfung 1"},
    };
    for (const Case& c : cases) {
        const std::vector<uint16_t> before = linkArea();
        const QString path = file("check.ini", linkFile(c.links));
        const auto refused = run({QStringLiteral("write"), path, QStringLiteral("--yes")});
        EXPECT_EQ(refused.exitCode, 4) << c.what << ": " << refused.err;
        EXPECT_TRUE(contains(refused.err, c.named)) << c.what << ": " << refused.err;
        EXPECT_TRUE(contains(refused.err, "Mit --force")) << c.what << ": " << refused.err;
        EXPECT_EQ(linkArea(), before) << c.what << ": nothing may be sent";

        const auto forced = run({QStringLiteral("write"), path, QStringLiteral("--yes"), QStringLiteral("--force")});
        EXPECT_EQ(forced.exitCode, 0) << c.what << ": " << forced.err;
        const std::vector<uint16_t> after = linkArea();
        EXPECT_EQ(std::vector<uint16_t>(after.begin(), after.begin() + 4 * c.links.size() + 4), linkAreaStart(c.links))
            << c.what;
    }
    // Only inactive links touched: told, and written.
    const auto inactive = run({QStringLiteral("write"), file("inactive.ini", linkFile({{12, 150, 0, 0, 12, 350, 0, 1}})),
                               QStringLiteral("--yes")});
    EXPECT_EQ(inactive.exitCode, 0) << inactive.err;
    EXPECT_TRUE(contains(inactive.err, "(inaktiv)")) << inactive.err;
}

TEST_F(Cli, ADeviceThatDropsTheWrittenLinksFailsTheVerify)
{
    startDevice({QStringLiteral("--ignore-writes")});
    const QString changed = file("changed.ini", linkFile({kDeviceLinks[0], kDeviceLinks[1]}));

    // The device's own first link reads bits its SK40F does not offer.
    const auto verified = run({QStringLiteral("write"), changed, QStringLiteral("--yes"), QStringLiteral("--quiet"),
                               QStringLiteral("--force")});
    EXPECT_EQ(verified.exitCode, 5);
    ASSERT_EQ(verified.errorLines().size(), 1u) << verified.err;
    EXPECT_TRUE(contains(verified.err, "3 als 8305,0064,012C,2704 zur\xC3\xBC" "ck, \xC3\xBC" "bertragen wurde FFFF,FFFF,FFFF,FFFF"))
        << "names the first slot that differs: " << verified.err;

    const auto unverified = run({QStringLiteral("write"), changed, QStringLiteral("--yes"), QStringLiteral("--no-verify"),
                                 QStringLiteral("--force")});
    EXPECT_EQ(unverified.exitCode, 0) << unverified.err;
}

TEST_F(Cli, DiffListsEachLinkThatDiffers)
{
    startDevice();
    const auto same = run({QStringLiteral("diff"), file("same.ini", linkFile(kDeviceLinks))});
    EXPECT_EQ(same.exitCode, 0) << same.err;
    EXPECT_EQ(same.out, "");

    std::vector<Link> changed{kDeviceLinks[0], kDeviceLinks[1]};
    changed[1][7] = 0;
    changed.push_back({9, 150, 3, 12, 2, 350, 4, 0});
    changed.push_back({9, 151, 0, 1, 3, 42, 0, 0});
    const QString path = file("changed.ini", linkFile(changed));
    const auto differs = run({QStringLiteral("diff"), path});
    EXPECT_EQ(differs.exitCode, 5) << differs.err;
    // A device file no COM number maps to is named by itself.
    EXPECT_EQ(differs.out, "--- QMX " + device->path() + "\n+++ " + path.toStdString() + "\n"
                           "@@ Nr  ModulQ,RegVon,BitVon,AnzBit,ModulZ,RegZ,BitZ,deaktiv\n"
                           "- 2  M-Nr. 13 (Adr. 42, Pumpwerk S\xC3\xBC" "d),150,0,16,M-Nr. 8 (Adr. 37, Hochbeh\xC3\xA4lter),350,0,1\n"
                           "+ 2  M-Nr. 13 (Adr. 42, Pumpwerk S\xC3\xBC" "d),150,0,16,M-Nr. 8 (Adr. 37, Hochbeh\xC3\xA4lter),350,0,0\n"
                           "- 3  M-Nr. 4,100,2,4,M-Nr. 6,300,7,1\n"
                           "+ 3  M-Nr. 10,150,3,12,M-Nr. 3,350,4,0\n"
                           "+ 4  M-Nr. 10,151,0,1,M-Nr. 4,42,0,0\n");
    EXPECT_TRUE(contains(differs.err, "QMX und Datei: 3 Verkn\xC3\xBCpfungen.")) << differs.err;

    // For a script: both sides of each row, each link as read --json gives it.
    const auto json = run({QStringLiteral("diff"), path, QStringLiteral("--json")});
    EXPECT_EQ(json.exitCode, 5) << json.err;
    const QJsonArray rows =
        QJsonDocument::fromJson(QByteArray::fromStdString(json.out)).object()[QStringLiteral("differences")].toArray();
    ASSERT_EQ(rows.size(), 3) << json.out;
    const QJsonObject deviceSide = rows[0][QStringLiteral("device")].toObject();
    EXPECT_EQ(deviceSide[QStringLiteral("number")].toInt(), 2);
    EXPECT_EQ(deviceSide[QStringLiteral("deaktiv")].toInt(), 1);
    EXPECT_EQ(deviceSide[QStringLiteral("source")][QStringLiteral("address")].toInt(), 42);
    EXPECT_EQ(rows[0][QStringLiteral("file")][QStringLiteral("deaktiv")].toInt(), 0);
    EXPECT_TRUE(rows[2][QStringLiteral("device")].isNull()) << "link 4 is only in the file";
    EXPECT_EQ(rows[2][QStringLiteral("file")][QStringLiteral("target")][QStringLiteral("module")].toInt(), 4);

    std::vector<Link> oneChanged = kDeviceLinks;
    oneChanged[2][7] = 0;
    const auto one = run({QStringLiteral("diff"), file("one.ini", linkFile(oneChanged))});
    EXPECT_TRUE(contains(one.err, "QMX und Datei: 1 Verkn\xC3\xBCpfung.")) << "one link, one word: " << one.err;
}

TEST_F(Cli, ALinkFileThatCannotBeReadOrWrittenEndsWithCode3)
{
    startDevice();
    const std::vector<QStringList> cases{
        {QStringLiteral("write"), QStringLiteral("missing.ini"), QStringLiteral("--yes")},
        {QStringLiteral("diff"), QStringLiteral("missing.ini")},
        {QStringLiteral("write"), QStringLiteral("folder.ini"), QStringLiteral("--yes")},
        {QStringLiteral("read"), QStringLiteral("-o"), QStringLiteral("no/such/folder/backup.ini")},
    };
    ASSERT_TRUE(QDir().mkpath(QString::fromStdString(cli.files.file("folder.ini"))));
    const std::vector<uint16_t> before = linkArea();
    for (const QStringList& arguments : cases) {
        const auto result = run(arguments);
        const std::string shown = arguments.join(QLatin1Char(' ')).toStdString();
        EXPECT_EQ(result.exitCode, 3) << shown << ": " << result.err;
        ASSERT_EQ(result.errorLines().size(), 1u) << shown << ": " << result.err;
        EXPECT_TRUE(result.err.starts_with("kalmoria-cli: Fehler: Die Verkn\xC3\xBCpfungsdatei ")) << result.err;
    }
    EXPECT_EQ(linkArea(), before);
}

TEST_F(Cli, RestoreWritesTheNewestSnapshotBackWordForWord)
{
    startDevice();
    const std::vector<uint16_t> before = linkArea();
    const std::vector<Link> changed{{12, 150, 3, 12, 12, 350, 4, 0}, {12, 43, 15, 255, 7, 65535, 15, 1}};
    ASSERT_EQ(run({QStringLiteral("write"), file("new.ini", linkFile(changed)), QStringLiteral("--yes")}).exitCode, 0);
    const std::vector<uint16_t> written = linkArea();
    ASSERT_NE(written, before);
    // A file of the user's own in the folder is no snapshot, though its name sorts last.
    const std::string userFile = cli.dataHome() + "/kalmoria/backups/4242/Anlage Nord korrigiert.ini";
    std::ofstream(userFile, std::ios::binary) << linkFile({kDeviceLinks[0]});

    // The station's own third link names modules it does not carry.
    const QStringList restoreLast{QStringLiteral("restore"), QStringLiteral("--last"), QStringLiteral("--yes"),
                                  QStringLiteral("--force")};
    const auto restored = run(restoreLast);
    EXPECT_EQ(restored.exitCode, 0) << restored.err;
    EXPECT_EQ(linkArea(), before);

    // Two snapshots now: the links before the write, and those before the restore.
    const auto listed = run({QStringLiteral("restore"), QStringLiteral("--list"), QStringLiteral("--json")});
    ASSERT_EQ(listed.exitCode, 0) << listed.err;
    const QJsonArray snapshots = QJsonDocument::fromJson(QByteArray::fromStdString(listed.out)).array();
    ASSERT_EQ(snapshots.size(), 2);
    EXPECT_EQ(snapshots[0][QStringLiteral("links")].toInt(), 3);
    EXPECT_FALSE(snapshots[0][QStringLiteral("differs")].toBool());
    EXPECT_EQ(snapshots[1][QStringLiteral("links")].toInt(), 2);
    EXPECT_TRUE(snapshots[1][QStringLiteral("differs")].toBool());
    EXPECT_TRUE(snapshots[0][QStringLiteral("file")].toString().startsWith(
        QString::fromStdString(cli.dataHome() + "/kalmoria/backups/4242/")));

    // The second restore undoes the first: it writes the snapshot the first took.
    EXPECT_EQ(run(restoreLast).exitCode, 0);
    EXPECT_EQ(linkArea(), written);
    EXPECT_TRUE(std::filesystem::exists(userFile));
}

TEST_F(Cli, RestoreLastTheNightTheClocksGoBackWritesTheLinksFromBeforeTheSecondWrite)
{
    startDevice();
    // The real program in Berlin on another clock.
    const auto at = [this](const char* utc, const QStringList& arguments) {
        cli.program = "/usr/bin/env";
        // faketime preloads its library ahead of a sanitizer's runtime: the
        // sanitizer is told that this order is meant.
        const auto result = cli.run(QStringList{QStringLiteral("TZ=Europe/Berlin"),
                                                QStringLiteral("ASAN_OPTIONS=detect_leaks=0:verify_asan_link_order=0"),
                                                QStringLiteral("faketime"),
                                                QStringLiteral("-m"), QString::fromLatin1(utc),
                                                QString::fromStdString(QmxSim::binDir() + "/kalmoria-cli")}
                                    + onDevice(arguments));
        cli.program.clear();
        return result;
    };
    const std::vector<Link> first{{12, 150, 3, 12, 12, 350, 4, 0}};
    const std::vector<Link> second{{12, 150, 3, 12, 12, 350, 4, 0}, {12, 43, 15, 255, 7, 65535, 15, 1}};
    // At 02:40 summer time, and half an hour later at 02:10 winter time.
    const auto firstWrite =
        at("2026-10-25 00:40:00 UTC", {QStringLiteral("write"), file("first.ini", linkFile(first)), QStringLiteral("--yes")});
    ASSERT_EQ(firstWrite.exitCode, 0) << firstWrite.err;
    const auto secondWrite = at("2026-10-25 01:10:00 UTC",
                                {QStringLiteral("write"), file("second.ini", linkFile(second)), QStringLiteral("--yes")});
    ASSERT_EQ(secondWrite.exitCode, 0) << secondWrite.err;

    const auto restored = at("2026-10-25 01:20:00 UTC", {QStringLiteral("restore"), QStringLiteral("--last"),
                                                         QStringLiteral("--yes"), QStringLiteral("--force")});
    EXPECT_EQ(restored.exitCode, 0) << restored.err;
    const std::vector<uint16_t> expected = linkAreaStart(first);
    const std::vector<uint16_t> area = linkArea();
    ASSERT_GE(area.size(), expected.size());
    EXPECT_EQ(std::vector<uint16_t>(area.begin(), area.begin() + static_cast<std::ptrdiff_t>(expected.size())), expected)
        << "the links from before the second write";
}

TEST_F(Cli, LinksOfAnotherStationAreWrittenOnlyWithYesAndForce)
{
    startDevice();
    const std::vector<uint16_t> before = linkArea();
    const QString fromElsewhere = file("elsewhere.ini", "[Kopfdaten]\r\nSeriennummer=999\r\nQMX-Adresse=30\r\n"
                                                        "Geraetetyp=2304\r\n"
                                                        + linkFile({{12, 150, 3, 12, 12, 350, 4, 0}}));
    const auto refused = run({QStringLiteral("write"), fromElsewhere, QStringLiteral("--yes")});
    EXPECT_EQ(refused.exitCode, 4) << refused.err;
    EXPECT_TRUE(contains(refused.err, "SN 999, Adr. 30")) << refused.err;
    EXPECT_TRUE(contains(refused.err, "--yes --force")) << refused.err;
    EXPECT_FALSE(contains(refused.err, "nicht gibt")) << "no module is missing: " << refused.err;
    EXPECT_EQ(linkArea(), before);

    const auto forced = run({QStringLiteral("write"), fromElsewhere, QStringLiteral("--yes"), QStringLiteral("--force")});
    EXPECT_EQ(forced.exitCode, 0) << forced.err;
    EXPECT_NE(linkArea(), before);
}

TEST_F(Cli, ASnapshotThatCannotBeSavedStopsTheWriteBeforeAnythingIsSent)
{
    startDevice();
    const std::vector<uint16_t> before = linkArea();
    // The folder for the snapshots is taken by a file.
    std::ofstream(cli.dataHome()) << "not a folder";
    const auto result =
        run({QStringLiteral("write"), file("new.ini", linkFile({{12, 150, 3, 12, 12, 350, 4, 0}})), QStringLiteral("--yes")});
    EXPECT_EQ(result.exitCode, 3) << result.err;
    EXPECT_EQ(result.errorLines().size(), 1u) << result.err;
    EXPECT_EQ(linkArea(), before);
}

TEST_F(Cli, AFileThatIsNoUsableLinkFileLeavesTheDeviceUntouched)
{
    startDevice();
    struct Case {
        const char* what;
        std::string content;
        bool write; // else diff
        std::string said; // part of the one error line
    };
    const std::vector<Case> cases{
        {"a link file saved as UTF-16", std::string("\xFF\xFE[\0Q\0M\0X\0", 10), true, "ist keine Textdatei"},
        {"a letter O for a zero", "[QMX_Verknuepfungen]\r\n11=7\r\n12=1OO\r\n14=4\r\n", true,
         "Verkn\xC3\xBCpfung 1 steht unter Schl\xC3\xBCssel 12 der Wert \"1OO\""},
        {"a gap, write", fileWithGap(), true, "Nur 2 Verkn\xC3\xBCpfungen w\xC3\xBCrden genommen, Verkn\xC3\xBCpfung 4"},
        {"a gap, diff", fileWithGap(), false, "--force"},
        {"a header with a note behind it", "[QMX_Verknuepfungen] ; Notiz\r\n11=7\r\n14=4\r\n", true,
         "fehlt der Abschnitt [QMX_Verknuepfungen]"},
    };
    const std::vector<uint16_t> before = linkArea();
    for (const Case& c : cases) {
        const QStringList command = c.write ? QStringList{QStringLiteral("write"), QStringLiteral("--yes")}
                                            : QStringList{QStringLiteral("diff")};
        const auto result = run(command + QStringList{file("satz.ini", c.content)});
        EXPECT_EQ(result.exitCode, 3) << c.what << ": " << result.err;
        ASSERT_EQ(result.errorLines().size(), 1u) << c.what << ": " << result.err;
        EXPECT_TRUE(contains(result.err, c.said)) << c.what << ": " << result.err;
        EXPECT_EQ(result.out, "") << c.what;
    }
    EXPECT_EQ(linkArea(), before);

    const auto forced = run({QStringLiteral("write"), file("satz.ini", fileWithGap()), QStringLiteral("--yes"),
                             QStringLiteral("--force")});
    EXPECT_EQ(forced.exitCode, 0) << forced.err;
    EXPECT_TRUE(contains(forced.err, "Die Liste der Verkn\xC3\xBCpfungsdatei")) << "still warned: " << forced.err;
    const std::vector<uint16_t> after = linkArea();
    EXPECT_EQ(std::vector<uint16_t>(after.begin(), after.begin() + 12),
              linkAreaStart({kDeviceLinks[0], kDeviceLinks[1]}));
}

TEST_F(Cli, ReadToAFileKeepsNamesApartAndReplacesNoOtherFileUnasked)
{
    startDevice();
    struct Case {
        const char* what;
        QStringList arguments;
        int exitCode;
        std::string out; // the name written
    };
    const std::vector<Case> cases{
        {"Anlage 3.1", {QStringLiteral("Anlage 3.1")}, 0, "Anlage 3.1.ini\n"},
        {"Anlage 3.2", {QStringLiteral("Anlage 3.2")}, 0, "Anlage 3.2.ini\n"},
        {"another name for an existing file", {QStringLiteral("anlage.cfg")}, 3, ""},
        {"the same, with --force", {QStringLiteral("anlage.cfg"), QStringLiteral("--force")}, 0, "anlage.ini\n"},
        {"the existing file by its own name", {QStringLiteral("anlage.ini")}, 0, "anlage.ini\n"},
    };
    for (const Case& c : cases) {
        cli.files.write("anlage.ini", "[Notiz]\r\nText=alt\r\n");
        const auto result = run(QStringList{QStringLiteral("read"), QStringLiteral("--quiet"), QStringLiteral("-o")}
                                + c.arguments);
        EXPECT_EQ(result.exitCode, c.exitCode) << c.what << ": " << result.err;
        EXPECT_EQ(result.out, c.out) << c.what;
        EXPECT_EQ(cli.files.read("anlage.ini") == "[Notiz]\r\nText=alt\r\n", c.out != "anlage.ini\n") << c.what;
    }
    EXPECT_TRUE(cli.files.exists("Anlage 3.1.ini"));
    EXPECT_TRUE(cli.files.exists("Anlage 3.2.ini"));

    // A Latin-1 name, which no QString holds, and a size limit on files (512
    // bytes), which must fail the save and not end the program: through a shell.
    cli.program = "/bin/sh";
    const auto shell = [&](const char* script) {
        return cli.run(onDevice({QStringLiteral("-c"), QLatin1String(script),
                                 QString::fromStdString(QmxSim::binDir() + "/kalmoria-cli")}));
    };
    const auto latin1 = shell("exec \"$0\" read --quiet -o \"$(printf 'latin1-\\344')\" \"$@\"");
    EXPECT_EQ(latin1.exitCode, 0) << latin1.err;
    EXPECT_EQ(latin1.out, "latin1-\xE4.ini\n");
    EXPECT_TRUE(cli.files.exists("latin1-\xE4.ini"));
    const auto limited = shell("ulimit -f 1; exec \"$0\" read -o klein.ini \"$@\"");
    EXPECT_EQ(limited.exitCode, 3) << limited.err;
    EXPECT_TRUE(contains(limited.err, "klein.ini kann nicht gespeichert werden")) << limited.err;
    EXPECT_FALSE(cli.files.exists("klein.ini"));
}

TEST_F(Cli, CtrlCDuringAWriteWaitsForTheTransferAndSaysWhatTheDeviceHolds)
{
    startDevice({QStringLiteral("--paced"), QStringLiteral("--verbose")});
    const std::vector<Link> changed{{7, 150, 3, 12, 12, 350, 4, 0}, {12, 43, 15, 255, 7, 65535, 15, 1}};
    // Once the write request is at the device: its reply and the read-back are still to come.
    cli.whileRunning = [this](qint64 pid) {
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(60);
        while (!contains(device->errorOutput(), "write 30800+") && std::chrono::steady_clock::now() < deadline)
            std::this_thread::sleep_for(std::chrono::milliseconds(2));
        ::kill(static_cast<pid_t>(pid), SIGINT);
    };
    const auto interrupted = run({QStringLiteral("write"), file("new.ini", linkFile(changed)), QStringLiteral("--yes"),
                                  QStringLiteral("--force"), QStringLiteral("--quiet")});
    cli.whileRunning = nullptr;
    EXPECT_EQ(interrupted.exitCode, 130) << interrupted.err;
    ASSERT_EQ(interrupted.errorLines().size(), 1u) << interrupted.err;
    EXPECT_TRUE(interrupted.err.starts_with("kalmoria-cli: Fehler: Unterbrochen")
                && contains(interrupted.err, "2 Verkn\xC3\xBCpfungen wurden in die QMX \xC3\xBC" "bertragen und gepr\xC3\xBC" "ft"))
        << interrupted.err;
    const std::vector<uint16_t> after = linkArea();
    EXPECT_EQ(std::vector<uint16_t>(after.begin(), after.begin() + 12), linkAreaStart(changed));
    EXPECT_EQ(run({QStringLiteral("read"), QStringLiteral("--quiet")}).exitCode, 0) << "the next command works at once";
}

TEST_F(Cli, ASearchThatFindsADeviceAboveAddress240SaysSo)
{
    cli.files.write("far.ini", threeLinkStation().Address(250).DeviceImage());
    device = std::make_unique<QmxSim>(cli.files.file("far.ini"));
    ASSERT_FALSE(device->path().empty());
    cli.writeSettings("[Schnittstellen]\r\nCOM2=" + device->path() + "\r\n");

    const auto result = cli.run({QStringLiteral("search")});
    EXPECT_EQ(result.exitCode, 2) << result.err;
    ASSERT_EQ(result.errorLines().size(), 2u) << result.err;
    EXPECT_TRUE(contains(result.errorLines()[0], device->path() + " antwortet eine QMX-Zentrale mit der Adresse 250"))
        << result.err;
}

// The demo station holds links the editor would not make: written straight
// back they cannot make it worse, so no --force is needed.
TEST_F(Cli, LinksJustReadFromTheDeviceAreWrittenBackWithoutForce)
{
    device = std::make_unique<QmxSim>(std::string());
    ASSERT_FALSE(device->path().empty()) << "qmx-sim did not start";
    const QString path = QString::fromStdString(cli.files.file("demo.ini"));
    ASSERT_EQ(run({QStringLiteral("read"), QStringLiteral("-o"), path}).exitCode, 0);
    const auto written = run({QStringLiteral("write"), path, QStringLiteral("--yes")});
    EXPECT_EQ(written.exitCode, 0) << written.err;
}
