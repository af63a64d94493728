#pragma once

// Draws a link plan (LinkPlanLayout) with any QPainter: on the screen, into an
// image or into an SVG file. It knows no widget; its colours come from the
// palette it is given, so a light and a dark palette both read.

#include "editor/rules/LinkPlanLayout.h"

#include <QPalette>
#include <QString>

class QPainter;

// What the plan says in words, in the active language.
struct LinkPlanTexts {
    QString title;    // above the modules
    QString subtitle; // below the title: the station and the counts
    QString active;   // the legend's word for a solid arrow
    QString inactive; // and for a dashed one
    QString count;    // what the number on an arrow tells
    QString missing;  // inside the box of a module the overview lacks
};

class LinkPlanPainter {
public:
    LinkPlanPainter(const LinkPlan& plan, const LinkPlanTexts& texts, const QPalette& palette);

    // Draws the plan at scale 1 in the rectangle (0, 0) .. plan.size; the
    // painter's transformation decides where that lands.
    void paint(QPainter& painter) const;

    // The colours, by palette role.
    QColor background() const;
    QColor boxFill() const;
    QColor text() const;
    QColor activeArrow() const;
    QColor inactiveArrow() const;
    QColor missingText() const;

private:
    void paintArrow(QPainter& painter, const PlanArrow& arrow) const;
    void paintLabel(QPainter& painter, const PlanArrow& arrow) const;
    void paintModule(QPainter& painter, const PlanModule& module) const;
    void paintLegend(QPainter& painter) const;

    const LinkPlan& m_plan;
    const LinkPlanTexts& m_texts;
    QPalette m_palette;
};

// The plan written as an SVG file or a PNG image, each replacing the file in
// one step; false, with the system's reason in `error`, when it could not be
// written. A PNG holds the plan at twice its size (for print), less for a
// plan that would give a huge image.
bool SaveLinkPlanSvg(const LinkPlan& plan, const LinkPlanTexts& texts, const QPalette& palette, const QString& path,
                     QString* error = nullptr);
bool SaveLinkPlanPng(const LinkPlan& plan, const LinkPlanTexts& texts, const QPalette& palette, const QString& path,
                     QString* error = nullptr);
// The pixel size of that PNG.
QSize LinkPlanImageSize(const LinkPlan& plan);
