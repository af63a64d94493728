#include "editor/drawing/ContrastColour.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <vector>

namespace {

constexpr double kMixStep = 0.01;

double channel(double c)
{
    return c <= 0.03928 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
}

double luminance(const QColor& c)
{
    return 0.2126 * channel(c.redF()) + 0.7152 * channel(c.greenF()) + 0.0722 * channel(c.blueF());
}

double weakestContrast(const QColor& colour, std::initializer_list<QColor> backgrounds)
{
    double weakest = std::numeric_limits<double>::max();
    for (const QColor& background : backgrounds)
        weakest = std::min(weakest, ContrastRatio(colour, background));
    return weakest;
}

// The first of `candidates` whose score reaches `ratio`; else the best scored.
template <typename Score>
QColor firstReaching(const std::vector<QColor>& candidates, Score score, double ratio)
{
    QColor best;
    double bestScore = -1;
    for (const QColor& colour : candidates) {
        const double reached = score(colour);
        if (reached >= ratio)
            return colour;
        if (reached > bestScore) {
            bestScore = reached;
            best = colour;
        }
    }
    return best;
}

QColor standOut(const std::vector<QColor>& colours, std::initializer_list<QColor> backgrounds, double ratio)
{
    return firstReaching(
        colours, [&](const QColor& colour) { return weakestContrast(colour, backgrounds); }, ratio);
}

} // namespace

double ContrastRatio(const QColor& a, const QColor& b)
{
    const double la = luminance(a);
    const double lb = luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

QColor StandOutColour(std::initializer_list<QColor> colours, std::initializer_list<QColor> backgrounds,
                      double ratio)
{
    return standOut(std::vector<QColor>(colours), backgrounds, ratio);
}

QColor StandOutColour(const QPalette& palette, std::initializer_list<QPalette::ColorRole> roles,
                      std::initializer_list<QColor> backgrounds, double ratio)
{
    std::vector<QColor> colours;
    for (const QPalette::ColorRole role : roles)
        colours.push_back(palette.color(role));
    return standOut(colours, backgrounds, ratio);
}

QColor MixColours(const QColor& a, const QColor& b, double share)
{
    const auto blend = [share](int x, int y) { return static_cast<int>(x + (y - x) * share + 0.5); };
    return QColor(blend(a.red(), b.red()), blend(a.green(), b.green()), blend(a.blue(), b.blue()));
}

QColor MixColoursApart(const QColor& a, const QColor& b, double share, const QColor& apartFrom, double ratio)
{
    std::vector<QColor> mixes;
    for (double s = share; s <= 1.0 + kMixStep / 2; s += kMixStep)
        mixes.push_back(MixColours(a, b, std::min(s, 1.0)));
    return firstReaching(
        mixes, [&](const QColor& mixed) { return ContrastRatio(mixed, apartFrom); }, ratio);
}
