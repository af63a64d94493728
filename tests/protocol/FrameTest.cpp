#include "protocol/Crc16.h"
#include "protocol/Tvep.h"
#include "tests/common/Frames.h"
#include "transports/LineFactory.h"

#include <gtest/gtest.h>

#include <array>
#include <set>
#include <string>
#include <memory>
#include <vector>

namespace {

// A client set up as a transfer would leave it, without any port.
std::unique_ptr<Tvep> clientFor(int readAddr, int readCount, int writeAddr = 0, int writeCount = 0, bool crc = true)
{
    auto vep = std::make_unique<Tvep>(SystemLines());
    vep->WithCrc = crc;
    vep->ReadAddr = readAddr;
    vep->ReadCount = readCount;
    vep->WriteAddr = writeAddr;
    vep->WriteCount = writeCount;
    return vep;
}

} // namespace

TEST(Crc16, MatchesTheModbusCheckValue)
{
    EXPECT_EQ(Crc16("123456789"), 0x4B37);
    EXPECT_EQ(Crc16(""), 0xFFFF);
}

TEST(RequestFrame, ConfigurationReadIsTheKnownThirteenBytes)
{
    EXPECT_EQ(clientFor(1500, 20)->BuildRequest({}),
              bytes({0x61, 0x00, 0x00, 0x00, 0x00, 0x05, 0xDC, 0x14, 0x00, 0x00, 0x00, 0x28, 0x6F}));
}

TEST(RequestFrame, WriteCarriesWordsHighByteFirstAndNeverMoreThanTheArray)
{
    const std::array<uint16_t, 4> words{0x1234, 0xABCD, 0x0001, 0xFFFF};
    const std::string body = bytes({0x61, 0, 0, 0, 0, 0, 0, 0, 0x78, 0x50, 0x04,
                                    0x12, 0x34, 0xAB, 0xCD, 0x00, 0x01, 0xFF, 0xFF});
    EXPECT_EQ(clientFor(0, 0, 30800, 4)->BuildRequest(words), withCrc(body));
    // Asked for five words from a four-word array: the frame holds the four
    // there are, and says so in its count byte.
    EXPECT_EQ(clientFor(0, 0, 30800, 5)->BuildRequest(words), withCrc(body));
}

TEST(RequestFrame, CountByteKeepsLowBitsButAllWordsFollow)
{
    const std::vector<uint16_t> words(300, 0x0102);
    const std::string frame = clientFor(0, 0, 30800, 300)->BuildRequest(words);
    EXPECT_EQ(frame.size(), 11u + 600u + 2u);
    EXPECT_EQ(static_cast<uint8_t>(frame[10]), 300 & 0xFF);
}

TEST(ReplyCheck, GoodReplyFillsOnlyTheAskedWords)
{
    std::array<uint16_t, 4> recv{0, 0, 0, 0x5555};
    EXPECT_EQ(clientFor(2100, 3)->CheckReply(replyFrame(2100, {0x0102, 0x0800, 0xFFFF}), recv), Tvep::Ok);
    EXPECT_EQ(recv, (std::array<uint16_t, 4>{0x0102, 0x0800, 0xFFFF, 0x5555}));

    // A pure write is answered with a count of 0 and an 8-byte header.
    EXPECT_EQ(clientFor(0, 0, 30800, 4)->CheckReply(replyFrame(0, {}), {}), Tvep::Ok);
}

TEST(ReplyCheck, LengthThenCrcThenContent)
{
    const auto vep = clientFor(1500, 2);
    std::array<uint16_t, 2> recv{7, 7};
    const std::string good = replyFrame(1500, {1, 2});

    // Seven bytes are too short whatever their CRC.
    EXPECT_EQ(vep->CheckReply(good.substr(0, 7), recv), Tvep::ErrLength);
    EXPECT_EQ(vep->CheckReply(withCrc(good.substr(0, 5)), recv), Tvep::ErrLength);

    // A bad CRC wins over a wrong length and a wrong start byte.
    std::string damaged = good.substr(0, 10) + good.substr(good.size() - 2);
    damaged[0] = '\xE0';
    EXPECT_EQ(vep->CheckReply(damaged, recv), Tvep::ErrCrc);

    // A sound CRC over a frame that does not fit its count is a length fault,
    // even with a wrong start byte.
    EXPECT_EQ(vep->CheckReply(withCrc(bytes({0xE0, 0, 0, 0, 0, 0x05, 0xDC, 2, 0, 1})), recv), Tvep::ErrLength);

    EXPECT_EQ(recv, (std::array<uint16_t, 2>{7, 7})) << "a refused reply leaves the buffer alone";
}

TEST(ReplyCheck, TailOfTwoOrFourBytesIsToleratedOthersAreNot)
{
    const auto vep = clientFor(1500, 2);
    std::array<uint16_t, 2> recv{};
    for (const size_t tail : {2u, 4u}) {
        recv = {};
        EXPECT_EQ(vep->CheckReply(replyFrame(1500, {0x0300, 9}, std::string(tail, '\x55')), recv), Tvep::Ok) << tail;
        EXPECT_EQ(recv[0], 0x0300);
    }
    for (const size_t tail : {1u, 3u, 6u})
        EXPECT_EQ(vep->CheckReply(replyFrame(1500, {0x0300, 9}, std::string(tail, '\x55')), recv), Tvep::ErrLength) << tail;
}

