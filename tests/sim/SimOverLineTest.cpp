// qmx-sim as the program sees it: the real binary on a pseudo-terminal,
// reached through COM1 with the program's own protocol client.

#include "protocol/Tvep.h"
#include "sim/DeviceImage.h"
#include "tests/common/TempDir.h"
#include "tests/common/QmxSim.h"
#include "transports/LineFactory.h"

#include <gtest/gtest.h>

#include <array>
#include <chrono>
#include <cstdlib>
#include <memory>

using namespace qmxsim;

namespace {

std::string binFile(const char* name)
{
    const char* dir = std::getenv("KALMORIA_BIN_DIR");
    return std::string(dir ? dir : ".") + "/" + name;
}

} // namespace

class SimOverLine : public ::testing::Test {
protected:
    ~SimOverLine() override { unsetenv("XDG_CONFIG_HOME"); }

    // Starts a simulator on `image` (empty: the demo device) with `args`
    // behind COM1 and opens it.
    void start(const QStringList& args, const std::string& image = {})
    {
        vep.ClosePort();
        sim.reset();
        sim = std::make_unique<QmxSim>(image, args);
        ASSERT_FALSE(sim->path().empty()) << sim->errorOutput();
        m_config.write("Kalmoria.ini", "[Schnittstellen]\r\nCOM1=" + sim->path() + "\r\n\r\n");
        setenv("XDG_CONFIG_HOME", m_config.path().c_str(), 1);
        ASSERT_TRUE(vep.OpenPort(1, 9600, 'n'));
        vep.SetTimeouts(Tvep::DefaultReplyTimeout, Tvep::DefaultCharTimeout);
    }

    int read(int addr, int count) { return vep.Transfer(0, 0, sendSpan(), addr, count, recvSpan(), true); }
    int write(int addr, const std::vector<uint16_t>& words)
    {
        std::copy(words.begin(), words.end(), send.begin());
        return vep.Transfer(addr, static_cast<int>(words.size()), sendSpan(), 0, 0, recvSpan(), true);
    }
    std::vector<uint16_t> received(int count) const { return {recv.begin(), recv.begin() + count}; }

    // A silent device costs three reply time-outs; keep them short here.
    void expectSilence() { vep.SetTimeouts(100, 20); }

    std::span<const uint16_t> sendSpan() const { return std::span(send).first(500); }
    std::span<uint16_t> recvSpan() { return std::span(recv).first(500); }

    Tvep vep{SystemLines()};
    std::unique_ptr<QmxSim> sim;
    std::array<uint16_t, 501> send{};
    std::array<uint16_t, 501> recv{};

private:
    TempDir m_config;
};

TEST_F(SimOverLine, EveryRegisterBlockReadsBackAsTheImageSays)
{
    const std::string image = binFile("qmx-demo.ini");
    RegisterMap expected;
    std::string error;
    ASSERT_TRUE(LoadDeviceImageFile(image, expected, error)) << error;
    start({}, image);
    // Without pacing a reply arrives in one piece, so a short quiet time ends it.
    vep.SetTimeouts(500, 5);

    struct Block {
        int first;
        int count;
    };
    std::vector<Block> blocks = {{2100, 64}, {1500, 20}, {32000, 128}, {32128, 128},
                                 {32256, 128}, {32384, 128}, {30800, 252}};
    for (int a = 0; a <= Registers::Modules; ++a)
        blocks.push_back({Registers::station(a), Registers::StationCount});
    for (const Block& b : blocks) {
        ASSERT_EQ(read(b.first, b.count), Tvep::Ok) << b.first;
        EXPECT_EQ(received(b.count), *expected.read(static_cast<uint16_t>(b.first), b.count)) << b.first;
    }

    // A few values as the demo image's author wrote them.
    ASSERT_EQ(read(1500, 20), Tvep::Ok);
    EXPECT_EQ(recv[6], 0x3301);
    EXPECT_EQ(recv[8], 4711);
    EXPECT_EQ(recv[16], 10);
    ASSERT_EQ(read(Registers::name(2), 8), Tvep::Ok);
    EXPECT_EQ(recv[0], 'P' << 8 | 'u');
    ASSERT_EQ(read(30808, 8), Tvep::Ok);
    EXPECT_EQ(received(8), (std::vector<uint16_t>{0x8508, 0x0064, 0x012C, 0x0004, 0x0802, 0x0096, 0x015E, 0x0010}));
}

