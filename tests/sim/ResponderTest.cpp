#include "sim/Responder.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <set>

using namespace qmxsim;

namespace {

Request read(uint16_t addr, uint8_t count)
{
    Request r;
    r.readAddr = addr;
    r.readCount = count;
    return r;
}

Request write(uint16_t addr, std::vector<uint16_t> words)
{
    Request r;
    r.writeAddr = addr;
    r.words = std::move(words);
    return r;
}

} // namespace

TEST(RegisterMap, AnswersOnlyBlocksThatLieWhollyInsideAnArea)
{
    const RegisterMap map;
    struct Block {
        uint16_t first;
        int count;
        bool readable;
    };
    const Block blocks[] = {
        {1500, 20, true},   {1499, 2, false}, {1519, 2, false}, {2100, 64, true}, {2100, 65, false},
        {5920, 20, true},   {5920, 21, false}, {6100, 20, true}, {17440, 20, true}, {17460, 1, false},
        {30800, 252, true}, {31999, 1, true},  {32000, 128, true}, {32384, 128, true}, {32384, 129, false},
        {0, 1, false},      {0, 0, true},      {65535, 2, false},
    };
    for (const Block& b : blocks)
        EXPECT_EQ(map.read(b.first, b.count).has_value(), b.readable) << b.first << " x " << b.count;
    EXPECT_EQ(*map.read(30800, 4), (std::vector<uint16_t>(4, 0xFFFF))) << "erased link area";
}

TEST(RegisterMap, OnlyTheLinkAreaTakesWrites)
{
    RegisterMap map;
    const std::vector<uint16_t> words = {1, 2, 3, 4};
    EXPECT_FALSE(map.write(1506, words));
    EXPECT_EQ(map.get(1506), 0);
    EXPECT_FALSE(map.write(31998, words)) << "runs into the name area";
    EXPECT_EQ(map.get(31998), 0xFFFF);
    EXPECT_TRUE(map.write(30800, words));
    EXPECT_EQ(*map.read(30800, 5), (std::vector<uint16_t>{1, 2, 3, 4, 0xFFFF}));
}

TEST(Responder, PureWriteIsAnsweredWithCountZeroAndReadsBack)
{
    RegisterMap map;
    Responder device(map, {});
    const auto written = device.answer(write(30800, {0x8305, 0x0064, 0x012C, 0x2704, 0xFFFF, 0xFFFF, 0xFFFF, 0xFFFF}));
    ASSERT_TRUE(written);
    EXPECT_EQ(written->bytes.size(), 10u);
    EXPECT_EQ(written->bytes[7], 0);

    const auto reply = device.answer(read(30800, 4));
    ASSERT_TRUE(reply);
    EXPECT_EQ(reply->bytes.substr(8, 8), std::string("\x83\x05\x00\x64\x01\x2C\x27\x04", 8));
}

TEST(Responder, ARefusedRequestChangesNothing)
{
    RegisterMap map;
    Responder device(map, {});
    Request both = write(30800, {1, 2, 3, 4});
    both.readAddr = 40000;
    both.readCount = 1;
    EXPECT_FALSE(device.answer(both));
    EXPECT_EQ(map.get(30800), 0xFFFF) << "no half-done write";

    EXPECT_FALSE(device.answer(write(1506, {0x0900})));
    EXPECT_EQ(map.get(1506), 0);
    EXPECT_TRUE(device.answer(read(1500, 20))) << "still answering";
}

TEST(Responder, FailFromAnswersOnlyTheTransfersBefore)
{
    RegisterMap map;
    Faults faults;
    faults.failFrom = 3;
    Responder device(map, faults);
    EXPECT_TRUE(device.answer(read(1500, 20)));
    EXPECT_TRUE(device.answer(read(2100, 64)));
    EXPECT_FALSE(device.answer(read(1500, 20)));
    EXPECT_FALSE(device.answer(write(30800, {0, 0, 0, 0})));
    EXPECT_EQ(map.get(30800), 0xFFFF) << "a silent device takes no write";
    EXPECT_EQ(device.transfers(), 4);
}

TEST(Responder, ChosenTransfersAloneGetTheReplyFaults)
{
    // Per transfer 1..6: "clean", "bad" (wrong CRC) or "none" (no reply).
    struct Case {
        const char* name;
        std::vector<int> chosen;
        int every;
        bool badCrc;
        std::vector<const char*> expected;
    };
    const Case cases[] = {
        {"one transfer silent", {2}, 0, false, {"clean", "none", "clean", "clean", "clean", "clean"}},
        {"two transfers broken", {1, 5}, 0, true, {"bad", "clean", "clean", "clean", "bad", "clean"}},
        {"every third broken", {}, 3, true, {"clean", "clean", "bad", "clean", "clean", "bad"}},
    };
    for (const Case& c : cases) {
        RegisterMap map;
        Faults faults;
        faults.failTransfers = c.chosen;
        faults.failEvery = c.every;
        faults.badCrc = c.badCrc;
        Responder device(map, faults);
        const std::string clean = Responder(map, Faults{}).answer(read(1500, 20))->bytes;
        for (std::size_t i = 0; i < c.expected.size(); ++i) {
            const std::optional<Answer> answer = device.answer(read(1500, 20));
            const char* got = !answer ? "none" : answer->bytes == clean ? "clean" : "bad";
            EXPECT_STREQ(got, c.expected[i]) << c.name << ", transfer " << i + 1;
        }
    }
}