TEST(ReplyCheck, ByteOneIsTheDevicesOwn)
{
    std::array<uint16_t, 1> recv{};
    for (const int byte1 : {0x00, 0x01, 0x7F, 0xE1, 0xFF})
        EXPECT_EQ(clientFor(1500, 1)->CheckReply(replyFrame(1500, {1}, {}, byte1), recv), Tvep::Ok) << byte1;
}

TEST(ReplyCheck, AnyEchoThatDiffersFromTheRequestIsRefused)
{
    std::array<uint16_t, 2> recv{};
    const auto vep = clientFor(1500, 2);
    EXPECT_EQ(vep->CheckReply(replyFrame(1500, {1, 2}, {}, 0, 0xE0), recv), Tvep::ErrMismatch);
    EXPECT_EQ(vep->CheckReply(replyFrame(1501, {1, 2}), recv), Tvep::ErrMismatch);
    EXPECT_EQ(vep->CheckReply(replyFrame(1500, {1}), recv), Tvep::ErrMismatch);

    std::string otherStation = replyFrame(1500, {1, 2});
    otherStation[3] = 0x01;
    EXPECT_EQ(vep->CheckReply(withCrc(otherStation.substr(0, otherStation.size() - 2)), recv), Tvep::ErrMismatch);

    // The plain variant wants 0xE0 and no CRC.
    const std::string plain = bytes({0xE0, 0, 0, 0, 0, 0x05, 0xDC, 1, 0xAB, 0xCD});
    EXPECT_EQ(clientFor(1500, 1, 0, 0, false)->CheckReply(plain, recv), Tvep::Ok);
    EXPECT_EQ(recv[0], 0xABCD);
}

TEST(ResultText, EveryResultCodeHasItsOwnText)
{
    const std::vector<int32_t> codes{Tvep::Ok, Tvep::ErrPortClosed, Tvep::ErrException, Tvep::ErrNoReply,
                                     Tvep::ErrCrc, Tvep::ErrMismatch, Tvep::ErrLength, Tvep::ErrCapacity};
    std::set<std::string> texts;
    for (const int32_t code : codes)
        texts.insert(Tvep::ResultText(code));
    EXPECT_EQ(texts.size(), codes.size());
    EXPECT_EQ(texts.count(Tvep::ResultText(-99)), 0u);
}

TEST(ReplyCheck, AWholeReplyIsToldFromItsStartAndFromAnythingLonger)
{
    const std::string bare = replyFrame(1500, {0x0300, 9});
    const std::string tail2 = replyFrame(1500, {0x0300, 9}, "\x55\x55");
    const std::string tail4 = replyFrame(1500, {0x0300, 9}, "\x55\x55\x55\x55");
    std::string badCrc = bare;
    badCrc.back() = static_cast<char>(badCrc.back() ^ 0x01);
    struct Case {
        const char* what;
        std::string bytes;
        bool whole;
    };
    const std::vector<Case> cases{
        {"no extra bytes", bare, true},
        {"two extra bytes", tail2, true},
        {"four extra bytes", tail4, true},
        {"cut short by one byte", bare.substr(0, bare.size() - 1), false},
        {"header only", bare.substr(0, 8), false},
        {"nothing", "", false},
        {"followed by noise", bare + bytes({0x00}), false},
        {"one extra byte", replyFrame(1500, {0x0300, 9}, "\x55"), false},
        {"three extra bytes", replyFrame(1500, {0x0300, 9}, "\x55\x55\x55"), false},
        {"six extra bytes", replyFrame(1500, {0x0300, 9}, std::string(6, '\x55')), false},
        {"broken CRC", badCrc, false},
        {"other register", replyFrame(1501, {0x0300, 9}), false},
        {"other count, same length", replyFrame(1500, {0x0300}, "\x55\x55"), false},
        {"wrong start byte", replyFrame(1500, {0x0300, 9}, {}, 0, 0xE0), false},
    };
    const auto vep = clientFor(1500, 2);
    for (const Case& c : cases)
        EXPECT_EQ(vep->IsCompleteReply(c.bytes), c.whole) << c.what;

    // A reply whose first bytes pass for a whole one on their own, because
    // its two extra bytes happen to be the CRC of what comes before them.
    const std::string body = bare.substr(0, bare.size() - 2);
    const std::string lookalike = withCrc(bare);
    EXPECT_TRUE(vep->IsCompleteReply(lookalike.substr(0, body.size() + 2)));
    EXPECT_TRUE(vep->IsCompleteReply(lookalike));

    // Without a CRC the end of a reply cannot be known from its bytes.
    const auto plain = clientFor(1500, 1, 0, 0, false);
    EXPECT_FALSE(plain->IsCompleteReply(bytes({0xE0, 0, 0, 0, 0, 0x05, 0xDC, 1, 0xAB, 0xCD})));
}
