#include "protocol/DeviceRegisters.h"
#include "protocol/LinkArea.h"
#include "tests/common/TableLinks.h"

#include <gtest/gtest.h>

namespace {

// Links whose fields all differ from one to the next, every field within the
// device form, inactive every third.
std::vector<LinkFields> numberedLinks(int count)
{
    std::vector<LinkFields> links;
    for (int n = 1; n <= count; ++n)
        links.push_back({n % 65, 100 + n, n % 16, 1 + n % 255, (n * 7) % 65, 60000 + n, (n * 3) % 16, n % 3 == 0});
    return links;
}

// What the device's 252 registers hold after a write of `words`: the words
// written, and behind them what an earlier, longer list left there.
LinkAreaWords deviceArea(const LinkAreaWords& words)
{
    LinkAreaWords area(DeviceRegisters::LinkAreaCount, 0x1234);
    std::copy(words.begin(), words.end(), area.begin());
    return area;
}

} // namespace

TEST(LinkArea, LinksComeBackThroughTheDeviceAreaUnchanged)
{
    for (const int count : {0, 1, 2, DeviceRegisters::MaxWritableLinks}) {
        const std::vector<LinkFields> links = numberedLinks(count);
        const LinkAreaWords written = EncodeLinkArea(linkRecords(links));
        ASSERT_EQ(written.size(), 4u * (static_cast<std::size_t>(count) + 1)) << count;
        const DeviceLinkWords endSlot = LinkAreaSlot(written, count + 1);
        EXPECT_EQ(LinkWordsText(endSlot), kEmptyLinkText) << count;

        const LinkAreaWords area = deviceArea(written);
        const DecodedLinkArea decoded = DecodeLinkArea(area);
        EXPECT_TRUE(decoded.terminated) << count;
        EXPECT_EQ(decoded.slotsRead, count + 1) << count;
        EXPECT_EQ(linkFields(decoded.links), links) << count;
        EXPECT_FALSE(CompareLinkAreas(written, area).has_value()) << count;
    }
}

TEST(LinkArea, TheWordsOfALinkAreItsDeviceForm)
{
    const LinkAreaWords words = EncodeLinkArea(linkRecords({{3, 100, 2, 4, 5, 300, 7, 1}}));
    EXPECT_EQ(words, (LinkAreaWords{0x8305, 0x0064, 0x012C, 0x2704, 0xFFFF, 0xFFFF, 0xFFFF, 0xFFFF}));
}

TEST(LinkArea, AComparisonNamesTheFirstSlotThatDiffers)
{
    const LinkAreaWords written = EncodeLinkArea(linkRecords(numberedLinks(5)));
    struct Case {
        const char* what;
        std::size_t word; // changed in the device's area
        int slot;         // the difference reported; 0 = none
    };
    const std::vector<Case> cases{
        {"first word of link 1", 0, 1},
        {"last word of link 3", 11, 3},
        {"the end slot", 21, 6},
        {"behind the end slot", 24, 0},
    };
    for (const Case& c : cases) {
        LinkAreaWords area = deviceArea(written);
        area[c.word] ^= 0x0100;
        const auto difference = CompareLinkAreas(written, area);
        ASSERT_EQ(difference.has_value(), c.slot != 0) << c.what;
        if (!difference)
            continue;
        EXPECT_EQ(difference->slot, c.slot) << c.what;
        EXPECT_EQ(LinkWordsText(difference->expected), LinkWordsText(LinkAreaSlot(written, c.slot))) << c.what;
        EXPECT_EQ(LinkWordsText(difference->found), LinkWordsText(LinkAreaSlot(area, c.slot))) << c.what;
    }
}

TEST(LinkArea, AListWithoutEndSlotIsReadNoFurtherThanTheArea)
{
    const LinkAreaWords area(DeviceRegisters::LinkAreaCount + 8, 0x0102);
    const DecodedLinkArea decoded = DecodeLinkArea(area);
    EXPECT_FALSE(decoded.terminated);
    EXPECT_EQ(decoded.slotsRead, DeviceRegisters::DeviceLinkSlots);
    EXPECT_EQ(decoded.links.size(), static_cast<std::size_t>(DeviceRegisters::DeviceLinkSlots));
    // A read cut short ends where its words end.
    EXPECT_EQ(DecodeLinkArea(std::span(area).first(10)).slotsRead, 2);
}
