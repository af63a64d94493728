#include "editor/rules/LinkPlanLayout.h"

#include "model/ModuleModel.h"

#include <QLineF>

#include <algorithm>
#include <array>
#include <cmath>
#include <map>
#include <numbers>
#include <set>
#include <tuple>

namespace {

using namespace PlanMetrics;

// Width over height of the ellipse: a landscape page, not a flat band.
constexpr double kEllipseRatio = 1.45;
constexpr double kSmallestRadius = 290;
constexpr double kGrowth = 1.04;
// An arrow bends towards the middle by this share of its length, at most.
constexpr double kPull = 0.2;
// Room between a box and the arrow that leaves or reaches it.
constexpr double kArrowClearance = 3;
// The loops of a module: how far they reach out and how wide they start.
constexpr double kLoopReach = 40;
constexpr double kLoopReachStep = 28;
constexpr double kLoopSpread = 13;
constexpr double kLoopSpreadStep = 7;
// Pieces an arrow's curve is cut into to find where it runs.
constexpr int kTrackPoints = 48;

double length(const QPointF& v)
{
    return std::hypot(v.x(), v.y());
}

QPointF unit(const QPointF& v, const QPointF& fallback)
{
    const double l = length(v);
    return l > 1e-9 ? v / l : fallback;
}

// Box centres on the ellipse with horizontal radius rx, from the top
// clockwise, equally far apart as boxes count distance: a step across is
// worth as much as the box is wide, a step down as much as it is high. So
// the boxes stand closer where they are stacked (at the sides) than where
// they stand in a row (at the top and the bottom), and the ring stays small.
std::vector<QPointF> ellipsePoints(std::size_t n, double rx)
{
    constexpr int kSamples = 4096;
    const double ry = rx / kEllipseRatio;
    std::vector<QPointF> track;
    std::vector<double> walked{0};
    for (int i = 0; i <= kSamples; ++i) {
        const double angle = -std::numbers::pi / 2 + 2 * std::numbers::pi * i / kSamples;
        track.emplace_back(rx * std::cos(angle), ry * std::sin(angle));
        if (i > 0) {
            const QPointF step = track[static_cast<std::size_t>(i)] - track[static_cast<std::size_t>(i - 1)];
            walked.push_back(walked.back() + std::max(std::abs(step.x()) / (kBoxWidth + kBoxGap),
                                                      std::abs(step.y()) / (kBoxHeight + kBoxGap)));
        }
    }
    std::vector<QPointF> points;
    std::size_t at = 0;
    for (std::size_t i = 0; i < n; ++i) {
        const double wanted = walked.back() * static_cast<double>(i) / static_cast<double>(n);
        while (at + 1 < walked.size() && walked[at + 1] < wanted)
            ++at;
        const double span = walked[at + 1] - walked[at];
        const double share = span > 0 ? (wanted - walked[at]) / span : 0;
        points.push_back(track[at] + (track[at + 1] - track[at]) * share);
    }
    return points;
}

bool boxesTouch(const QPointF& a, const QPointF& b)
{
    return std::abs(a.x() - b.x()) < kBoxWidth + kBoxGap && std::abs(a.y() - b.y()) < kBoxHeight + kBoxGap;
}

// Centres of n boxes around (0, 0) that keep kBoxGap between each other.
std::vector<QPointF> boxCentres(std::size_t n)
{
    if (n <= 1)
        return std::vector<QPointF>(n, QPointF());
    for (double rx = kSmallestRadius;; rx *= kGrowth) {
        std::vector<QPointF> points = ellipsePoints(n, rx);
        bool apart = true;
        // On a convex ring only near neighbours can meet.
        const std::size_t reach = std::min<std::size_t>(n - 1, 4);
        for (std::size_t i = 0; i < n && apart; ++i) {
            for (std::size_t step = 1; step <= reach && apart; ++step)
                apart = !boxesTouch(points[i], points[(i + step) % n]);
        }
        if (apart)
            return points;
    }
}

// The point at t of a quadratic curve.
QPointF quadraticPoint(const QPointF& p0, const QPointF& p1, const QPointF& p2, double t)
{
    const double u = 1 - t;
    return u * u * p0 + 2 * u * t * p1 + t * t * p2;
}

// The control point of the part [a, b] of a quadratic curve.
QPointF quadraticBlossom(const QPointF& p0, const QPointF& p1, const QPointF& p2, double a, double b)
{
    return (1 - a) * (1 - b) * p0 + ((1 - a) * b + a * (1 - b)) * p1 + a * b * p2;
}

// Where the curve crosses the edge of `box` between t = inside (in the box)
// and t = outside (out of it).
double edgeCrossing(const QPointF& p0, const QPointF& p1, const QPointF& p2, const QRectF& box, double inside,
                    double outside)
{
    for (int i = 0; i < 40; ++i) {
        const double middle = (inside + outside) / 2;
        if (box.contains(quadraticPoint(p0, p1, p2, middle)))
            inside = middle;
        else
            outside = middle;
    }
    return outside;
}

// Whether the straight piece from a to b touches the rectangle.
bool segmentMeets(const QPointF& a, const QPointF& b, const QRectF& rect)
{
    if (rect.contains(a) || rect.contains(b))
        return true;
    if (std::max(a.x(), b.x()) < rect.left() || std::min(a.x(), b.x()) > rect.right() ||
        std::max(a.y(), b.y()) < rect.top() || std::min(a.y(), b.y()) > rect.bottom())
        return false;
    const QLineF piece(a, b);
    const std::array<QLineF, 4> edges{
        QLineF(rect.topLeft(), rect.topRight()), QLineF(rect.topRight(), rect.bottomRight()),
        QLineF(rect.bottomRight(), rect.bottomLeft()), QLineF(rect.bottomLeft(), rect.topLeft())};
    for (const QLineF& edge : edges) {
        if (piece.intersects(edge, nullptr) == QLineF::BoundedIntersection)
            return true;
    }
    return false;
}

QRectF labelRect(const QPointF& centre, int count)
{
    const double width = PlanLabelWidth(count);
    return {centre.x() - width / 2, centre.y() - kLabelHeight / 2, width, kLabelHeight};
}

class Layout {
public:
    Layout(std::span<const PlanModule> overview, std::span<const LinkRecord> links)
        : m_links(links)
    {
        collectModules(overview);
        placeModules();
        collectArrows();
        for (PlanArrow& arrow : m_plan.arrows) {
            if (arrow.loop())
                shapeLoop(arrow);
            else
                shapeArrow(arrow);
        }
        for (const PlanArrow& arrow : m_plan.arrows) {
            std::vector<QPointF> track;
            for (int i = 0; i <= kTrackPoints; ++i)
                track.push_back(PlanCurvePoint(arrow, static_cast<double>(i) / kTrackPoints));
            m_tracks.push_back(std::move(track));
        }
        for (PlanArrow& arrow : m_plan.arrows)
            placeLabel(arrow);
    }

