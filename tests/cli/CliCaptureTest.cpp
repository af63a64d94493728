// kalmoria-cli --capture: the frames of a command in a pcapng file, read
// back by the real tshark with the shipped dissector.

#include "tests/cli/CliProcess.h"
#include "tests/common/QmxSim.h"
#include "tests/common/Ser2net.h"
#include "tests/common/Tshark.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <QStandardPaths>

#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <filesystem>
#include <map>
#include <sys/stat.h>
#include <thread>

namespace fs = std::filesystem;

namespace {

const std::string kDevice =
    StationBuilder().Serial(815).Address(20).Module(2, 1).Link({2, 100, 0, 4, 2, 300, 0, 0}).DeviceImage();
const QStringList kFrameFields{QStringLiteral("qmx.kind"), QStringLiteral("qmx.read_addr"),
                               QStringLiteral("qmx.read_count"), QStringLiteral("qmx.write_addr"),
                               QStringLiteral("qmx.word"), QStringLiteral("qmx.crc")};

class CliCapture : public testing::Test {
protected:
    void SetUp() override
    {
        KALMORIA_REQUIRE_TSHARK();
        cli.files.write("device.ini", kDevice);
    }
    std::string startDevice(const QStringList& options = {})
    {
        device = std::make_unique<QmxSim>(cli.files.file("device.ini"), options);
        return device->path();
    }
    CliProcess::Result capture(const std::string& port, const QString& command = QStringLiteral("read"),
                               const QStringList& more = {})
    {
        return cli.run(QStringList{command, QStringLiteral("--port"), QString::fromStdString(port),
                                   QStringLiteral("--capture"), QString::fromStdString(file)}
                       + more);
    }

    CliProcess cli;
    std::unique_ptr<QmxSim> device;
    std::string file = cli.files.file("traffic.pcapng");
};

} // namespace

TEST_F(CliCapture, ARequestHoldsWhatTheReadAskedAndEachReplyPointsAtItsRequest)
{
    ASSERT_EQ(capture(startDevice()).exitCode, 0);
    const TsharkRun frames = Tshark(file, {QStringLiteral("frame.number"), QStringLiteral("qmx.kind"),
                                           QStringLiteral("qmx.read_addr"), QStringLiteral("qmx.read_count"),
                                           QStringLiteral("qmx.reply_to"), QStringLiteral("qmx.echo_ok"),
                                           QStringLiteral("qmx.crc_ok"), QStringLiteral("frame.comment"),
                                           QStringLiteral("frame.interface_name")});
    ASSERT_EQ(frames.exitCode, 0) << frames.err;
    EXPECT_EQ(frames.err, "");
    // The device read: modules, configuration, names, station data, links.
    const std::vector<std::pair<std::string, std::string>> asked{{"2100", "64"}, {"1500", "20"}, {"32000", "128"}};
    ASSERT_GE(frames.rows.size(), 2 * asked.size() + 2);
    for (size_t i = 0; i < asked.size(); ++i) {
        const auto& request = frames.rows[2 * i];
        EXPECT_EQ(request[1], "request");
        EXPECT_EQ(std::make_pair(request[2], request[3]), asked[i]);
    }
    for (size_t i = 0; i + 1 < frames.rows.size(); i += 2) {
        const auto& reply = frames.rows[i + 1];
        EXPECT_EQ(reply[1], "reply");
        EXPECT_EQ(reply[4], frames.rows[i][0]) << "frame " << reply[0] << " answers the request before it";
        EXPECT_EQ(reply[5] + reply[6], "11");
        EXPECT_EQ(reply[7], "\xC3\x9C" "bertragung " + std::to_string(i / 2 + 1) + ": 0 ok");
        EXPECT_EQ(reply[8], "COM1 (" + device->path() + ")");
    }
    EXPECT_EQ(frames.rows[frames.rows.size() - 2][2], "30800");
    EXPECT_EQ(frames.rows.back()[3], "252");
    // The configuration request, byte for byte as the device expects it.
    EXPECT_EQ(Tshark(file, {QStringLiteral("qmx.crc")}, QStringLiteral("qmx.read_addr == 1500 && qmx.kind == \"request\"")).rows,
              (std::vector<std::vector<std::string>>{{"0x6f28"}}));
}

