#include "editor/rules/LinkPlanLayout.h"
#include "model/ModuleModel.h"
#include "tests/common/TableLinks.h"

#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <numbers>
#include <string>
#include <tuple>
#include <vector>

namespace {

// One arrow as a test names it: from and to module address, active, how many links.
struct ArrowCount {
    int32_t from = 0;
    int32_t to = 0;
    bool active = true;
    int count = 0;

    bool operator==(const ArrowCount&) const = default;
};

void PrintTo(const ArrowCount& a, std::ostream* out)
{
    *out << a.from << (a.active ? "->" : "~>") << a.to << " x" << a.count;
}

std::vector<PlanModule> overviewOf(const std::vector<int32_t>& addresses)
{
    std::vector<PlanModule> modules;
    for (const int32_t address : addresses) {
        PlanModule module;
        module.address = address;
        module.name = "Modul " + std::to_string(address);
        modules.push_back(module);
    }
    return modules;
}

LinkFields link(int32_t from, int32_t to, int32_t deaktiv = 0)
{
    return {from, 100, 0, 4, to, 300, 0, deaktiv};
}

std::vector<ArrowCount> arrowCounts(const LinkPlan& plan)
{
    std::vector<ArrowCount> counts;
    for (const PlanArrow& a : plan.arrows)
        counts.push_back({plan.modules[static_cast<std::size_t>(a.from)].address,
                          plan.modules[static_cast<std::size_t>(a.to)].address, a.active, a.count()});
    return counts;
}

std::vector<std::tuple<int32_t, bool>> moduleList(const LinkPlan& plan)
{
    std::vector<std::tuple<int32_t, bool>> modules;
    for (const PlanModule& m : plan.modules)
        modules.emplace_back(m.address, m.inOverview);
    return modules;
}

LinkPlan planOf(const std::vector<int32_t>& overview, const std::vector<LinkFields>& links)
{
    const std::vector<PlanModule> modules = overviewOf(overview);
    const std::vector<LinkRecord> records = linkRecords(links);
    return LayOutLinkPlan(modules, records);
}

struct PlanCase {
    const char* name;
    std::vector<int32_t> overview;
    std::vector<LinkFields> links;
    std::vector<ArrowCount> arrows;                  // in plan order
    std::vector<std::tuple<int32_t, bool>> modules;  // address, in the overview
};

class LinkPlanArrows : public testing::TestWithParam<PlanCase> {};

} // namespace

TEST_P(LinkPlanArrows, CountTheLinksOfEachSourceTargetAndState)
{
    const PlanCase& c = GetParam();
    const LinkPlan plan = planOf(c.overview, c.links);
    EXPECT_EQ(arrowCounts(plan), c.arrows);
    EXPECT_EQ(moduleList(plan), c.modules);
    int active = 0;
    for (const LinkFields& l : c.links)
        active += l[7] == 0 ? 1 : 0;
    EXPECT_EQ(plan.activeLinks, active);
    EXPECT_EQ(plan.inactiveLinks, static_cast<int>(c.links.size()) - active);
}

