#include "model/LinkComparison.h"
#include "tests/common/TableLinks.h"

#include <gtest/gtest.h>

namespace {

using Status = LinkRowStatus;

const LinkFields kA{2, 100, 0, 8, 5, 300, 0, 0};
const LinkFields kB{3, 42, 1, 2, 2, 300, 8, 0};
const LinkFields kC{8, 150, 0, 16, 2, 350, 0, 1};
const LinkFields kD{9, 151, 0, 1, 3, 42, 0, 0};
const LinkFields kE{12, 150, 3, 12, 12, 350, 4, 0};

std::array<bool, kLinkFieldCount> fieldsDiffering(std::initializer_list<int> fields)
{
    std::array<bool, kLinkFieldCount> differs{};
    for (const int f : fields)
        differs[static_cast<std::size_t>(f)] = true;
    return differs;
}

} // namespace

TEST(LinkComparison, LinesUpLinksLikeDiff)
{
    LinkFields bInactive = kB;
    bInactive[7] = 1;
    LinkFields bMoved = kB;
    bMoved[5] = 301;
    bMoved[6] = 3;
    struct Case {
        const char* what;
        std::vector<LinkFields> here;
        std::vector<LinkFields> device;
        std::vector<LinkComparisonRow> rows;
    };
    const std::vector<Case> cases{
        {"equal", {kA, kB}, {kA, kB}, {{Status::Same, 1, 1, {}}, {Status::Same, 2, 2, {}}}},
        {"nothing on either side", {}, {}, {}},
        {"one field switched", {kA, bInactive}, {kA, kB},
         {{Status::Same, 1, 1, {}}, {Status::Changed, 2, 2, fieldsDiffering({7})}}},
        {"changed, removed in the middle, added at the end", {kA, bMoved, kC, kE}, {kA, kB, kD, kC},
         {{Status::Same, 1, 1, {}},
          {Status::Changed, 2, 2, fieldsDiffering({5, 6})},
          {Status::OnlyOnDevice, 0, 3, {}},
          {Status::Same, 3, 4, {}},
          {Status::OnlyHere, 4, 0, {}}}},
        {"all new", {kC}, {}, {{Status::OnlyHere, 1, 0, {}}}},
        {"all gone", {}, {kC, kD}, {{Status::OnlyOnDevice, 0, 1, {}}, {Status::OnlyOnDevice, 0, 2, {}}}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(CompareLinks(linkRecords(c.here), linkRecords(c.device)), c.rows) << c.what;
}