TEST_F(SimOverLine, LinkAreaWriteReadsBackUnchangedAcrossReopening)
{
    start({});
    // 62 links and the end slot: the most one frame carries.
    std::vector<uint16_t> links;
    for (int n = 1; n <= 62; ++n)
        links.insert(links.end(), {static_cast<uint16_t>(0x8000 * (n % 2) + n * 256 + 64 - n),
                                   static_cast<uint16_t>(100 + n), static_cast<uint16_t>(300 + n),
                                   static_cast<uint16_t>(n % 16 * 0x1100 + n)});
    links.insert(links.end(), 4, 0xFFFF);
    ASSERT_EQ(links.size(), 252u);
    recv[0] = 0xBEEF;
    ASSERT_EQ(write(30800, links), Tvep::Ok);
    EXPECT_EQ(recv[0], 0xBEEF) << "the reply to a pure write carries no words";

    vep.ClosePort();
    ASSERT_TRUE(vep.OpenPort(1, 9600, 'n'));
    ASSERT_EQ(read(30800, 252), Tvep::Ok);
    EXPECT_EQ(received(252), links);

    // A shorter list replaces it from the start; one frame may write and read.
    std::copy_n(links.begin() + 4, 8, send.begin());
    std::fill_n(send.begin() + 4, 4, 0xFFFF);
    ASSERT_EQ(vep.Transfer(30800, 8, sendSpan(), 30800, 12, recvSpan(), true), Tvep::Ok);
    EXPECT_EQ(received(4), std::vector<uint16_t>(links.begin() + 4, links.begin() + 8));
    EXPECT_EQ(received(8)[4], 0xFFFF);
}

TEST_F(SimOverLine, EachReplyFaultFailsTheTransferAndItsHarmlessSideDoesNot)
{
    const struct {
        QStringList args;
        int result;
    } cases[] = {
        {{}, Tvep::Ok},
        {{"--bad-crc"}, Tvep::ErrCrc},
        {{"--wrong-address"}, Tvep::ErrMismatch},
        {{"--wrong-count"}, Tvep::ErrMismatch},
        {{"--extra-bytes", "2"}, Tvep::Ok},
        {{"--extra-bytes", "4"}, Tvep::Ok},
        {{"--extra-bytes", "1"}, Tvep::ErrLength},
        {{"--extra-bytes", "3"}, Tvep::ErrLength},
        // The client takes about 150 ms of quiet as the end of a reply.
        {{"--pause-ms", "80"}, Tvep::Ok},
        {{"--pause-ms", "300"}, Tvep::ErrCrc},
        {{"--flood", "3000"}, Tvep::ErrLength},
    };
    for (const auto& c : cases) {
        start(c.args);
        EXPECT_EQ(read(1500, 20), c.result) << c.args.join(' ').toStdString();
    }
}

TEST_F(SimOverLine, SilenceComesExactlyWhereItIsAskedFor)
{
    start({"--fail-from", "3"});
    expectSilence();
    EXPECT_EQ(read(1500, 20), Tvep::Ok);
    EXPECT_EQ(read(2100, 64), Tvep::Ok);
    EXPECT_EQ(read(1500, 20), Tvep::ErrNoReply);

    // Only the link area: the module part of a device read still works.
    start({"--fail-range", "30800:31999"});
    expectSilence();
    EXPECT_EQ(read(Registers::station(64), 20), Tvep::Ok);
    EXPECT_EQ(read(30800, 252), Tvep::ErrNoReply);

    start({"--silent"});
    expectSilence();
    EXPECT_EQ(read(1500, 20), Tvep::ErrNoReply);
}

TEST_F(SimOverLine, RequestsTheDeviceCannotServeGoUnansweredAndChangeNothing)
{
    start({});
    expectSilence();
    EXPECT_EQ(read(40000, 10), Tvep::ErrNoReply);
    EXPECT_EQ(read(1519, 2), Tvep::ErrNoReply) << "runs past the configuration";
    EXPECT_EQ(write(1506, {0x0900}), Tvep::ErrNoReply) << "configuration is read-only";
    ASSERT_EQ(read(1500, 20), Tvep::Ok);
    EXPECT_EQ(recv[6], 0x3301);
}