INSTANTIATE_TEST_SUITE_P(
    Tables, LinkPlanArrows,
    testing::Values(
        PlanCase{"NoLinks", {0, 2, 9}, {}, {}, {{0, true}, {2, true}, {9, true}}},
        PlanCase{"OneLink", {0, 2, 9}, {link(2, 9)}, {{2, 9, true, 1}}, {{0, true}, {2, true}, {9, true}}},
        PlanCase{"LinksOfOnePairAddUp",
                 {2, 9},
                 {link(2, 9), link(2, 9), link(2, 9)},
                 {{2, 9, true, 3}},
                 {{2, true}, {9, true}}},
        PlanCase{"ActiveAndInactiveLinksOfAPairAreTwoArrows",
                 {2, 9},
                 {link(2, 9, 1), link(2, 9), link(2, 9, 1), link(2, 9)},
                 {{2, 9, true, 2}, {2, 9, false, 2}},
                 {{2, true}, {9, true}}},
        PlanCase{"BothDirectionsAreTwoArrows",
                 {2, 9},
                 {link(9, 2), link(2, 9), link(9, 2, 1)},
                 {{2, 9, true, 1}, {9, 2, true, 1}, {9, 2, false, 1}},
                 {{2, true}, {9, true}}},
        PlanCase{"AnySetDeaktivCountsAsInactive", {2, 9}, {link(2, 9, 2), link(2, 9, -1)}, {{2, 9, false, 2}},
                 {{2, true}, {9, true}}},
        PlanCase{"LinksOfAModuleToItselfAreALoop",
                 {0, 2, 9},
                 {link(2, 2), link(2, 2, 1), link(2, 2)},
                 {{2, 2, true, 2}, {2, 2, false, 1}},
                 {{0, true}, {2, true}, {9, true}}},
        PlanCase{"AModuleTheOverviewLacksGetsABoxOfItsOwnInNumberOrder",
                 {0, 2, 9},
                 {link(2, 39), link(63, 9, 1)},
                 {{2, 39, true, 1}, {63, 9, false, 1}},
                 {{0, true}, {2, true}, {9, true}, {39, false}, {63, false}}},
        PlanCase{"ModuleNumbersNoModuleCanHave",
                 {2},
                 {link(-1, 2), link(INT_MAX, INT_MIN), link(300, 300)},
                 {{-1, 2, true, 1}, {300, 300, true, 1}, {INT_MAX, INT_MIN, true, 1}},
                 {{INT_MIN, false}, {-1, false}, {2, true}, {300, false}, {INT_MAX, false}}},
        PlanCase{"AnAddressListedTwiceIsOneBox", {0, 2, 2, 0}, {link(0, 2)}, {{0, 2, true, 1}},
                 {{0, true}, {2, true}}},
        PlanCase{"NoModulesAndNoLinks", {}, {}, {}, {}}),
    [](const testing::TestParamInfo<PlanCase>& info) { return std::string(info.param.name); });

TEST(LinkPlan, AnArrowNamesItsLinksInTableOrder)
{
    const LinkPlan plan = planOf({2, 9}, {link(2, 9), link(9, 2), link(2, 9, 1), link(2, 9)});
    const PlanArrow* active = plan.arrow(2, 9, true);
    ASSERT_NE(active, nullptr);
    EXPECT_EQ(active->links, (std::vector<int32_t>{1, 4}));
    ASSERT_NE(plan.arrow(2, 9, false), nullptr);
    EXPECT_EQ(plan.arrow(2, 9, false)->links, (std::vector<int32_t>{3}));
    EXPECT_EQ(plan.arrow(9, 2, false), nullptr);
    EXPECT_EQ(plan.arrow(5, 2, true), nullptr) << "no module 5";
}

TEST(LinkPlan, ModulesGoClockwiseFromTheTopInNumberOrder)
{
    const LinkPlan plan = planOf({12, 0, 5, 3, 8}, {});
    ASSERT_EQ(plan.modules.size(), 5U);
    const QPointF middle = [&] {
        QPointF sum;
        for (const PlanModule& m : plan.modules)
            sum += m.box.center();
        return sum / 5.0;
    }();
    double previous = -1;
    for (const PlanModule& m : plan.modules) {
        const QPointF v = m.box.center() - middle;
        // The angle from the top, clockwise on a page whose y runs down.
        double angle = std::atan2(v.x(), -v.y());
        if (angle < -1e-6)
            angle += 2 * std::numbers::pi;
        EXPECT_GT(angle, previous) << m.address;
        previous = angle;
    }
    EXPECT_EQ(plan.modules.front().address, 0);
    EXPECT_LT(std::abs(plan.modules.front().box.center().x() - plan.size.width() / 2), 1e-6) << "the first on top";
}

TEST(LinkPlan, UpTo64ModulesNeitherTouchEachOtherNorLeaveThePage)
{
    for (int n = 1; n <= 65; ++n) {
        std::vector<int32_t> addresses;
        for (int a = 0; a < n; ++a)
            addresses.push_back(a);
        const LinkPlan plan = planOf(addresses, {});
        ASSERT_EQ(plan.modules.size(), static_cast<std::size_t>(n));
        const QRectF page(QPointF(), plan.size);
        for (std::size_t i = 0; i < plan.modules.size(); ++i) {
            const QRectF& box = plan.modules[i].box;
            EXPECT_EQ(box.size(), QSizeF(PlanMetrics::kBoxWidth, PlanMetrics::kBoxHeight));
            EXPECT_TRUE(page.contains(box)) << n << " modules, box " << i;
            EXPECT_GE(box.top(), plan.title.bottom() + PlanMetrics::kMargin - 1e-6);
            EXPECT_LE(box.bottom(), plan.legend.top() - PlanMetrics::kMargin + 1e-6);
            for (std::size_t j = i + 1; j < plan.modules.size(); ++j)
                EXPECT_FALSE(box.adjusted(-10, -10, 10, 10).intersects(plan.modules[j].box))
                    << n << " modules: " << i << " and " << j;
        }
    }
}

