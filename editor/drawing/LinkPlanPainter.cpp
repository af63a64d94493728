#include "editor/drawing/LinkPlanPainter.h"

#include "diag/AnsiText.h"
#include "editor/drawing/ContrastColour.h"

#include <QFontMetricsF>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QSaveFile>
#include <QSvgGenerator>

#include <algorithm>
#include <array>
#include <cmath>
#include <utility>

namespace {

constexpr double kLineWidth = 1.6;
constexpr double kHeadLength = 10;
constexpr double kHeadHalfWidth = 4.5;
constexpr double kTextPadding = 5;
// Print quality, and no image beyond this many pixels a side.
constexpr double kImageScale = 2;
constexpr double kLargestImageSide = 12000;
// Inches per metre, for the image's print resolution.
constexpr double kInchesPerMetre = 1 / 0.0254;

QFont pixelFont(int pixels, bool bold = false, bool italic = false)
{
    QFont font;
    font.setPixelSize(pixels);
    font.setBold(bold);
    font.setItalic(italic);
    return font;
}

QVector<qreal> dashes()
{
    return {4, 2.5};
}

// The name on one line, or on two where it is too long, the second one cut short.
QStringList nameLines(const QString& name, const QFontMetricsF& metrics, double width)
{
    if (metrics.horizontalAdvance(name) <= width)
        return {name};
    qsizetype cut = 0;
    for (qsizetype i = 1; i < name.size(); ++i) {
        if (name[i] == QLatin1Char(' ') && metrics.horizontalAdvance(name.left(i)) <= width)
            cut = i;
    }
    if (cut == 0) {
        // No blank to break at: as many characters as fit.
        while (cut + 1 < name.size() && metrics.horizontalAdvance(name.left(cut + 1)) <= width)
            ++cut;
        cut = std::max<qsizetype>(cut, 1);
    }
    const QString rest = name.mid(cut).trimmed();
    return {name.left(cut), metrics.elidedText(rest, Qt::ElideRight, width)};
}

// One line of text centred in `place`, in a smaller font where it would not fit.
void drawFitted(QPainter& painter, const QRectF& place, const QString& text, int pixels, bool bold)
{
    QFont font = pixelFont(pixels, bold);
    const double needed = QFontMetricsF(font).horizontalAdvance(text);
    if (needed > place.width() && needed > 0)
        font.setPixelSize(std::max(8, static_cast<int>(pixels * place.width() / needed)));
    painter.setFont(font);
    const QString shown = QFontMetricsF(font).elidedText(text, Qt::ElideRight, place.width());
    painter.drawText(place, Qt::AlignCenter | Qt::TextSingleLine, shown);
}

} // namespace

LinkPlanPainter::LinkPlanPainter(const LinkPlan& plan, const LinkPlanTexts& texts, const QPalette& palette)
    : m_plan(plan)
    , m_texts(texts)
    , m_palette(palette)
{
}

QColor LinkPlanPainter::background() const
{
    return m_palette.color(QPalette::Base);
}

QColor LinkPlanPainter::boxFill() const
{
    return m_palette.color(QPalette::Button);
}

QColor LinkPlanPainter::text() const
{
    return StandOutColour(m_palette, {QPalette::Text, QPalette::WindowText}, {background(), boxFill()}, 4.5);
}

QColor LinkPlanPainter::activeArrow() const
{
    return StandOutColour(m_palette, {QPalette::Highlight, QPalette::Link, QPalette::Text}, {background()});
}

QColor LinkPlanPainter::inactiveArrow() const
{
    return MixColours(text(), background(), 0.4);
}

QColor LinkPlanPainter::missingText() const
{
    return MixColours(text(), background(), 0.35);
}

void LinkPlanPainter::paint(QPainter& painter) const
{
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);
    painter.fillRect(QRectF(QPointF(), m_plan.size), background());

    painter.setPen(text());
    const QRectF heading = m_plan.title.adjusted(12, 10, -12, 0);
    drawFitted(painter, QRectF(heading.left(), heading.top(), heading.width(), 24), m_texts.title, 18, true);
    drawFitted(painter, QRectF(heading.left(), heading.top() + 26, heading.width(), 18), m_texts.subtitle, 13, false);

    for (const PlanArrow& arrow : m_plan.arrows)
        paintArrow(painter, arrow);
    for (const PlanModule& module : m_plan.modules)
        paintModule(painter, module);
    for (const PlanArrow& arrow : m_plan.arrows)
        paintLabel(painter, arrow);
    paintLegend(painter);
    painter.restore();
}

