#include "sim/FrameCodec.h"

#include "protocol/Crc16.h"

#include <gtest/gtest.h>

using namespace qmxsim;

namespace {

std::string bytes(std::initializer_list<int> values)
{
    std::string out;
    for (const int v : values)
        out.push_back(static_cast<char>(v));
    return out;
}

// The configuration read as the program sends it.
const std::string kConfigRequest = bytes({0x61, 0, 0, 0, 0, 0x05, 0xDC, 0x14, 0, 0, 0, 0x28, 0x6F});

Request linkWrite(std::vector<uint16_t> words)
{
    Request r;
    r.writeAddr = 30800;
    r.words = std::move(words);
    return r;
}

bool crcOk(const std::string& frame)
{
    const auto n = frame.size();
    return Crc16(std::string_view(frame).substr(0, n - 2)) ==
           (static_cast<uint8_t>(frame[n - 2]) | static_cast<uint8_t>(frame[n - 1]) << 8);
}

} // namespace

TEST(RequestFramer, TakesTheConfigurationReadWhetherItArrivesWholeOrByteByByte)
{
    RequestFramer whole;
    whole.feed(kConfigRequest);
    const auto request = whole.next();
    ASSERT_TRUE(request);
    EXPECT_EQ(request->readAddr, 1500);
    EXPECT_EQ(request->readCount, 20);
    EXPECT_EQ(request->writeAddr, 0);
    EXPECT_TRUE(request->words.empty());
    EXPECT_EQ(whole.pending(), 0u);
    EXPECT_EQ(EncodeRequest(*request), kConfigRequest);

    RequestFramer trickle;
    for (std::size_t i = 0; i + 1 < kConfigRequest.size(); ++i) {
        trickle.feed(kConfigRequest.substr(i, 1));
        EXPECT_FALSE(trickle.next()) << "after byte " << i;
    }
    trickle.feed(kConfigRequest.substr(kConfigRequest.size() - 1));
    EXPECT_TRUE(trickle.next());
}

TEST(RequestFramer, WrittenWordsFollowTheirCountAndTwoFramesInOneReadBothCome)
{
    const std::string write = EncodeRequest(linkWrite({0x8305, 0x0064, 0x012C, 0x2704}));
    ASSERT_EQ(write.size(), 13u + 8u);
    EXPECT_EQ(write.substr(0, 11), bytes({0x61, 0, 0, 0, 0, 0, 0, 0, 0x78, 0x50, 0x04}));

    RequestFramer framer;
    framer.feed(write + kConfigRequest);
    const auto first = framer.next();
    ASSERT_TRUE(first);
    EXPECT_EQ(first->words, (std::vector<uint16_t>{0x8305, 0x0064, 0x012C, 0x2704}));
    const auto second = framer.next();
    ASSERT_TRUE(second);
    EXPECT_EQ(second->readAddr, 1500);
}

TEST(RequestFramer, SkipsNoiseAndFramesWithABadCrc)
{
    std::string corrupt = kConfigRequest;
    corrupt[6] ^= 0x01;
    RequestFramer framer;
    framer.feed(bytes({0x00, 0xFF, 0xE1}) + corrupt + kConfigRequest);
    const auto request = framer.next();
    ASSERT_TRUE(request);
    EXPECT_EQ(request->readAddr, 1500);
    EXPECT_EQ(framer.discarded(), 3u + corrupt.size());
    EXPECT_FALSE(framer.next());
}

TEST(RequestFramer, AStrayStartByteGivesWayWhenTheLineGoesQuiet)
{
    // "61 00 00" makes the real request behind it look like the middle of a
    // 53-byte frame, which will never be completed.
    RequestFramer framer;
    framer.feed(bytes({0x61, 0x00, 0x00}) + kConfigRequest);
    EXPECT_FALSE(framer.next());
    framer.lineIdle();
    const auto request = framer.next();
    ASSERT_TRUE(request);
    EXPECT_EQ(request->readCount, 20);

    // A lone fragment is simply dropped.
    framer.feed(kConfigRequest.substr(0, 9));
    framer.lineIdle();
    EXPECT_EQ(framer.pending(), 0u);
}

TEST(RequestFramer, AWriteOfMoreThan255WordsIsNotTakenForAShorterOne)
{
    // The count byte carries only 256 & 0xFF = 0, so the frame disagrees with itself.
    std::string frame = EncodeRequest(linkWrite(std::vector<uint16_t>(255, 0x1234)));
    std::string longer = frame.substr(0, 10) + bytes({0x00});
    for (int i = 0; i < 256; ++i)
        longer += bytes({0x12, 0x34});
    const uint16_t crc = Crc16(longer);
    longer += bytes({crc & 0xFF, crc >> 8});

    RequestFramer framer;
    framer.feed(longer);
    EXPECT_FALSE(framer.next());
    framer.lineIdle();
    EXPECT_FALSE(framer.next());
    EXPECT_EQ(framer.pending(), 0u);
}

TEST(BuildReply, CarriesTheAskedRegistersWithEchoAndCrc)
{
    Request read;
    read.readAddr = 1500;
    read.readCount = 2;
    const std::vector<uint16_t> words = {0x3301, 0x1267};
    const std::string reply = BuildReply(read, words, 10);
    EXPECT_EQ(reply.substr(0, 12), bytes({0xE1, 10, 0, 0, 0, 0x05, 0xDC, 2, 0x33, 0x01, 0x12, 0x67}));
    EXPECT_EQ(reply.size(), 14u);
    EXPECT_TRUE(crcOk(reply));

    // A pure write is answered with a count of 0.
    const std::string written = BuildReply(linkWrite({1, 2, 3, 4}), {}, 10);
    EXPECT_EQ(written.size(), 10u);
    EXPECT_EQ(written[7], 0);
}

TEST(BuildReply, FaultShapesBreakExactlyOneRule)
{
    Request read;
    read.readAddr = 1500;
    read.readCount = 2;
    const std::vector<uint16_t> words = {0x3301, 0x1267};
    const std::string good = BuildReply(read, words, 0);

    const std::string extra = BuildReply(read, words, 0, {.extraBytes = 3});
    EXPECT_EQ(extra.size(), good.size() + 3);
    EXPECT_EQ(extra.substr(0, 12), good.substr(0, 12));
    EXPECT_TRUE(crcOk(extra));

    const std::string badCrc = BuildReply(read, words, 0, {.badCrc = true});
    EXPECT_EQ(badCrc.substr(0, 12), good.substr(0, 12));
    EXPECT_FALSE(crcOk(badCrc));

    const std::string address = BuildReply(read, words, 0, {.addressOffset = 1});
    EXPECT_EQ(static_cast<uint8_t>(address[6]), 0xDD);
    EXPECT_TRUE(crcOk(address));

    // A wrong count still fits its own length, so only the count is wrong.
    const std::string count = BuildReply(read, words, 0, {.wrongCount = true});
    EXPECT_EQ(count[7], 3);
    EXPECT_EQ(count.size(), good.size() + 2);
    EXPECT_TRUE(crcOk(count));
}
