#include "model/LinkModel.h"
#include "model/Station.h"
#include "model/UnsavedLinks.h"

#include <functional>
#include <vector>

#include <gtest/gtest.h>

namespace {

class LinkModelTest : public testing::Test {
protected:
    // A link whose fields all derive from `seed`, so moved slots can be told apart.
    void appendNumbered(int seed)
    {
        ASSERT_TRUE(station.AppendLink(seed, 100 + seed, seed % 16, seed + 1, seed + 2, 300 + seed, (seed + 3) % 16));
    }

    Station station;
};

LinkRecord inactiveExampleLink()
{
    LinkRecord link;
    link.deaktiv = 1;
    link.ModulQ = 3;
    link.ModulZ = 5;
    link.RegVon = 100;
    link.RegZ = 300;
    link.BitVon = 2;
    link.BitZ = 7;
    link.AnzBit = 4;
    return link;
}

} // namespace

TEST_F(LinkModelTest, DeletingTheFirstOfThreeLinksMovesTheRestAndTheEndMarkerDown)
{
    appendNumbered(1);
    appendNumbered(2);
    appendNumbered(3);
    station.LinkTable[4].AnzBit = -1; // what a file read leaves as end marker
    station.LinkTable[4].ModulQ = 77;

    station.DeleteLink(1);

    EXPECT_EQ(station.AnzBefehle, 2);
    EXPECT_EQ(station.LinkTable[1].ModulQ, 2);
    EXPECT_EQ(station.LinkTable[1].RegZ, 302);
    EXPECT_EQ(station.LinkTable[2].ModulQ, 3);
    EXPECT_EQ(station.LinkTable[3].ModulQ, 77);
    EXPECT_EQ(station.LinkTable[3].AnzBit, -1);
    EXPECT_EQ(station.LinkTable[4].ModulQ, 0);
    EXPECT_EQ(station.LinkTable[4].AnzBit, 0);
    EXPECT_EQ(station.LinkTable[4].encodedText, kEmptyLinkText);
}

TEST_F(LinkModelTest, DeletingOutsideTheLinksChangesNothing)
{
    appendNumbered(1);
    station.DeleteLink(0);
    station.DeleteLink(2);
    station.DeleteLink(-5);
    EXPECT_EQ(station.AnzBefehle, 1);
    EXPECT_EQ(station.LinkTable[1].ModulQ, 1);
}

TEST_F(LinkModelTest, NewLinksStartInactiveBehindTheLastOne)
{
    appendNumbered(4);
    station.LinkTable[1].deaktiv = 0;
    ASSERT_TRUE(station.AppendLink(9, 150, 3, 8, 12, 350, 0));
    EXPECT_EQ(station.AnzBefehle, 2);
    EXPECT_EQ(station.LinkTable[1].deaktiv, 0);
    const LinkRecord& added = station.LinkTable[2];
    EXPECT_EQ(added.deaktiv, 1);
    EXPECT_EQ(added.ModulQ, 9);
    EXPECT_EQ(added.RegVon, 150);
    EXPECT_EQ(added.BitVon, 3);
    EXPECT_EQ(added.AnzBit, 8);
    EXPECT_EQ(added.ModulZ, 12);
    EXPECT_EQ(added.RegZ, 350);
    EXPECT_EQ(added.BitZ, 0);
}

TEST_F(LinkModelTest, AFullTableRefusesANewLinkAndKeepsTheEndMarkerSlot)
{
    for (int i = 1; i <= kMaxLinks; ++i)
        appendNumbered(i % 60);
    ASSERT_EQ(station.AnzBefehle, 299);
    station.LinkTable[300].ModulQ = 42;

    EXPECT_FALSE(station.AppendLink(1, 1, 1, 1, 1, 1, 1));
    EXPECT_EQ(station.AnzBefehle, 299);
    EXPECT_EQ(station.LinkTable[300].ModulQ, 42);

    station.DeleteLink(1); // the end-marker slot moves down without reading past the table
    EXPECT_EQ(station.AnzBefehle, 298);
    EXPECT_EQ(station.LinkTable[299].ModulQ, 42);
}

TEST_F(LinkModelTest, ClearingAllLinksEmptiesEverySlotEvenForACountTheTableCannotHold)
{
    appendNumbered(1);
    appendNumbered(2);
    station.ClearAllLinks();
    EXPECT_EQ(station.AnzBefehle, 0);
    EXPECT_EQ(station.LinkTable[1].ModulQ, 0);
    EXPECT_EQ(station.LinkTable[2].encodedText, kEmptyLinkText);

    station.AnzBefehle = 400; // more than the slots, as a damaged file could claim
    station.ClearAllLinks();
    EXPECT_EQ(station.AnzBefehle, 0);
    EXPECT_EQ(station.LinkTable[kLinkTableSlots - 1].encodedText, kEmptyLinkText);
}

TEST_F(LinkModelTest, EncodingGivesTheDeviceWordsAndTheirText)
{
    station.AnzBefehle = 1;
    station.LinkTable[1] = inactiveExampleLink();
    DeviceLinkWords words;
    ASSERT_TRUE(station.EncodeLink(1, words));
    EXPECT_EQ(words.r1, 0x8305);
    EXPECT_EQ(words.r2, 0x0064);
    EXPECT_EQ(words.r3, 0x012C);
    EXPECT_EQ(words.r4, 0x2704);
    EXPECT_EQ(station.LinkTable[1].encodedText, "8305,0064,012C,2704");
}