void LinkPlanPainter::paintArrow(QPainter& painter, const PlanArrow& arrow) const
{
    const QColor colour = arrow.active ? activeArrow() : inactiveArrow();
    // The line stops where the head begins, so that a dash never pokes through its tip.
    const QPointF direction = arrow.end - arrow.control2;
    const double length = std::hypot(direction.x(), direction.y());
    const QPointF unit = length > 1e-9 ? direction / length : QPointF(1, 0);
    const QPointF base = arrow.end - unit * kHeadLength;

    QPainterPath curve(arrow.start);
    curve.cubicTo(arrow.control1, arrow.control2 + (base - arrow.end), base);
    QPen pen(colour, kLineWidth, Qt::SolidLine, Qt::FlatCap, Qt::RoundJoin);
    if (!arrow.active)
        pen.setDashPattern(dashes());
    painter.setPen(pen);
    painter.setBrush(Qt::NoBrush);
    painter.drawPath(curve);

    const QPointF across(-unit.y(), unit.x());
    QPolygonF head;
    head << arrow.end << base + across * kHeadHalfWidth << base - across * kHeadHalfWidth;
    painter.setPen(Qt::NoPen);
    painter.setBrush(colour);
    painter.drawPolygon(head);
}

void LinkPlanPainter::paintLabel(QPainter& painter, const PlanArrow& arrow) const
{
    QPen pen(arrow.active ? activeArrow() : inactiveArrow(), 1.2);
    if (!arrow.active)
        pen.setDashPattern({3, 2});
    painter.setPen(pen);
    painter.setBrush(background());
    painter.drawRoundedRect(arrow.label, 4, 4);
    painter.setFont(pixelFont(12, true));
    painter.setPen(text());
    painter.drawText(arrow.label, Qt::AlignCenter | Qt::TextSingleLine, QString::number(arrow.count()));
}

void LinkPlanPainter::paintModule(QPainter& painter, const PlanModule& module) const
{
    const QRectF& box = module.box;
    const QColor writing = module.inOverview ? text() : missingText();
    QPen border(writing, module.inOverview ? 1.2 : 1.4);
    if (!module.inOverview)
        border.setDashPattern(dashes());
    painter.setPen(border);
    painter.setBrush(module.inOverview ? boxFill() : background());
    painter.drawRoundedRect(box, 5, 5);

    const double width = box.width() - 2 * kTextPadding;
    const QFont numberFont = pixelFont(14, true);
    const QFont nameFont = pixelFont(11, false, !module.inOverview);
    const QFontMetricsF numberMetrics(numberFont);
    const QFontMetricsF nameMetrics(nameFont);
    const QString name = module.inOverview ? ansiToQString(module.name) : m_texts.missing;
    const QStringList lines = name.isEmpty() ? QStringList() : nameLines(name, nameMetrics, width);

    const double total = numberMetrics.height() + nameMetrics.height() * static_cast<double>(lines.size());
    double y = box.top() + std::max(2.0, (box.height() - total) / 2);
    painter.setPen(writing);
    painter.setFont(numberFont);
    const QString number = QString::number(static_cast<qint64>(module.address) + 1);
    painter.drawText(QRectF(box.left() + kTextPadding, y, width, numberMetrics.height()),
                     Qt::AlignCenter | Qt::TextSingleLine, number);
    y += numberMetrics.height();
    painter.setFont(nameFont);
    for (const QString& line : lines) {
        painter.drawText(QRectF(box.left() + kTextPadding, y, width, nameMetrics.height()),
                         Qt::AlignCenter | Qt::TextSingleLine, line);
        y += nameMetrics.height();
    }
}