TEST_F(CliCapture, ABadCrcIsShownAsSuchAndEachRepeatIsCommented)
{
    EXPECT_EQ(capture(startDevice({QStringLiteral("--bad-crc")}), QStringLiteral("info"),
                      {QStringLiteral("--retries"), QStringLiteral("1")})
                  .exitCode,
              2);
    const TsharkRun replies = Tshark(file, {QStringLiteral("qmx.crc_ok"), QStringLiteral("frame.comment")},
                                     QStringLiteral("qmx.kind == \"reply\""));
    ASSERT_EQ(replies.exitCode, 0) << replies.err;
    // Each transfer is tried twice.
    ASSERT_GE(replies.rows.size(), 2u);
    EXPECT_EQ(replies.rows[0], (std::vector<std::string>{"0", "\xC3\x9C" "bertragung 1: -20 CRC-Fehler"}));
    EXPECT_EQ(replies.rows[1], (std::vector<std::string>{"0", "\xC3\x9C" "bertragung 1, Versuch 2: -20 CRC-Fehler"}));
    for (const auto& reply : replies.rows)
        EXPECT_EQ(reply[0], "0");
}

TEST_F(CliCapture, ACaptureThroughRfc2217HoldsTheFramesOfOneThroughThePseudoTerminal)
{
    KALMORIA_REQUIRE_SER2NET();
    ASSERT_EQ(capture(startDevice()).exitCode, 0);
    const TsharkRun direct = Tshark(file, kFrameFields);
    device.reset();
    SimBehindSer2net server(cli.files.file("device.ini"), Ser2net::Mode::Rfc2217);
    ASSERT_TRUE(server.ready());
    ASSERT_EQ(capture(server.address()).exitCode, 0);
    const TsharkRun network = Tshark(file, kFrameFields);
    ASSERT_EQ(network.exitCode, 0) << network.err;
    EXPECT_GT(direct.rows.size(), 10u);
    EXPECT_EQ(network.rows, direct.rows);
    EXPECT_EQ(Tshark(file, {QStringLiteral("frame.interface_name")}).rows.front().front(), server.address());
}

TEST_F(CliCapture, ACaptureCutOffByAKillDuringAReadOpensWithoutAnError)
{
    const std::string port = startDevice({QStringLiteral("--paced")});
    cli.whileRunning = [](qint64 pid) {
        std::this_thread::sleep_for(std::chrono::milliseconds(700));
        ::kill(static_cast<pid_t>(pid), SIGKILL);
    };
    EXPECT_EQ(capture(port).exitCode, -1);
    const TsharkRun cut = Tshark(file, {QStringLiteral("qmx.kind")});
    EXPECT_EQ(cut.exitCode, 0);
    EXPECT_EQ(cut.err, "");
    EXPECT_GE(cut.rows.size(), 2u);
}

TEST_F(CliCapture, ACaptureThatCannotBeWrittenStopsTheCommandBeforeAnythingIsSent)
{
    file = cli.files.file("no-such-folder/traffic.pcapng");
    const CliProcess::Result result = capture(startDevice());
    EXPECT_EQ(result.exitCode, 3);
    EXPECT_NE(result.err.find("no-such-folder/traffic.pcapng"), std::string::npos) << result.err;
    EXPECT_EQ(device->errorOutput().find("#1 read"), std::string::npos) << device->errorOutput();
}

TEST_F(CliCapture, ACommandWhoseLinkFileCannotBeReadLeavesNoCaptureBehind)
{
    EXPECT_EQ(capture(startDevice(), QStringLiteral("write"), {QStringLiteral("missing.ini")}).exitCode, 3);
    EXPECT_FALSE(fs::exists(file));
}