    LinkPlan take() { return std::move(m_plan); }

private:
    void collectModules(std::span<const PlanModule> overview)
    {
        std::map<int32_t, PlanModule> modules;
        for (const PlanModule& module : overview)
            modules.try_emplace(module.address, module).first->second.inOverview = true;
        for (const LinkRecord& link : m_links) {
            for (const int32_t address : {link.ModulQ, link.ModulZ}) {
                PlanModule missing;
                missing.address = address;
                missing.inOverview = false;
                modules.try_emplace(address, missing);
            }
        }
        for (auto& [address, module] : modules)
            m_plan.modules.push_back(std::move(module));
    }

    void placeModules()
    {
        const std::vector<QPointF> centres = boxCentres(m_plan.modules.size());
        double left = -kBoxWidth / 2;
        double right = kBoxWidth / 2;
        double top = -kBoxHeight / 2;
        double bottom = kBoxHeight / 2;
        for (const QPointF& c : centres) {
            left = std::min(left, c.x() - kBoxWidth / 2);
            right = std::max(right, c.x() + kBoxWidth / 2);
            top = std::min(top, c.y() - kBoxHeight / 2);
            bottom = std::max(bottom, c.y() + kBoxHeight / 2);
        }
        // Whole pixels, so that an image or an SVG viewer shows it unscaled.
        const double width = std::ceil(std::max(right - left + 2 * kMargin, kMinimumWidth));
        // The ring sits in the middle of the page's width.
        const QPointF shift(width / 2 - (left + right) / 2, kTitleHeight + kMargin - top);
        for (std::size_t i = 0; i < centres.size(); ++i) {
            const QPointF c = centres[i] + shift;
            m_plan.modules[i].box = QRectF(c.x() - kBoxWidth / 2, c.y() - kBoxHeight / 2, kBoxWidth, kBoxHeight);
        }
        m_centre = shift;
        const double ringBottom = std::ceil(kTitleHeight + kMargin + (bottom - top) + kMargin);
        m_plan.title = QRectF(0, 0, width, kTitleHeight);
        m_plan.legend = QRectF(0, ringBottom, width, kLegendHeight);
        m_plan.size = QSizeF(width, ringBottom + kLegendHeight);
    }