void LinkPlanPainter::paintLegend(QPainter& painter) const
{
    const QFont font = pixelFont(12);
    const QFontMetricsF metrics(font);
    constexpr double kSample = 34;
    constexpr double kSpace = 7;
    constexpr double kBetween = 26;
    enum class Sample { Active, Inactive, Count, Missing };
    const std::array<std::pair<Sample, QString>, 4> entries{{{Sample::Active, m_texts.active},
                                                            {Sample::Inactive, m_texts.inactive},
                                                            {Sample::Count, m_texts.count},
                                                            {Sample::Missing, m_texts.missing}}};
    // A box for missing modules is explained only where the plan has one.
    const bool anyMissing = std::any_of(m_plan.modules.begin(), m_plan.modules.end(),
                                        [](const PlanModule& m) { return !m.inOverview; });
    const auto shown = [anyMissing](Sample sample) { return sample != Sample::Missing || anyMissing; };
    double total = -kBetween;
    for (const auto& [sample, words] : entries) {
        if (shown(sample))
            total += kSample + kSpace + metrics.horizontalAdvance(words) + kBetween;
    }
    double x = m_plan.legend.center().x() - total / 2;
    const double y = m_plan.legend.center().y();
    for (const auto& [sample, words] : entries) {
        if (!shown(sample))
            continue;
        switch (sample) {
        case Sample::Active:
        case Sample::Inactive: {
            PlanArrow line;
            line.active = sample == Sample::Active;
            line.start = QPointF(x, y);
            line.control1 = QPointF(x + kSample / 3, y);
            line.control2 = QPointF(x + 2 * kSample / 3, y);
            line.end = QPointF(x + kSample, y);
            paintArrow(painter, line);
            break;
        }
        case Sample::Count: {
            PlanArrow label;
            label.links = {1, 2, 3};
            const double width = PlanLabelWidth(label.count());
            label.label = QRectF(x + (kSample - width) / 2, y - PlanMetrics::kLabelHeight / 2, width,
                                 PlanMetrics::kLabelHeight);
            paintLabel(painter, label);
            break;
        }
        case Sample::Missing: {
            QPen border(missingText(), 1.4);
            border.setDashPattern(dashes());
            painter.setPen(border);
            painter.setBrush(background());
            painter.drawRoundedRect(QRectF(x, y - 8, kSample, 16), 4, 4);
            break;
        }
        }
        const double width = metrics.horizontalAdvance(words);
        painter.setFont(font);
        painter.setPen(sample == Sample::Missing ? missingText() : text());
        painter.drawText(QRectF(x + kSample + kSpace, y - metrics.height() / 2, width + 2, metrics.height()),
                         Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, words);
        x += kSample + kSpace + width + kBetween;
    }
}

QSize LinkPlanImageSize(const LinkPlan& plan)
{
    const double side = std::max({plan.size.width(), plan.size.height(), 1.0});
    const double scale = std::min(kImageScale, kLargestImageSide / side);
    return {static_cast<int>(std::ceil(plan.size.width() * scale)),
            static_cast<int>(std::ceil(plan.size.height() * scale))};
}

namespace {

bool failed(QString* error, const QString& reason)
{
    if (error != nullptr)
        *error = reason;
    return false;
}

} // namespace

bool SaveLinkPlanSvg(const LinkPlan& plan, const LinkPlanTexts& texts, const QPalette& palette, const QString& path,
                     QString* error)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return failed(error, file.errorString());
    QSvgGenerator svg;
    svg.setOutputDevice(&file);
    svg.setSize(plan.size.toSize());
    svg.setViewBox(QRectF(QPointF(), plan.size));
    svg.setTitle(texts.title);
    svg.setDescription(texts.subtitle);
    // Pixels of the plan are pixels of a 96 dpi screen.
    svg.setResolution(96);
    {
        QPainter painter;
        if (!painter.begin(&svg))
            return failed(error, file.errorString());
        LinkPlanPainter(plan, texts, palette).paint(painter);
    }
    return file.commit() || failed(error, file.errorString());
}

bool SaveLinkPlanPng(const LinkPlan& plan, const LinkPlanTexts& texts, const QPalette& palette, const QString& path,
                     QString* error)
{
    const QSize size = LinkPlanImageSize(plan);
    QImage image(size, QImage::Format_RGB32);
    if (image.isNull())
        return failed(error, QStringLiteral("out of memory"));
    const double scale = static_cast<double>(size.width()) / std::max(plan.size.width(), 1.0);
    image.setDotsPerMeterX(static_cast<int>(96 * scale * kInchesPerMetre));
    image.setDotsPerMeterY(static_cast<int>(96 * scale * kInchesPerMetre));
    {
        QPainter painter(&image);
        painter.scale(scale, scale);
        LinkPlanPainter(plan, texts, palette).paint(painter);
    }
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return failed(error, file.errorString());
    if (!image.save(&file, "PNG")) {
        file.cancelWriting();
        return failed(error, file.errorString());
    }
    return file.commit() || failed(error, file.errorString());
}