TEST_F(LinkModelTest, EncodingBehindTheLastLinkOnlyZeroesItsBitCount)
{
    station.AnzBefehle = 1;
    station.LinkTable[2] = inactiveExampleLink();
    station.LinkTable[2].encodedText = "keep";
    DeviceLinkWords words{1, 2, 3, 4};
    EXPECT_FALSE(station.EncodeLink(2, words));
    EXPECT_EQ(words.r1, 1);
    EXPECT_EQ(station.LinkTable[2].AnzBit, 0);
    EXPECT_EQ(station.LinkTable[2].ModulQ, 3);
    EXPECT_EQ(station.LinkTable[2].encodedText, "keep");
    EXPECT_FALSE(station.EncodeLink(kLinkTableSlots, words));
    EXPECT_FALSE(station.EncodeLink(-1, words));
}

TEST_F(LinkModelTest, EditsAreUnsavedUntilTheLinksAreKeptAgain)
{
    EXPECT_FALSE(HasUnsavedLinks(station)) << "an empty table at start";
    struct Case {
        const char* what;
        std::function<void()> edit;
        bool unsaved;
    };
    const std::vector<Case> cases{
        {"a link made", [&] { appendNumbered(4); }, true},
        {"a link switched", [&] { station.LinkTable[2].deaktiv = 1 - station.LinkTable[2].deaktiv; }, true},
        {"all links deleted", [&] { station.ClearAllLinks(); }, true},
        {"switched and switched back", [&] { station.LinkTable[1].deaktiv ^= 1; station.LinkTable[1].deaktiv ^= 1; }, false},
        {"only the words text refreshed", [&] { DeviceLinkWords words; station.EncodeLink(1, words); }, false},
    };
    for (const Case& c : cases) {
        station.ClearAllLinks();
        for (int seed = 1; seed <= 3; ++seed)
            appendNumbered(seed);
        MarkLinksKept(station);
        c.edit();
        EXPECT_EQ(HasUnsavedLinks(station), c.unsaved) << c.what;
        MarkLinksKept(station);
        EXPECT_FALSE(HasUnsavedLinks(station)) << c.what;
    }
}

TEST(LinkCodec, EveryFieldValueTheDeviceCanHoldSurvivesTheRoundTrip)
{
    const auto roundTrip = [](const LinkRecord& link) {
        LinkRecord decoded;
        DecodeLink(EncodeLinkWords(link), decoded);
        return decoded;
    };
    for (int module = 0; module <= 127; ++module) {
        LinkRecord link = inactiveExampleLink();
        link.ModulQ = module;
        link.ModulZ = 127 - module;
        link.deaktiv = module % 2;
        const LinkRecord back = roundTrip(link);
        ASSERT_EQ(back.ModulQ, link.ModulQ);
        ASSERT_EQ(back.ModulZ, link.ModulZ);
        ASSERT_EQ(back.deaktiv, link.deaktiv);
    }
    for (int bit = 0; bit <= 15; ++bit) {
        for (int count = 0; count <= 255; ++count) {
            LinkRecord link = inactiveExampleLink();
            link.BitVon = bit;
            link.BitZ = 15 - bit;
            link.AnzBit = count;
            const LinkRecord back = roundTrip(link);
            ASSERT_EQ(back.BitVon, link.BitVon);
            ASSERT_EQ(back.BitZ, link.BitZ);
            ASSERT_EQ(back.AnzBit, link.AnzBit);
        }
    }
    for (int reg : {0, 1, 100, 30800, 65535}) {
        LinkRecord link = inactiveExampleLink();
        link.RegVon = reg;
        link.RegZ = 65535 - reg;
        const LinkRecord back = roundTrip(link);
        EXPECT_EQ(back.RegVon, link.RegVon);
        EXPECT_EQ(back.RegZ, link.RegZ);
    }
}

TEST(LinkCodec, DecodingTheExampleWordsGivesTheInactiveLink)
{
    LinkRecord link;
    DecodeLink({0x8305, 100, 300, 0x2704}, link);
    EXPECT_EQ(link.deaktiv, 1);
    EXPECT_EQ(link.ModulQ, 3);
    EXPECT_EQ(link.RegVon, 100);
    EXPECT_EQ(link.BitVon, 2);
    EXPECT_EQ(link.ModulZ, 5);
    EXPECT_EQ(link.RegZ, 300);
    EXPECT_EQ(link.BitZ, 7);
    EXPECT_EQ(link.AnzBit, 4);
}

TEST(LinkCodec, FieldsOutsideTheDeviceFormWrapInSixteenBitsAndStayInactive)
{
    LinkRecord link;
    link.deaktiv = 2; // inactive, though not stored as 1
    link.ModulQ = 1 << 20;
    link.AnzBit = -1;
    const DeviceLinkWords words = EncodeLinkWords(link);
    EXPECT_EQ(words.r1, 0x8000);
    EXPECT_EQ(words.r4, 0xFFFF);
}
