#include "editor/pages/EditorScale.h"

#include "editor/rules/EditorLayout.h"

#include <QFont>
#include <QFontMetrics>
#include <QString>

#include <algorithm>
#include <cmath>

namespace {

// Neighbouring bit numbers stand one column pitch apart and need a space
// between them to be read apart; "15" and "12" are the widest.
constexpr int kColumnPitch = 19;
// A line of text in a cell, with a pixel above and below; the captions over
// the selection are a line high.
constexpr int kTextAir = 2;
constexpr int kCaptionHeight = 16;

} // namespace

double EditorScale(const QFont& font)
{
    const QFontMetrics metrics(font);
    const int number = std::max(metrics.horizontalAdvance(QStringLiteral("15")),
                                metrics.horizontalAdvance(QStringLiteral("12")));
    const double across = static_cast<double>(number + metrics.horizontalAdvance(QLatin1Char(' '))) / kColumnPitch;
    const double down = std::max(static_cast<double>(metrics.height() + kTextAir) / kCellSize,
                                 static_cast<double>(metrics.height()) / kCaptionHeight);
    return std::max({1.0, across, down});
}

int Scaled(int pixels, double scale)
{
    return static_cast<int>(std::lround(pixels * scale));
}

QRect Scaled(const QRect& drawn, double scale)
{
    // Edges, not sizes, are scaled: neighbours that touch keep touching.
    const int left = Scaled(drawn.left(), scale);
    const int top = Scaled(drawn.top(), scale);
    return QRect(left, top, Scaled(drawn.left() + drawn.width(), scale) - left,
                 Scaled(drawn.top() + drawn.height(), scale) - top);
}