TEST(LinkPlan, SixtyFourModulesStillFitAPrintablePage)
{
    std::vector<int32_t> addresses;
    for (int a = 0; a <= 64; ++a)
        addresses.push_back(a);
    const LinkPlan plan = planOf(addresses, {});
    // About A3 landscape at 150 dpi: readable on paper.
    EXPECT_LT(plan.size.width(), 3600);
    EXPECT_LT(plan.size.height(), 2600);
    EXPECT_GT(plan.size.width(), plan.size.height());
}

TEST(LinkPlan, TheSameTablesGiveTheSamePlan)
{
    const std::vector<LinkFields> links{link(0, 2), link(2, 9, 1), link(9, 2), link(2, 2), link(5, 40)};
    const LinkPlan a = planOf({0, 2, 5, 9}, links);
    const LinkPlan b = planOf({9, 5, 2, 0}, links);
    EXPECT_EQ(a.size, b.size);
    ASSERT_EQ(a.modules.size(), b.modules.size());
    for (std::size_t i = 0; i < a.modules.size(); ++i)
        EXPECT_EQ(a.modules[i].box, b.modules[i].box);
    ASSERT_EQ(a.arrows.size(), b.arrows.size());
    for (std::size_t i = 0; i < a.arrows.size(); ++i) {
        EXPECT_EQ(a.arrows[i].start, b.arrows[i].start);
        EXPECT_EQ(a.arrows[i].end, b.arrows[i].end);
        EXPECT_EQ(a.arrows[i].label, b.arrows[i].label);
    }
}

TEST(LinkPlan, ArrowsRunFromTheEdgeOfTheSourceBoxToTheEdgeOfTheTargetBox)
{
    std::vector<int32_t> addresses;
    std::vector<LinkFields> links;
    for (int a = 0; a < 20; ++a) {
        addresses.push_back(a);
        links.push_back(link(a, (a * 7 + 3) % 20, a % 3 == 0 ? 1 : 0));
        links.push_back(link((a * 7 + 3) % 20, a));
    }
    const LinkPlan plan = planOf(addresses, links);
    for (const PlanArrow& arrow : plan.arrows) {
        ASSERT_FALSE(arrow.loop());
        const QRectF& from = plan.modules[static_cast<std::size_t>(arrow.from)].box;
        const QRectF& to = plan.modules[static_cast<std::size_t>(arrow.to)].box;
        // Just outside each box: the clearance, and no more than a few pixels beyond.
        EXPECT_FALSE(from.contains(arrow.start));
        EXPECT_TRUE(from.adjusted(-6, -6, 6, 6).contains(arrow.start));
        EXPECT_FALSE(to.contains(arrow.end));
        EXPECT_TRUE(to.adjusted(-6, -6, 6, 6).contains(arrow.end));
        // Between its ends the curve crosses neither of its own boxes.
        for (double t = 0.05; t < 0.96; t += 0.05) {
            const QPointF p = PlanCurvePoint(arrow, t);
            EXPECT_FALSE(from.contains(p) || to.contains(p)) << t;
        }
    }
}

TEST(LinkPlan, TheTwoDirectionsOfAPairAndItsTwoStatesRunSideBySide)
{
    const LinkPlan plan = planOf({2, 9}, {link(2, 9), link(2, 9, 1), link(9, 2), link(9, 2, 1)});
    ASSERT_EQ(plan.arrows.size(), 4U);
    std::vector<QPointF> middles;
    for (const PlanArrow& arrow : plan.arrows)
        middles.push_back(PlanCurvePoint(arrow, 0.5));
    for (std::size_t i = 0; i < middles.size(); ++i) {
        for (std::size_t j = i + 1; j < middles.size(); ++j) {
            const QPointF d = middles[i] - middles[j];
            EXPECT_GE(std::hypot(d.x(), d.y()), PlanMetrics::kLaneStep - 1e-6) << i << " and " << j;
        }
    }
}

