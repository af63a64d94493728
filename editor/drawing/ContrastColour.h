#pragma once

// Colours that stand out: the contrast ratio of two colours (as WCAG counts
// it, 1 to 21) and the palette role among several that reads best on the
// given backgrounds, so that a frame or a line stays visible in a light and
// in a dark palette alike.

#include <QColor>
#include <QPalette>

#include <initializer_list>

double ContrastRatio(const QColor& a, const QColor& b);

// The first of `colours` that reaches `ratio` against every one of the
// backgrounds; when none does, the one whose weakest contrast is the highest.
QColor StandOutColour(std::initializer_list<QColor> colours, std::initializer_list<QColor> backgrounds,
                      double ratio = 3.0);
// The same over the colours of palette roles.
QColor StandOutColour(const QPalette& palette, std::initializer_list<QPalette::ColorRole> roles,
                      std::initializer_list<QColor> backgrounds, double ratio = 3.0);

// a, moved by `share` (0..1) towards b.
QColor MixColours(const QColor& a, const QColor& b, double share);

// a, moved by at least `share` towards b and on in small steps until it
// reaches `ratio` against `apartFrom`; when no step does, the step that comes
// closest.
QColor MixColoursApart(const QColor& a, const QColor& b, double share, const QColor& apartFrom, double ratio);
