// kalmoria-cli on the serial line: retries, port labels, open failures, the
// connection doctor, and a line that never answers.

#include "tests/cli/CliProcess.h"
#include "tests/common/PtyPeer.h"
#include "tests/common/QmxSim.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <gtest/gtest.h>

#include <atomic>
#include <cerrno>
#include <chrono>
#include <cstring>
#include <thread>

#include <unistd.h>

namespace {

const std::string kDevice = StationBuilder().Serial(815).Address(20).Module(2, 1).DeviceImage();

bool contains(const std::string& text, const std::string& part)
{
    return text.find(part) != std::string::npos;
}

class CliLine : public testing::Test {
protected:
    std::string startDevice(const QStringList& options = {})
    {
        files.write("device.ini", kDevice);
        device = std::make_unique<QmxSim>(files.file("device.ini"), options);
        return device->path();
    }

    TempDir files;
    CliProcess cli;
    std::unique_ptr<QmxSim> device;
};

} // namespace

TEST_F(CliLine, ABrokenReplyIsRepeatedUnlessRetriesAreOff)
{
    // Transfer 3 is the first name block of the read.
    struct Case {
        QStringList retries;
        int exitCode;
    };
    for (const Case& c : {Case{{}, 0}, Case{{QStringLiteral("--retries"), QStringLiteral("0")}, 2}}) {
        const std::string path = startDevice({"--fail-transfer", "3", "--bad-crc"});
        const auto result = cli.run(QStringList{QStringLiteral("info"), QStringLiteral("--port"),
                                                QString::fromStdString(path)}
                                    + c.retries);
        EXPECT_EQ(result.exitCode, c.exitCode) << result.err;
    }
    const auto wrong = cli.run({QStringLiteral("search"), QStringLiteral("--retries"), QStringLiteral("6")});
    EXPECT_EQ(wrong.exitCode, 1);
}

TEST_F(CliLine, ADevicePathShowsTheComNumberKalmoriaIniGivesIt)
{
    const std::string path = startDevice();
    struct Case {
        std::string settings;
        QJsonValue number;
    };
    const Case cases[] = {{"[Schnittstellen]\r\nCOM4=" + path + "\r\n", QJsonValue(4)},
                          {"[Schnittstellen]\r\nCOM4=/dev/ttyUSB9\r\n", QJsonValue()}};
    for (const Case& c : cases) {
        cli.writeSettings(c.settings);
        const auto result = cli.run({QStringLiteral("search"), QStringLiteral("--json"), QStringLiteral("--port"),
                                     QString::fromStdString(path)});
        const QJsonArray found = QJsonDocument::fromJson(QByteArray::fromStdString(result.out)).array();
        ASSERT_EQ(found.size(), 1) << result.out << result.err;
        EXPECT_EQ(found.first()[QStringLiteral("port")][QStringLiteral("number")], c.number) << c.settings;
    }
}

TEST_F(CliLine, APortThatWillNotOpenIsNamedWithTheSystemsReason)
{
    files.write("plain.txt", "no serial line");
    struct Case {
        std::string path;
        std::string reason;
    };
    // A name of its own: Qt locks even a missing device by its name, and a
    // test beside this one opens another missing device at the same time.
    const Case cases[] = {{"/dev/no-such-serial-port-of-the-cli", std::strerror(ENOENT)},
                          {files.file("plain.txt"), std::strerror(ENOTTY)}};
    for (const Case& c : cases) {
        const auto result = cli.run({QStringLiteral("read"), QStringLiteral("--port"), QString::fromStdString(c.path)});
        EXPECT_EQ(result.exitCode, 2);
        EXPECT_TRUE(contains(result.err, c.path + " ") && contains(result.err, c.reason)) << result.err;
        EXPECT_FALSE(contains(result.err, "COM1")) << result.err;
    }
}