TEST(LinkPlan, CountsMeetNeitherEachOtherNorABox)
{
    std::vector<int32_t> addresses;
    std::vector<LinkFields> links;
    for (int a = 0; a < 12; ++a)
        addresses.push_back(a);
    // The central device reads into every module; some answer back, some to themselves.
    for (int a = 1; a < 12; ++a) {
        links.push_back(link(0, a));
        if (a % 2 == 0)
            links.push_back(link(a, 0, a % 4 == 0 ? 1 : 0));
        if (a % 3 == 0)
            links.push_back(link(a, a));
    }
    const LinkPlan plan = planOf(addresses, links);
    for (std::size_t i = 0; i < plan.arrows.size(); ++i) {
        const QRectF& label = plan.arrows[i].label;
        EXPECT_EQ(label.width(), PlanLabelWidth(plan.arrows[i].count()));
        EXPECT_TRUE(QRectF(QPointF(), plan.size).contains(label));
        for (const PlanModule& m : plan.modules)
            EXPECT_FALSE(m.box.intersects(label)) << "count " << i << " on module " << m.address;
        for (std::size_t j = i + 1; j < plan.arrows.size(); ++j)
            EXPECT_FALSE(label.intersects(plan.arrows[j].label)) << "counts " << i << " and " << j;
    }
}

TEST(LinkPlan, ALoopLeavesAndReachesItsBoxOnTheSideAwayFromTheMiddle)
{
    const LinkPlan plan = planOf({0, 2, 9, 12}, {link(0, 0), link(2, 2), link(9, 9, 1), link(9, 9), link(12, 12)});
    const QPointF middle = plan.modules[0].box.center() / 4 + plan.modules[1].box.center() / 4 +
                           plan.modules[2].box.center() / 4 + plan.modules[3].box.center() / 4;
    for (const PlanArrow& loop : plan.arrows) {
        ASSERT_TRUE(loop.loop());
        const QRectF& box = plan.modules[static_cast<std::size_t>(loop.from)].box;
        EXPECT_FALSE(box.contains(loop.start));
        EXPECT_FALSE(box.contains(loop.end));
        EXPECT_TRUE(box.adjusted(-6, -6, 6, 6).contains(loop.start));
        EXPECT_TRUE(box.adjusted(-6, -6, 6, 6).contains(loop.end));
        const QPointF outwards = box.center() - middle;
        const QPointF top = PlanCurvePoint(loop, 0.5) - box.center();
        EXPECT_GT(outwards.x() * top.x() + outwards.y() * top.y(), 0) << "module " << loop.from;
        EXPECT_FALSE(box.intersects(loop.label));
    }
    // The inactive loop of module 9 goes round the active one.
    const PlanArrow* active = plan.arrow(9, 9, true);
    const PlanArrow* inactive = plan.arrow(9, 9, false);
    ASSERT_NE(active, nullptr);
    ASSERT_NE(inactive, nullptr);
    const QRectF& box9 = plan.modules[2].box;
    const auto reach = [&box9](const PlanArrow& a) {
        const QPointF d = PlanCurvePoint(a, 0.5) - box9.center();
        return std::hypot(d.x(), d.y());
    };
    EXPECT_GT(reach(*inactive), reach(*active) + 10);
    EXPECT_FALSE(active->label.intersects(inactive->label));
}

TEST(LinkPlan, TheOverviewGivesTheModulesOnceWithTheirNames)
{
    Station station;
    station.ResetModel();
    for (const int32_t address : {0, 2, 9}) {
        station.ModuleTable[static_cast<std::size_t>(address)].present = 1;
        station.ModuleTable[static_cast<std::size_t>(address)].name = "Station " + std::to_string(address);
    }
    station.AppendToModuleList(2);
    station.AppendToModuleList(9);
    station.AppendToModuleList(0); // the central device once more, as after a read
    ++station.ModulAnzahl;         // a count beyond what the list holds must not reach past it
    const std::vector<PlanModule> modules = OverviewPlanModules(station);
    ASSERT_EQ(modules.size(), 3U);
    EXPECT_EQ(modules[0].address, 0);
    EXPECT_EQ(modules[1].name, "Station 2");
    EXPECT_EQ(modules[2].address, 9);
    for (const PlanModule& m : modules)
        EXPECT_TRUE(m.inOverview);
    station.ModulAnzahl = 1000;
    EXPECT_LE(OverviewPlanModules(station).size(), 3U);
    station.ResetModel();
}
