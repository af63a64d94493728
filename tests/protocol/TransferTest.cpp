#include "protocol/Tvep.h"
#include "tests/common/Frames.h"
#include "tests/common/PtyLineTest.h"
#include "tests/common/ReplyEndModes.h"
#include "transports/LineFactory.h"

#include <gtest/gtest.h>

#include <array>
#include <atomic>
#include <chrono>
#include <thread>
#include <vector>

namespace {

// The device sequences' buffers: 501 words, of which they offer 500.
struct Buffers {
    std::array<uint16_t, 501> send{};
    std::array<uint16_t, 501> recv{};
    std::span<const uint16_t> sendSpan() const { return std::span(send).first(500); }
    std::span<uint16_t> recvSpan() { return std::span(recv).first(500); }
};

std::vector<uint16_t> configurationWords()
{
    std::vector<uint16_t> words(20, 0);
    words[6] = 0x0300; // device type
    words[8] = 4711;   // serial number
    words[16] = 3;     // device address
    return words;
}

} // namespace

// Every transfer test runs with both ways of ending a reply and must see the
// same results.
class TransferTest : public PtyLineTest, public testing::WithParamInterface<bool> {
protected:
    void SetUp() override
    {
        vep.FastReplyEnd = GetParam();
        ASSERT_TRUE(vep.OpenPort(1, 0, '\0'));
    }

    int readConfiguration() { return vep.Transfer(0, 0, buf.sendSpan(), 1500, 20, buf.recvSpan(), true); }

    Tvep vep{SystemLines()};
    Buffers buf;
};

TEST_P(TransferTest, ConfigurationReadAndLinkWriteOverTheLine)
{
    buf.recv[20] = 0xBEEF;
    peer.answer(replyFrame(1500, configurationWords()));
    ASSERT_EQ(readConfiguration(), Tvep::Ok);
    EXPECT_EQ(peer.requests().at(0),
              bytes({0x61, 0x00, 0x00, 0x00, 0x00, 0x05, 0xDC, 0x14, 0x00, 0x00, 0x00, 0x28, 0x6F}));
    EXPECT_EQ(buf.recv[6], 0x0300);
    EXPECT_EQ(buf.recv[8], 4711);
    EXPECT_EQ(buf.recv[20], 0xBEEF) << "only the asked words are written";

    buf.send = {0xFFFF, 0xFFFF, 0xFFFF, 0xFFFF};
    peer.answer(replyFrame(0, {}));
    EXPECT_EQ(vep.Transfer(30800, 4, buf.sendSpan(), 0, 0, buf.recvSpan(), true), Tvep::Ok);
    EXPECT_EQ(peer.requests().at(1), withCrc(bytes({0x61, 0, 0, 0, 0, 0, 0, 0, 0x78, 0x50, 0x04, 0xFF, 0xFF,
                                                    0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF})));
}

TEST_P(TransferTest, TheRestOfAReplyToAStoppedProgramIsDroppedWhenThePortOpens)
{
    // A program stopped in the middle of the link area's reply: the device
    // goes on sending it, at 9600 bit/s, while the next program opens the port.
    vep.ClosePort();
    const std::string stale = replyFrame(30800, std::vector<uint16_t>(252, 0xFFFF));
    peer.send(stale.substr(0, 100));
    std::thread rest([&] {
        for (std::size_t at = 100; at < stale.size(); at += 10) {
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
            peer.send(stale.substr(at, 10));
        }
    });
    const bool opened = vep.OpenPort(1, 0, '\0');
    peer.answer(replyFrame(1500, configurationWords()));
    const int result = opened ? readConfiguration() : Tvep::ErrPortClosed;
    rest.join();
    EXPECT_EQ(result, Tvep::Ok) << "the first transfer works";
}

TEST_P(TransferTest, ReplyInPiecesIsWholeUnlessItFallsSilent)
{
    const std::string reply = replyFrame(1500, configurationWords(), "\x01\x02\x03\x04", 0x33);

    // Pauses shorter than three character time-outs keep the reply together.
    peer.answer({{0, reply.substr(0, 9)}, {60, reply.substr(9, 20)}, {60, reply.substr(29)}});
    EXPECT_EQ(readConfiguration(), Tvep::Ok);

    // A longer pause ends the reply early; the rest arrives late and must not
    // be taken for the answer to the next request.
    peer.answer({{0, reply.substr(0, 20)}, {250, reply.substr(20)}});
    EXPECT_EQ(readConfiguration(), Tvep::ErrCrc);
    ASSERT_TRUE(peer.waitIdle(5000)) << "the late rest never came";
    peer.answer(replyFrame(1500, configurationWords()));
    EXPECT_EQ(readConfiguration(), Tvep::Ok);
}