    void collectArrows()
    {
        // (from, to, inactive) -> link numbers, in the order of the modules.
        std::map<std::tuple<int, int, bool>, std::vector<int32_t>> arrows;
        for (std::size_t i = 0; i < m_links.size(); ++i) {
            const LinkRecord& link = m_links[i];
            const bool inactive = link.deaktiv != 0;
            (inactive ? m_plan.inactiveLinks : m_plan.activeLinks)++;
            arrows[{m_plan.moduleIndex(link.ModulQ), m_plan.moduleIndex(link.ModulZ), inactive}].push_back(
                static_cast<int32_t>(i + 1));
        }
        for (auto& [key, numbers] : arrows) {
            PlanArrow arrow;
            arrow.from = std::get<0>(key);
            arrow.to = std::get<1>(key);
            arrow.active = !std::get<2>(key);
            arrow.links = std::move(numbers);
            m_plan.arrows.push_back(std::move(arrow));
        }
    }

    // The second arrow of a pair (the inactive one beside an active one) runs further out.
    int lane(const PlanArrow& arrow) const
    {
        return !arrow.active && m_plan.arrow(m_plan.modules[static_cast<std::size_t>(arrow.from)].address,
                                             m_plan.modules[static_cast<std::size_t>(arrow.to)].address,
                                             true) != nullptr
                   ? 1
                   : 0;
    }

    const QRectF& boxOf(int module) const { return m_plan.modules[static_cast<std::size_t>(module)].box; }

    void shapeArrow(PlanArrow& arrow) const
    {
        const QRectF from = boxOf(arrow.from);
        const QRectF to = boxOf(arrow.to);
        const QPointF along = to.center() - from.center();
        const QPointF direction = unit(along, QPointF(1, 0));
        // Right of the direction of travel, on a page whose y runs down.
        const QPointF right(-direction.y(), direction.x());
        const QPointF offset = right * (kLaneOffset + kLaneStep * lane(arrow));
        const QPointF middle = (from.center() + to.center()) / 2;
        const QPointF inwards = m_centre - middle;
        const double pull = std::min(kPull * length(along), length(inwards));
        const QPointF p0 = from.center() + offset;
        const QPointF p1 = middle + unit(inwards, QPointF()) * pull + offset;
        const QPointF p2 = to.center() + offset;

        const QRectF fromArea = from.adjusted(-kArrowClearance, -kArrowClearance, kArrowClearance, kArrowClearance);
        const QRectF toArea = to.adjusted(-kArrowClearance, -kArrowClearance, kArrowClearance, kArrowClearance);
        double a = 0;
        double b = 1;
        const QPointF half = quadraticPoint(p0, p1, p2, 0.5);
        if (!fromArea.contains(half) && !toArea.contains(half)) {
            a = edgeCrossing(p0, p1, p2, fromArea, 0, 0.5);
            b = edgeCrossing(p0, p1, p2, toArea, 1, 0.5);
        }
        const QPointF s = quadraticPoint(p0, p1, p2, a);
        const QPointF c = quadraticBlossom(p0, p1, p2, a, b);
        const QPointF e = quadraticPoint(p0, p1, p2, b);
        arrow.start = s;
        arrow.control1 = s + (c - s) * (2.0 / 3);
        arrow.control2 = e + (c - e) * (2.0 / 3);
        arrow.end = e;
    }

    void shapeLoop(PlanArrow& arrow) const
    {
        const QRectF box = boxOf(arrow.from);
        const QPointF outwards = box.center() - m_centre;
        // The side of the box that faces away from the middle; the top one for a box alone.
        QPointF normal(0, -1);
        if (length(outwards) > 1e-9) {
            if (std::abs(outwards.x()) * kBoxHeight > std::abs(outwards.y()) * kBoxWidth)
                normal = QPointF(outwards.x() > 0 ? 1 : -1, 0);
            else
                normal = QPointF(0, outwards.y() > 0 ? 1 : -1);
        }
        const QPointF along(-normal.y(), normal.x());
        const QPointF side = box.center() + QPointF(normal.x() * (kBoxWidth / 2 + kArrowClearance),
                                                    normal.y() * (kBoxHeight / 2 + kArrowClearance));
        const int l = lane(arrow);
        const double reach = kLoopReach + kLoopReachStep * l;
        const double spread = kLoopSpread + kLoopSpreadStep * l;
        arrow.start = side + along * spread;
        arrow.end = side - along * spread;
        arrow.control1 = arrow.start + normal * reach + along * (reach * 0.55);
        arrow.control2 = arrow.end + normal * reach - along * (reach * 0.55);
    }

