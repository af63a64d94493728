// kalmoria-cli over network ports: qmx-sim behind ser2net, raw and with RFC
// 2217, reached through --port tcp://... and rfc2217://..., or through a COM
// number that Kalmoria.ini maps to one.

#include "tests/cli/CliProcess.h"
#include "tests/common/Ser2net.h"
#include "tests/common/TinyServer.h"

#include <gtest/gtest.h>

#include <array>
#include <memory>
#include <string>
#include <vector>

namespace {

// The CLI tests' station with a link whose words carry bytes 0xFF
// (register 255, target register 65535): RFC 2217 doubles them.
std::string deviceImage()
{
    return cliStation().Link({7, 100, 0, 4, 12, 300, 0, 0}).Link({12, 255, 15, 1, 7, 65535, 15, 1}).DeviceImage();
}

using Link = std::array<int, 8>; // ModulQ, RegVon, BitVon, AnzBit, ModulZ, RegZ, BitZ, deaktiv

std::string linkFile(const std::vector<Link>& links)
{
    std::string text = "[QMX_Verknuepfungen]\r\n00=ModulQ-RegVon-BitVon-AnzBit-ModulZ-RegZ-BitZ-deaktiv\r\n";
    for (std::size_t n = 1; n <= links.size(); ++n) {
        for (std::size_t f = 0; f < 8; ++f)
            text += std::to_string(n * 10 + f + 1) + "=" + std::to_string(links[n - 1][f]) + "\r\n";
    }
    return text;
}

bool contains(const std::string& text, const std::string& part)
{
    return text.find(part) != std::string::npos;
}

std::string modeName(const testing::TestParamInfo<Ser2net::Mode>& info)
{
    return info.param == Ser2net::Mode::Raw ? "Raw" : "Rfc2217";
}

class CliNetwork : public testing::TestWithParam<Ser2net::Mode> {
protected:
    void SetUp() override
    {
        KALMORIA_REQUIRE_SER2NET();
        cli.files.write("device.ini", deviceImage());
        device = std::make_unique<SimBehindSer2net>(cli.files.file("device.ini"), GetParam());
        ASSERT_TRUE(device->ready()) << "qmx-sim or ser2net did not start";
    }
    // Without --fast: over the network replies end when whole all the same.
    CliProcess::Result run(QStringList arguments) const
    {
        return cli.run(arguments << QStringLiteral("--port") << QString::fromStdString(device->address()));
    }
    QString file(const std::string& name, const std::string& content) const
    {
        cli.files.write(name, content);
        return QString::fromStdString(cli.files.file(name));
    }
    std::vector<uint16_t> linkArea() const { return ReadLinkArea(device->address()); }

    CliProcess cli;
    std::unique_ptr<SimBehindSer2net> device;
};

} // namespace

TEST_P(CliNetwork, ReadsTheDevice)
{
    const auto read = run({QStringLiteral("read"), QStringLiteral("--json")});
    ASSERT_EQ(read.exitCode, 0) << read.err;
    EXPECT_TRUE(contains(read.out, "\"RegVon\": 255")) << read.out;
    EXPECT_TRUE(contains(read.out, "\"RegZ\": 65535")) << read.out;
    const auto info = run({QStringLiteral("info")});
    ASSERT_EQ(info.exitCode, 0) << info.err;
    EXPECT_TRUE(contains(info.out, "4242")) << info.out;
}

TEST_P(CliNetwork, AReadWriteReadRoundTripLeavesTheLinkAreaWordForWord)
{
    const std::vector<uint16_t> before = linkArea();
    ASSERT_FALSE(before.empty());
    const auto read = run({QStringLiteral("read"), QStringLiteral("-o"), QString::fromStdString(cli.files.file("links.ini"))});
    ASSERT_EQ(read.exitCode, 0) << read.err;
    // The editor would not allow the device's links: --force writes them back all the same.
    const auto write = run({QStringLiteral("write"), QString::fromStdString(cli.files.file("links.ini")),
                            QStringLiteral("--yes"), QStringLiteral("--force")});
    ASSERT_EQ(write.exitCode, 0) << write.err;
    EXPECT_EQ(linkArea(), before);
}

TEST_P(CliNetwork, WritesWithVerifyAndDiffsAgainstTheDevice)
{
    const std::vector<Link> changed{{12, 150, 3, 12, 12, 350, 4, 0}, {12, 43, 15, 255, 7, 65535, 15, 1}};
    const QString changedFile = file("new.ini", linkFile(changed));
    const auto write = run({QStringLiteral("write"), changedFile, QStringLiteral("--yes")});
    ASSERT_EQ(write.exitCode, 0) << write.err;
    EXPECT_TRUE(contains(write.err, "2 Verkn\xC3\xBCpfungen wurden in die QMX \xC3\xBC" "bertragen und gepr\xC3\xBC" "ft"))
        << "read back and compared: " << write.err;

    const auto same = run({QStringLiteral("diff"), changedFile});
    EXPECT_EQ(same.exitCode, 0) << same.err;
    EXPECT_EQ(same.out, "");

    std::vector<Link> other = changed;
    other[1][7] = 0;
    const auto differs = run({QStringLiteral("diff"), file("other.ini", linkFile(other))});
    EXPECT_EQ(differs.exitCode, 5) << differs.err;
    // Modules are named as the link table numbers them, with address and name.
    const std::string source = "M-Nr. 13 (Adr. 42, Pumpwerk S\xC3\xBC" "d),43,15,255,";
    const std::string target = "M-Nr. 8 (Adr. 37, Hochbeh\xC3\xA4" "lter),65535,15,";
    EXPECT_TRUE(contains(differs.out, "- 2  " + source + target + "1\n+ 2  " + source + target + "0\n")) << differs.out;
}