TEST_F(CliCapture, ACaptureCutShortByAFileSizeLimitEndsWith3AndSaysHowManyFramesItHolds)
{
    const std::string port = startDevice();
    const CliProcess::Result uncaptured =
        cli.run({QStringLiteral("read"), QStringLiteral("--fast"), QStringLiteral("--port"), QString::fromStdString(port)});
    ASSERT_EQ(uncaptured.exitCode, 0) << uncaptured.err;
    cli.fileSizeLimit = 2048; // the whole read takes more
    const CliProcess::Result cut = capture(port, QStringLiteral("read"), {QStringLiteral("--fast")});
    EXPECT_EQ(cut.exitCode, 3);
    EXPECT_EQ(cut.out, uncaptured.out) << "the read's own result stands";
    // Whole frames only, as many as the message says.
    const TsharkRun frames = Tshark(file, {QStringLiteral("qmx.kind")});
    ASSERT_EQ(frames.exitCode, 0) << frames.err;
    EXPECT_EQ(frames.err, "");
    EXPECT_GT(frames.rows.size(), 2u);
    EXPECT_NE(cut.err.find(file), std::string::npos) << cut.err;
    EXPECT_NE(cut.err.find("ersten " + std::to_string(frames.rows.size()) + " Rahmen"), std::string::npos) << cut.err;
}

TEST_F(CliCapture, ACaptureNeverWritesThroughALinkOrIntoAnotherNameOfItsFile)
{
    const std::string port = startDevice();
    cli.files.write("victim.ini", "keep");
    fs::create_symlink(cli.files.file("victim.ini"), file);
    EXPECT_EQ(capture(port).exitCode, 3);
    EXPECT_EQ(device->errorOutput().find("#1 read"), std::string::npos) << device->errorOutput();
    EXPECT_EQ(cli.files.read("victim.ini"), "keep");
    fs::remove(file);
    ASSERT_EQ(::mkfifo(file.c_str(), 0600), 0);
    EXPECT_EQ(capture(port).exitCode, 3) << "a pipe nobody reads would hold the command";

    // An earlier capture is replaced, not written into: its other name keeps it.
    fs::remove(file);
    cli.files.write("traffic.pcapng", "earlier");
    fs::create_hard_link(file, cli.files.file("earlier.pcapng"));
    EXPECT_EQ(capture(port).exitCode, 0);
    EXPECT_EQ(cli.files.read("earlier.pcapng"), "earlier");
    EXPECT_GT(Tshark(file, {QStringLiteral("qmx.kind")}).rows.size(), 2u);
}

TEST_F(CliCapture, BackupCapturesUnderNamesNobodyCanPlantALinkAtBeforehand)
{
    // In a process namespace of its own the program is process 1: a name made
    // of its process id would be known before it starts.
    const std::string answering = startDevice();
    const std::string dir = cli.files.file("backup");
    fs::create_directories(dir);
    cli.files.write("victim.ini", "keep");
    fs::create_symlink(cli.files.file("victim.ini"), dir + "/.kalmoria-capture-1-0.pcapng");
    cli.program = "/usr/bin/unshare";
    const CliProcess::Result result =
        cli.run({QStringLiteral("--pid"), QStringLiteral("--fork"), QString::fromStdString(QmxSim::binDir() + "/kalmoria-cli"),
                 QStringLiteral("backup"), QStringLiteral("--fast"), QStringLiteral("--dir"), QString::fromStdString(dir),
                 QStringLiteral("--capture"), QString::fromStdString(dir), QStringLiteral("--port"),
                 QString::fromStdString(answering)});
    if (result.err.starts_with("unshare"))
        GTEST_SKIP() << "no process namespace here: " << result.err;
    EXPECT_EQ(result.exitCode, 0) << result.err;
    EXPECT_EQ(cli.files.read("victim.ini"), "keep");
    const std::string captured =
        QJsonDocument::fromJson(QByteArray::fromStdString(result.out)).object()[QStringLiteral("capture")].toString().toStdString();
    EXPECT_FALSE(fs::is_symlink(captured)) << captured;
    EXPECT_GT(Tshark(captured, {QStringLiteral("qmx.kind")}).rows.size(), 2u);
}

