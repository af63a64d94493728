#include "editor/rules/LinkCheck.h"
#include "model/SignalGroups.h"
#include "tests/common/StationBuilder.h"
#include "tests/common/TableLinks.h"

#include <gtest/gtest.h>

namespace {

using Kind = LinkProblemKind;

// A KRA at 2 (bits 100.., registers 150..161, target bits 300..323 and
// registers 350..357) and an SK40 at 3 (four source bits at 42, two target
// bits at 3); no signal groups.
class LinkCheck : public testing::Test {
protected:
    std::vector<LinkProblem> check(const std::vector<LinkFields>& links) const
    {
        return CheckLinks(station, linkRecords(links));
    }

    const Station station = StationBuilder()
                                .Module(2, 0, {.srcBits = 32, .srcRegs = 12, .dstBits = 24, .dstRegs = 8})
                                .Module(3, 1, {.srcBits = 4, .srcRegs = 2, .dstBits = 2})
                                .Build();
};

const LinkFields kGood{2, 100, 0, 8, 2, 300, 0, 0};

} // namespace

TEST_F(LinkCheck, LinksTheEditorCouldMakeHaveNoProblem)
{
    EXPECT_TRUE(check({kGood, {2, 150, 0, 64, 2, 350, 0, 0}, {3, 42, 1, 2, 3, 3, 0, 0}, {2, 161, 15, 1, 2, 357, 15, 0},
                       {2, 100, 0, 16, 2, 300, 8, 1}})
                    .empty());
}

TEST_F(LinkCheck, FindsEachProblemAndRefusesOnlyAmongActiveLinks)
{
    struct Case {
        const char* what;
        LinkFields link;
        LinkProblem expected; // of the link behind kGood
    };
    const std::vector<Case> cases{
        {"target bits overlap", {2, 150, 0, 4, 2, 300, 7, 0}, {Kind::TargetOverlap, 2, 1, 0, true}},
        {"overlap with an inactive link", {2, 150, 0, 4, 2, 300, 7, 1}, {Kind::TargetOverlap, 2, 1, 0, false}},
        {"the same link twice", kGood, {Kind::Duplicate, 2, 1, 0, true}},
        {"AnzBit 0", {2, 150, 0, 0, 2, 350, 0, 0}, {Kind::RangeNotAllowed, 2, 0, 0, true}},
        {"33 bits", {2, 150, 0, 33, 2, 350, 0, 0}, {Kind::RangeNotAllowed, 2, 0, 0, true}},
        {"48 bits not from bit 0", {2, 150, 1, 48, 2, 350, 0, 0}, {Kind::RangeNotAllowed, 2, 0, 0, true}},
        {"255 bits from bit 15", {2, 150, 15, 255, 2, 350, 0, 0}, {Kind::RangeNotAllowed, 2, 0, 0, true}},
        {"start bit 16", {2, 150, 16, 1, 2, 350, 0, 0}, {Kind::RangeNotAllowed, 2, 0, 0, true}},
        {"target bit 16", {2, 150, 0, 1, 2, 350, 16, 0}, {Kind::RangeNotAllowed, 2, 0, 0, true}},
        {"inactive, AnzBit 0", {2, 150, 0, 0, 2, 350, 0, 1}, {Kind::RangeNotAllowed, 2, 0, 0, false}},
        {"source past the registers", {2, 161, 8, 16, 2, 350, 0, 0}, {Kind::OutsideGroups, 2, 0, 2, true}},
        {"source past the bit group", {2, 101, 1, 32, 2, 350, 0, 0}, {Kind::OutsideGroups, 2, 0, 2, true}},
        {"SK40 bit 4 of four", {3, 42, 3, 2, 2, 350, 0, 0}, {Kind::OutsideGroups, 2, 0, 3, true}},
        {"source register no group holds", {3, 100, 0, 4, 2, 350, 0, 0}, {Kind::OutsideGroups, 2, 0, 3, true}},
        {"target past the bit group", {2, 150, 0, 4, 2, 301, 6, 0}, {Kind::OutsideGroups, 2, 0, 2, true}},
        {"the central device as target", {2, 150, 0, 4, 0, 1502, 0, 0}, {Kind::OutsideGroups, 2, 0, 0, true}},
        {"module 40 missing", {40, 150, 0, 4, 2, 350, 0, 0}, {Kind::ModuleMissing, 2, 0, 40, true}},
        {"module 64 missing, inactive", {2, 150, 0, 4, 64, 350, 0, 1}, {Kind::ModuleMissing, 2, 0, 64, false}},
    };
    for (const Case& c : cases) {
        const std::vector<LinkProblem> found = check({kGood, c.link});
        EXPECT_EQ(found, std::vector<LinkProblem>{c.expected}) << c.what;
        EXPECT_EQ(AnyRefuses(found), c.expected.refuses) << c.what;
    }
}