TEST_P(CliNetwork, AComNumberOfKalmoriaIniReachesTheNetworkPort)
{
    cli.writeSettings("[Schnittstellen]\r\nCOM5=" + device->address() + "?timeout=2000\r\n");
    const auto info = cli.run({QStringLiteral("info"), QStringLiteral("--port"), QStringLiteral("5")});
    ASSERT_EQ(info.exitCode, 0) << info.err;
    EXPECT_TRUE(contains(info.out, "4242")) << info.out;
    // The search over COM1..COM16 finds it there too.
    const auto search = cli.run({QStringLiteral("search")});
    ASSERT_EQ(search.exitCode, 0) << search.err;
    EXPECT_TRUE(contains(search.out, device->address())) << search.out;
}

TEST_P(CliNetwork, TheDoctorSaysTheServerTakesTheConnectionAndTheDeviceAnswers)
{
    const auto doctor = run({QStringLiteral("doctor")});
    EXPECT_EQ(doctor.exitCode, 0) << doctor.err;
    const std::string server = "127.0.0.1:" + std::to_string(device->server().port());
    EXPECT_TRUE(contains(doctor.out, "[ok] " + device->address() + ": Der serielle Ger\xC3\xA4teserver " + server
                                         + " nimmt die Verbindung an"))
        << doctor.out;
    EXPECT_TRUE(contains(doctor.out, "Eine QMX-Zentrale antwortet: Typ 0900, SerNr. 4242")) << doctor.out;
}

TEST_P(CliNetwork, AServerThatIsGoneEndsWithCode2AndNamesHostAndReason)
{
    device->server().stop();
    const std::string server = "127.0.0.1:" + std::to_string(device->server().port());
    const auto read = run({QStringLiteral("read")});
    EXPECT_EQ(read.exitCode, 2);
    ASSERT_EQ(read.errorLines().size(), 1u) << read.err;
    EXPECT_TRUE(contains(read.err, "keine Verbindung zu " + server + " (Connection refused)")) << read.err;
    EXPECT_TRUE(contains(read.err, "kalmoria-cli doctor --port")) << "the console's wording: " << read.err;

    const auto doctor = run({QStringLiteral("doctor")});
    EXPECT_EQ(doctor.exitCode, 2);
    EXPECT_TRUE(doctor.out.starts_with("[!!] Der Netzwerkport " + device->address() + " l\xC3\xA4sst sich nicht \xC3\xB6" "ffnen"))
        << doctor.out;
}

INSTANTIATE_TEST_SUITE_P(BothKinds, CliNetwork, testing::Values(Ser2net::Mode::Raw, Ser2net::Mode::Rfc2217),
                         modeName);

TEST(CliNetworkPort, AConnectionThatDropsEndsWithCode2AndTheReason)
{
    const TinyServer dropping(TinyServer::CloseAtOnce);
    const CliProcess cli;
    const std::string server = "127.0.0.1:" + std::to_string(dropping.port());
    const auto raw = cli.run({QStringLiteral("read"), QStringLiteral("--port"), QString::fromStdString(dropping.address())});
    EXPECT_EQ(raw.exitCode, 2);
    EXPECT_TRUE(contains(raw.err, "Die Verbindung zum seriellen Ger\xC3\xA4teserver " + server + " ist abgebrochen"))
        << raw.err;
    const auto telnet =
        cli.run({QStringLiteral("read"), QStringLiteral("--port"), QString::fromStdString(dropping.address("rfc2217"))});
    EXPECT_EQ(telnet.exitCode, 2);
    EXPECT_TRUE(contains(telnet.err, "keine Verbindung zu " + server)) << telnet.err;
}

TEST(CliNetworkPort, AnAddressThatCannotBeUsedIsAMistakeOfTheCommandLine)
{
    const CliProcess cli;
    for (const auto& [address, reason] : std::vector<std::pair<const char*, const char*>>{
             {"tcp://127.0.0.1", "the port number is missing (HOST:PORT)"},
             {"rfc2217://127.0.0.1:99999", "the port number must be a number from 1 to 65535"},
             {"tcp://127.0.0.1:4001?timeout=fast", "the time-out must be a number of milliseconds"},
             {"ssh://127.0.0.1:22", "unknown kind of port \"ssh://\""}}) {
        const auto result = cli.run({QStringLiteral("info"), QStringLiteral("--port"), QString::fromUtf8(address)});
        EXPECT_EQ(result.exitCode, 1) << address;
        EXPECT_TRUE(contains(result.err, std::string("kalmoria-cli: Fehler: --port ") + address + ": " + reason)) << result.err;
    }
}

TEST(CliNetworkPort, AnAddressThatCannotBeUsedInKalmoriaIniIsNamedWithWhatIsWrong)
{
    CliProcess cli;
    cli.writeSettings("[Schnittstellen]\r\nCOM3=tcp://10.0.0.7\r\n");
    const auto result = cli.run({QStringLiteral("info"), QStringLiteral("--port"), QStringLiteral("3")});
    EXPECT_EQ(result.exitCode, 2);
    EXPECT_TRUE(contains(result.err, "COM3 (tcp://10.0.0.7) hat keine brauchbare Netzwerkadresse: the port number is "
                                     "missing (HOST:PORT)"))
        << result.err;
    EXPECT_TRUE(contains(result.err, "--port")) << "the console's wording: " << result.err;
}