TEST_F(CliCapture, ABackupSaysWhichStationsCaptureIsCutShortAndEndsWith3)
{
    const std::string dir = cli.files.file("backup");
    cli.fileSizeLimit = 2048; // the whole read takes more
    const CliProcess::Result result =
        cli.run({QStringLiteral("backup"), QStringLiteral("--fast"), QStringLiteral("--dir"), QString::fromStdString(dir),
                 QStringLiteral("--capture"), QString::fromStdString(dir), QStringLiteral("--port"),
                 QString::fromStdString(startDevice())});
    EXPECT_EQ(result.exitCode, 3) << result.err;
    const QJsonObject line = QJsonDocument::fromJson(QByteArray::fromStdString(result.out)).object();
    EXPECT_TRUE(line[QStringLiteral("ok")].toBool()) << result.out;
    const std::string captured = line[QStringLiteral("capture")].toString().toStdString();
    const TsharkRun frames = Tshark(captured, {QStringLiteral("qmx.kind")});
    ASSERT_EQ(frames.exitCode, 0) << frames.err;
    EXPECT_NE(result.err.find(captured + " ist unvollst"), std::string::npos) << result.err;
    EXPECT_NE(result.err.find("ersten " + std::to_string(frames.rows.size()) + " Rahmen"), std::string::npos) << result.err;
}

TEST_F(CliCapture, BackupKeepsEachStationsCaptureBesideItsBackupAndTheUnknownStationsByItsPort)
{
    const std::string answering = startDevice();
    const std::string absent = cli.files.file("no-such-port");
    const std::string dir = cli.files.file("backup");
    const CliProcess::Result result =
        cli.run({QStringLiteral("backup"), QStringLiteral("--fast"), QStringLiteral("--dir"),
                 QString::fromStdString(dir), QStringLiteral("--capture"), QString::fromStdString(dir),
                 QStringLiteral("--port"), QString::fromStdString(answering), QStringLiteral("--port"),
                 QString::fromStdString(absent)});
    EXPECT_EQ(result.exitCode, 2) << result.err;
    std::map<std::string, QJsonObject> lines;
    for (const QByteArray& line : QByteArray::fromStdString(result.out).split('\n'))
        if (!line.isEmpty())
            lines[QJsonDocument::fromJson(line).object()[QStringLiteral("port")].toString().toStdString()] =
                QJsonDocument::fromJson(line).object();
    ASSERT_EQ(lines.size(), 2u) << result.out;

    const std::string saved = lines[answering][QStringLiteral("file")].toString().toStdString();
    const std::string captured = lines[answering][QStringLiteral("capture")].toString().toStdString();
    ASSERT_TRUE(saved.ends_with(".ini")) << result.out;
    EXPECT_EQ(captured, saved.substr(0, saved.size() - 4) + ".pcapng");
    const TsharkRun frames = Tshark(captured, {QStringLiteral("qmx.kind"), QStringLiteral("qmx.read_addr")});
    ASSERT_EQ(frames.exitCode, 0) << frames.err;
    ASSERT_GE(frames.rows.size(), 6u);
    EXPECT_EQ(frames.rows.front(), (std::vector<std::string>{"request", "2100"}));

    // The station that never answered: its capture named by its port, and nothing left under a temporary name.
    const fs::path unknown = lines[absent][QStringLiteral("capture")].toString().toStdString();
    EXPECT_EQ(unknown.parent_path(), fs::path(dir));
    EXPECT_TRUE(unknown.filename().string().find("_no-such-port_") != std::string::npos) << unknown;
    EXPECT_EQ(Tshark(unknown.string(), {QStringLiteral("qmx.kind")}).exitCode, 0);
    for (const auto& entry : fs::recursive_directory_iterator(dir))
        EXPECT_FALSE(entry.path().filename().string().starts_with(".")) << entry.path();
}