TEST_F(CliLine, TheDoctorSaysWhatItFoundOneLineEach)
{
    const std::string path = startDevice();
    const auto fine = cli.run({QStringLiteral("doctor"), QStringLiteral("--port"), QString::fromStdString(path)});
    EXPECT_EQ(fine.exitCode, 0) << fine.err;
    EXPECT_TRUE(fine.out.starts_with("[ok] " + path + ": ")) << fine.out;
    EXPECT_TRUE(contains(fine.out, "3301")) << fine.out;

    files.write("plain.txt", "no serial line");
    const auto broken = cli.run({QStringLiteral("doctor"), QStringLiteral("--port"),
                                 QString::fromStdString(files.file("plain.txt"))});
    EXPECT_EQ(broken.exitCode, 2);
    EXPECT_TRUE(broken.out.starts_with("[!!] ")) << broken.out;
    EXPECT_TRUE(contains(broken.out, std::strerror(ENODEV))) << broken.out;
}

TEST_F(CliLine, ADevicePathThatIsNoUtf8ReadsThatStationAndIsShownEscaped)
{
    // An adapter's link named with the byte 0xFF, and beside it a link named
    // with U+FFFD to another station: the first must never lead to the second.
    const std::string named = startDevice();
    files.write("other.ini", StationBuilder().Serial(816).Address(20).Module(2, 1).DeviceImage());
    const QmxSim other(files.file("other.ini"));
    const std::string stem = files.file("adapter-");
    ASSERT_EQ(::symlink(named.c_str(), (stem + "\xFF").c_str()), 0);
    ASSERT_EQ(::symlink(other.path().c_str(), (stem + "\xEF\xBF\xBD").c_str()), 0);
    // A QString cannot carry the byte to the program: a shell puts it on the command line.
    const auto withByte = [&](const std::string& arguments, const std::string& prefix) {
        cli.program = "/bin/sh";
        const auto result =
            cli.run({QStringLiteral("-c"),
                     QString::fromStdString("exec \"$0\" " + arguments + " --port \"$(printf '%s\\377' \"$1\")\""),
                     QString::fromStdString(QmxSim::binDir() + "/kalmoria-cli"), QString::fromStdString(prefix)});
        cli.program.clear();
        return result;
    };
    const auto typed = withByte("info --json", stem);
    EXPECT_EQ(typed.exitCode, 0) << typed.err;
    EXPECT_TRUE(contains(typed.out, "\"serialNumber\": 815,") && contains(typed.out, stem + "\\\\xff\"")) << typed.out;

    cli.writeSettings("[Schnittstellen]\r\nCOM3=" + stem + "\xFF\r\n");
    const auto mapped = cli.run({QStringLiteral("info"), QStringLiteral("--port"), QStringLiteral("3")});
    EXPECT_EQ(mapped.exitCode, 0) << mapped.err;
    EXPECT_TRUE(mapped.out.starts_with("COM3 (" + stem + "\\xff)\n") && contains(mapped.out, "815")) << mapped.out;

    const auto missing = withByte("info", files.file("gone-"));
    EXPECT_EQ(missing.exitCode, 2);
    EXPECT_TRUE(contains(missing.err, files.file("gone-") + "\\xff") && contains(missing.err, std::strerror(ENOENT)))
        << missing.err;
}

TEST_F(CliLine, ALineThatOnlyChattersIsGivenUpOnWithinTheCommandsBound)
{
    // 20 bytes a second, each within the character time-out, never a reply:
    // each transfer alone would run to its own bound, one after another.
    for (const QStringList& command : {QStringList{QStringLiteral("info")},
                                       QStringList{QStringLiteral("backup"), QStringLiteral("--dir"),
                                                   QString::fromStdString(files.file("b"))}}) {
        PtyPeer chatter;
        std::atomic<bool> ended{false};
        std::thread drip([&] {
            while (!ended) {
                chatter.send("\xE1");
                std::this_thread::sleep_for(std::chrono::milliseconds(50));
            }
        });
        const auto start = std::chrono::steady_clock::now();
        const auto result = cli.run(command + QStringList{QStringLiteral("--port"), QString::fromStdString(chatter.path())});
        const auto took = std::chrono::steady_clock::now() - start;
        ended = true;
        drip.join();
        const std::string shown = command.first().toStdString();
        EXPECT_EQ(result.exitCode, 2) << shown << ": " << result.err;
        EXPECT_LT(took, std::chrono::seconds(10)) << shown;
        EXPECT_TRUE(contains(result.err, "Die QMX hat nicht rechtzeitig geantwortet")) << shown << ": " << result.err;
    }
}
