#pragma once

// What the link plan says in words, and in which colours it is printed: the
// plan dialog and the service report draw the same plan with the same words.

#include "editor/rules/LinkPlanLayout.h"
#include "editor/drawing/LinkPlanPainter.h"
#include "model/StationIdentity.h"

#include <QPalette>
#include <QString>

#include <optional>

// Text n of the main window's section in the active language, or `german`
// (Windows-1252) where the language file lacks it.
QString MainWindowText(int n, const char* german);
// Its hint ("T<n>H"); empty where the language file has none.
QString MainWindowHint(int n);

// The plan's title, the station and counts below it and the legend, for the
// plan of `moduleCount` modules and `linkCount` links of the station the
// overview was read from, when known.
LinkPlanTexts CurrentLinkPlanTexts(const LinkPlan& plan, std::size_t moduleCount, std::size_t linkCount,
                                   const std::optional<StationIdentity>& overviewOrigin);

// The palette printed and saved plans are drawn in: dark on white, whatever
// the desktop's theme.
QPalette LinkPlanPrintPalette();