TEST_P(TransferTest, CountsBeyondTheBuffersSendNothing)
{
    std::array<uint16_t, 4> four{};
    EXPECT_EQ(vep.Transfer(30800, 5, four, 0, 0, buf.recvSpan(), true), Tvep::ErrCapacity);
    EXPECT_EQ(vep.Transfer(0, 0, {}, 1500, 21, std::span(buf.recv).first(20), true), Tvep::ErrCapacity);

    peer.answer(replyFrame(1500, configurationWords()));
    ASSERT_EQ(readConfiguration(), Tvep::Ok);
    ASSERT_EQ(peer.requests().size(), 1u);
    EXPECT_EQ(peer.requests()[0].substr(5, 3), bytes({0x05, 0xDC, 0x14}));
}

TEST_P(TransferTest, ClosedPortFailsAtOnce)
{
    vep.ClosePort();
    EXPECT_EQ(readConfiguration(), Tvep::ErrPortClosed);
    Tvep neverOpened{SystemLines()};
    EXPECT_EQ(neverOpened.Transfer(0, 0, {}, 1500, 0, {}, true), Tvep::ErrPortClosed);
    EXPECT_TRUE(peer.requests().empty());
}

TEST_P(TransferTest, SilentDeviceCostsThreeReplyTimeouts)
{
    buf.recv[6] = 0x0900;
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(readConfiguration(), Tvep::ErrNoReply);
    EXPECT_GE(secondsSince(start), 1.3);
    EXPECT_LT(secondsSince(start), 3.0);
    EXPECT_EQ(buf.recv[6], 0x0900);
}

TEST_P(TransferTest, LongestValidReplyPassesButAFloodEnds)
{
    std::vector<uint16_t> words(255);
    for (size_t i = 0; i < words.size(); ++i)
        words[i] = static_cast<uint16_t>(i * 257);
    const std::string longest = replyFrame(30800, words, "\xAA\xBB\xCC\xDD");
    ASSERT_EQ(longest.size(), static_cast<size_t>(Tvep::MaxReplyBytes));
    peer.answer(longest);
    ASSERT_EQ(vep.Transfer(0, 0, buf.sendSpan(), 30800, 255, buf.recvSpan(), true), Tvep::Ok);
    EXPECT_EQ(buf.recv[254], static_cast<uint16_t>(254 * 257));

    peer.flood();
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(readConfiguration(), Tvep::ErrLength);
    EXPECT_LT(secondsSince(start), 2.0);
    // It stopped listening soon after the longest valid reply, not when some
    // general limit ran out; only what the line buffers had taken is gone.
    EXPECT_LT(peer.floodedBytes(), 32768u);
}

TEST_P(TransferTest, TheLateRestOfABrokenReplyDoesNotSpoilTheNextTransfer)
{
    const std::string reply = replyFrame(1500, configurationWords());
    // The device stops for longer than the client waits, then sends the rest,
    // and only then reads the next request.
    peer.answer({{0, reply.substr(0, 20)}, {250, reply.substr(20)}});
    peer.answer(replyFrame(1500, configurationWords()));
    EXPECT_EQ(readConfiguration(), Tvep::ErrCrc);
    EXPECT_EQ(readConfiguration(), Tvep::Ok);

    // A flood that ends: its tail is gone before the next request.
    peer.answer(std::string(3000, '\xE1'));
    peer.answer(replyFrame(1500, configurationWords()));
    EXPECT_EQ(readConfiguration(), Tvep::ErrLength);
    EXPECT_EQ(readConfiguration(), Tvep::Ok);
}

TEST_P(TransferTest, AWholeReplyWithExtraBytesIsTakenWholeAndLeavesNothingBehind)
{
    const std::vector<uint16_t> words = configurationWords();
    // The last: two extra bytes that are the CRC of what comes before them,
    // so its first bytes already pass for a whole reply.
    const std::string bare = replyFrame(1500, words);
    for (const std::string& reply : {replyFrame(1500, words, bytes({0x00, 0x00})), replyFrame(1500, words, "\x01\x02\x03\x04"),
                                     withCrc(bare)}) {
        buf.recv.fill(0);
        peer.answer(reply);
        EXPECT_EQ(readConfiguration(), Tvep::Ok) << reply.size();
        EXPECT_EQ(buf.recv[8], 4711);
        EXPECT_FALSE(vep.Serial().InputWaiting()) << "bytes of a " << reply.size() << "-byte reply were left behind";
    }
}