TEST(Responder, FailRangeSilencesOnlyRequestsTouchingIt)
{
    RegisterMap map;
    Faults faults;
    faults.hasFailRange = true;
    faults.failFirst = 6100;
    faults.failLast = 6119;
    Responder device(map, faults);
    EXPECT_FALSE(device.answer(read(6100, 20)));
    EXPECT_FALSE(device.answer(read(6119, 1)));
    EXPECT_TRUE(device.answer(read(5920, 20)));
    EXPECT_TRUE(device.answer(read(6280, 20)));

    faults.failFirst = 30800;
    faults.failLast = 30800;
    Responder links(map, faults);
    EXPECT_FALSE(links.answer(write(30800, {0, 0, 0, 0})));
    EXPECT_TRUE(links.answer(read(1500, 20)));
}

TEST(Responder, ShapesRepliesByItsFaults)
{
    RegisterMap map;
    map.set(1516, 10);
    Faults faults;
    faults.pauseMs = 200;
    faults.extraBytes = 2;
    auto reply = Responder(map, faults).answer(read(1500, 20));
    ASSERT_TRUE(reply);
    EXPECT_EQ(reply->bytes.size(), 8u + 40u + 2u + 2u);
    EXPECT_EQ(reply->bytes[1], 10) << "device address as station byte";
    EXPECT_EQ(reply->pauseAfter, reply->bytes.size() / 2);
    EXPECT_EQ(reply->pauseMs, 200);

    Faults silent;
    silent.silent = true;
    EXPECT_FALSE(Responder(map, silent).answer(read(1500, 20)));

    Faults flood;
    flood.floodBytes = 2000;
    reply = Responder(map, flood).answer(read(1500, 20));
    ASSERT_TRUE(reply);
    EXPECT_EQ(reply->bytes.size(), 2000u);
}

TEST(Responder, RandomFaultsDoWhatTheirRecordSaysAndFollowTheSeed)
{
    Faults faults;
    faults.randomFaults = true;
    faults.randomSeed = 7;
    faults.pauseMs = 45;
    RegisterMap map;
    RegisterMap clean; // the device as it would be with every write taken
    Responder responder(map, faults);
    RegisterMap twin;
    Responder again(twin, faults);
    std::set<std::string> seen;
    for (uint16_t n = 0; n < 400; ++n) {
        Request request = read(1500, 20);
        if (n % 2 == 1) {
            request = write(static_cast<uint16_t>(30800 + n), {n, n, n});
            request.readAddr = 30800;
            request.readCount = 4;
        }
        const std::optional<Answer> answer = responder.answer(request);
        const std::string record = responder.lastFault();
        again.answer(request);
        ASSERT_EQ(again.lastFault(), record) << "same seed, same faults";
        const std::string kind = record.substr(0, record.find(' '));
        int amount = 0;
        int pauseMs = 0;
        std::sscanf(record.c_str() + kind.size(), "%d %d", &amount, &pauseMs);
        seen.insert(kind);

        if (kind != "silent")
            clean.write(request.writeAddr, request.words);
        EXPECT_EQ(map.read(30800, 400), clean.read(30800, 400)) << record << ": a silent device takes no write";
        std::string expected = BuildReply(request, *clean.read(request.readAddr, request.readCount), 0);
        const auto at = static_cast<std::size_t>(amount);
        if (kind == "silent") {
            EXPECT_FALSE(answer);
            continue;
        }
        ASSERT_TRUE(answer) << record;
        if (kind == "drop")
            expected.erase(at, 1);
        else if (kind == "double")
            expected.insert(at, 1, expected[at]);
        else if (kind == "noise")
            expected.insert(0, answer->bytes.substr(0, at));
        if (kind == "bad-crc" || kind == "extra" || kind == "wrong-address" || kind == "wrong-count") {
            EXPECT_NE(answer->bytes, expected) << record;
        } else if (kind == "flood") {
            EXPECT_EQ(answer->bytes.size(), at) << record;
        } else {
            EXPECT_EQ(answer->bytes, expected) << record;
        }
        EXPECT_EQ(answer->pauseMs, kind == "pause" ? 45 : 0) << record;
        if (kind == "pause") {
            EXPECT_EQ(pauseMs, 45);
            EXPECT_EQ(answer->pauseAfter, at);
            EXPECT_GT(at, 0u);
            EXPECT_LT(at, answer->bytes.size());
        }
    }
    EXPECT_EQ(seen, (std::set<std::string>{"clean", "bad-crc", "drop", "double", "silent", "pause", "extra", "flood",
                                           "noise", "wrong-address", "wrong-count"}));

    faults.randomSeed = 8;
    RegisterMap third;
    Responder other(third, faults);
    std::string first;
    std::string second;
    for (int n = 0; n < 20; ++n) {
        other.answer(read(1500, 20));
        again.answer(read(1500, 20));
        first += other.lastFault() + ";";
        second += again.lastFault() + ";";
    }
    EXPECT_NE(first, second) << "another seed, other faults";
}