    bool labelFree(const QRectF& rect) const
    {
        for (const QRectF& taken : m_labels) {
            if (taken.adjusted(-2, -2, 2, 2).intersects(rect))
                return false;
        }
        for (const PlanModule& module : m_plan.modules) {
            if (module.box.intersects(rect))
                return false;
        }
        return true;
    }

    // No other arrow runs through the place: a count on a crossing would
    // belong to either.
    bool clearOfOtherArrows(const QRectF& rect, const PlanArrow& own) const
    {
        const QRectF area = rect.adjusted(-2, -2, 2, 2);
        for (std::size_t a = 0; a < m_plan.arrows.size(); ++a) {
            if (&m_plan.arrows[a] == &own)
                continue;
            const std::vector<QPointF>& points = m_tracks[a];
            for (std::size_t i = 1; i < points.size(); ++i) {
                if (segmentMeets(points[i - 1], points[i], area))
                    return false;
            }
        }
        return true;
    }

    // The count sits on its curve, near the tail, where it meets no other
    // count and no box; nearer the middle when the first places are taken.
    void placeLabel(PlanArrow& arrow)
    {
        // A loop's count goes on its far end first.
        static constexpr std::array<double, 9> kLoop{0.5, 0.35, 0.65, 0.25, 0.75, 0.42, 0.58, 0.2, 0.8};
        static constexpr std::array<double, 9> kFirstLane{0.3, 0.22, 0.38, 0.46, 0.14, 0.54, 0.62, 0.7, 0.78};
        static constexpr std::array<double, 9> kSecondLane{0.43, 0.51, 0.35, 0.59, 0.27, 0.67, 0.19, 0.75, 0.83};
        const auto& places = arrow.loop() ? kLoop : lane(arrow) == 0 ? kFirstLane : kSecondLane;
        // The first place free of everything; else the first free of other
        // counts and boxes; else the first.
        arrow.label = labelRect(PlanCurvePoint(arrow, places[0]), arrow.count());
        bool found = false;
        for (const bool crossingsToo : {true, false}) {
            for (const double t : places) {
                const QRectF rect = labelRect(PlanCurvePoint(arrow, t), arrow.count());
                if (labelFree(rect) && (!crossingsToo || clearOfOtherArrows(rect, arrow))) {
                    arrow.label = rect;
                    found = true;
                    break;
                }
            }
            if (found)
                break;
        }
        m_labels.push_back(arrow.label);
    }

    std::span<const LinkRecord> m_links;
    LinkPlan m_plan;
    QPointF m_centre;
    std::vector<QRectF> m_labels;
    std::vector<std::vector<QPointF>> m_tracks; // each arrow's curve as a line of short pieces
};

} // namespace

int LinkPlan::moduleIndex(int32_t address) const
{
    const auto found = std::lower_bound(modules.begin(), modules.end(), address,
                                        [](const PlanModule& m, int32_t a) { return m.address < a; });
    return found != modules.end() && found->address == address ? static_cast<int>(found - modules.begin()) : -1;
}

const PlanArrow* LinkPlan::arrow(int32_t fromAddress, int32_t toAddress, bool active) const
{
    const int from = moduleIndex(fromAddress);
    const int to = moduleIndex(toAddress);
    for (const PlanArrow& a : arrows) {
        if (a.from == from && a.to == to && a.active == active)
            return &a;
    }
    return nullptr;
}

double PlanLabelWidth(int count)
{
    return 12 + 8 * static_cast<double>(std::to_string(count).size());
}

QPointF PlanCurvePoint(const PlanArrow& arrow, double t)
{
    const double u = 1 - t;
    return u * u * u * arrow.start + 3 * u * u * t * arrow.control1 + 3 * u * t * t * arrow.control2 +
           t * t * t * arrow.end;
}

LinkPlan LayOutLinkPlan(std::span<const PlanModule> overview, std::span<const LinkRecord> links)
{
    return Layout(overview, links).take();
}

std::vector<PlanModule> OverviewPlanModules(const ModuleModel& overview)
{
    std::vector<PlanModule> modules;
    std::set<int32_t> seen;
    const int count = std::clamp(overview.ModulAnzahl, 0, kModuleListSize);
    for (int position = 0; position < count; ++position) {
        const int32_t address = overview.ModuleList[static_cast<std::size_t>(position)];
        if (!IsModuleAddress(address) || !seen.insert(address).second)
            continue;
        PlanModule module;
        module.address = address;
        module.name = overview.ModuleTable[static_cast<std::size_t>(address)].name;
        modules.push_back(std::move(module));
    }
    return modules;
}