TEST_P(TransferTest, NoiseAfterAGoodReplyIsDroppedBeforeTheNextRequest)
{
    // Line noise that looks like the start of a reply comes after the reply has
    // been taken, and would spoil the next one if it were kept.
    peer.answer({{0, replyFrame(1500, configurationWords())}, {250, bytes({0xE1, 0x00, 0x00, 0x00})}});
    EXPECT_EQ(readConfiguration(), Tvep::Ok);
    ASSERT_TRUE(peer.waitIdle(5000));

    std::vector<uint16_t> other = configurationWords();
    other[8] = 4712;
    peer.answer(replyFrame(1500, other));
    EXPECT_EQ(readConfiguration(), Tvep::Ok);
    EXPECT_EQ(buf.recv[8], 4712);
}

// Replies that are not whole and good end on the quiet line in either way of
// ending a reply, and give the same result code.
struct BrokenReply {
    const char* what;
    std::string bytes;
    int32_t result;
};

TEST_P(TransferTest, BrokenRepliesGiveTheSameResultInBothWays)
{
    const std::string good = replyFrame(1500, configurationWords());
    std::string badCrc = good;
    badCrc[good.size() - 1] = static_cast<char>(good.back() ^ 0x40);
    std::vector<uint16_t> oneWordMore = configurationWords();
    oneWordMore.push_back(0);
    const std::vector<BrokenReply> cases{
        {"cut short", good.substr(0, good.size() - 3), Tvep::ErrCrc},
        {"only the header", good.substr(0, 7), Tvep::ErrLength},
        {"CRC broken", badCrc, Tvep::ErrCrc},
        {"one extra byte", replyFrame(1500, configurationWords(), bytes({0x00})), Tvep::ErrLength},
        {"followed by noise at once", good + "\xE1\x00", Tvep::ErrCrc},
        {"other register", replyFrame(1501, configurationWords()), Tvep::ErrMismatch},
        {"one word more", replyFrame(1500, oneWordMore), Tvep::ErrMismatch},
    };
    for (const BrokenReply& broken : cases) {
        buf.recv[8] = 0;
        peer.answer(broken.bytes);
        EXPECT_EQ(readConfiguration(), broken.result) << broken.what;
        EXPECT_EQ(buf.recv[8], 0) << broken.what;
    }
}

INSTANTIATE_TEST_SUITE_P(BothReplyEnds, TransferTest, kBothReplyEnds, replyEndName);

TEST_P(TransferTest, PatienceEndsAChatteringLineButEachGoodReplyGrantsItAnew)
{
    vep.ClosePort();
    vep.AnswerPatienceMs = 400;
    ASSERT_TRUE(vep.OpenPort(1, 0, '\0'));
    // Good replies, each after a pause: more than the patience in all, never
    // that long without one.
    for (int i = 0; i < 5; ++i) {
        peer.answer({{150, replyFrame(1500, configurationWords())}});
        EXPECT_EQ(readConfiguration(), Tvep::Ok) << i;
    }
    // Time away from the line (a question to the user) does not count.
    std::this_thread::sleep_for(std::chrono::milliseconds(500));
    peer.answer({{150, replyFrame(1500, configurationWords())}});
    EXPECT_EQ(readConfiguration(), Tvep::Ok) << "after a pause";
    EXPECT_FALSE(vep.Serial().DeadlinePassed());

    // A byte every 50 ms, never a reply: alone, the transfer would wait for
    // the longest reply at that pace, seconds.
    std::atomic<bool> ended{false};
    std::thread drip([&] {
        while (!ended) {
            peer.send("\xE1");
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
        }
    });
    const auto start = std::chrono::steady_clock::now();
    const int chattered = readConfiguration();
    const int after = readConfiguration();
    const auto took = std::chrono::steady_clock::now() - start;
    ended = true;
    drip.join();
    EXPECT_NE(chattered, Tvep::Ok);
    EXPECT_NE(after, Tvep::Ok);
    EXPECT_TRUE(vep.Serial().DeadlinePassed());
    EXPECT_LT(took, std::chrono::milliseconds(2500)) << "the transfer after it fails at once too";
}
