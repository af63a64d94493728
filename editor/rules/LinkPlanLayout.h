#pragma once

// The link plan ("Verknüpfungsplan") as plain geometry, without widgets and
// without a painter, so that the same plan can be drawn on the screen, into
// an image and into an SVG file (LinkPlanPainter).
//
// The modules are boxes on an ellipse, clockwise from the top in the order of
// their numbers; the ellipse grows until no two boxes touch. The links are
// arrows from the source module's box to the target module's box: one arrow
// for all active and one for all inactive links of a source and target, each
// with the number of links it stands for. Arrows run a little to the right of
// the line between the boxes, so that the arrows of A to B and of B to A, and
// the active and inactive arrow of one pair, lie side by side; they bend
// towards the middle, so that an arrow between near neighbours does not cross
// the box between them. A module's links to itself are a loop outside its
// box. A module that a link names but the overview lacks gets a box of its own
// among the others, marked as missing.

#include "model/LinkModel.h"

#include <QPointF>
#include <QRectF>
#include <QSizeF>

#include <cstdint>
#include <span>
#include <string>
#include <vector>

struct ModuleModel;

struct PlanModule {
    int32_t address = 0;    // the module address; shown as address + 1, as the link table counts
    std::string name;       // Windows-1252; empty for a module the overview lacks
    bool inOverview = true; // false: only a link names this module
    QRectF box;             // set by the layout
};

struct PlanArrow {
    int from = 0; // index into LinkPlan::modules
    int to = 0;
    bool active = true;
    std::vector<int32_t> links; // the link numbers (1-based) the arrow stands for, ascending
    // A cubic curve from the edge of the source box to the edge of the target
    // box, whose head is at `end`.
    QPointF start;
    QPointF control1;
    QPointF control2;
    QPointF end;
    QRectF label; // where the count goes

    int count() const { return static_cast<int>(links.size()); }
    bool loop() const { return from == to; }
};

struct LinkPlan {
    QSizeF size;
    QRectF title;  // two lines of text above the modules
    QRectF legend; // a line of text below them
    std::vector<PlanModule> modules; // ascending address
    std::vector<PlanArrow> arrows;   // by source, target, the active arrow first
    int activeLinks = 0;
    int inactiveLinks = 0;

    // Index of the module with the address, or -1.
    int moduleIndex(int32_t address) const;
    // The arrow for links from one module address to another, or nullptr.
    const PlanArrow* arrow(int32_t fromAddress, int32_t toAddress, bool active) const;
};

// Sizes of the plan in its own units (pixels at scale 1).
namespace PlanMetrics {
constexpr double kBoxWidth = 150;
constexpr double kBoxHeight = 50;
constexpr double kBoxGap = 22;    // least room between two boxes
constexpr double kMargin = 76;    // around the ellipse: room for loops and their counts
constexpr double kTitleHeight = 60;
constexpr double kLegendHeight = 40;
constexpr double kMinimumWidth = 720;
constexpr double kLabelHeight = 18;
constexpr double kLaneOffset = 7;  // the first arrow of a pair, right of the line between the boxes
constexpr double kLaneStep = 14;   // the second arrow of the same pair, further right
} // namespace PlanMetrics

// Width of the label that holds `count`.
double PlanLabelWidth(int count);

// The plan of `links` between the modules of `overview` (in any order; an
// address listed twice counts once). Any field value of a link is safe.
LinkPlan LayOutLinkPlan(std::span<const PlanModule> overview, std::span<const LinkRecord> links);

// The modules of the module overview (ModuleList positions 0 .. ModulAnzahl - 1)
// with their names.
std::vector<PlanModule> OverviewPlanModules(const ModuleModel& overview);

// The point at `t` (0..1) of the arrow's curve.
QPointF PlanCurvePoint(const PlanArrow& arrow, double t);
