#include "editor/pages/EditorCell.h"

#include "diag/AnsiText.h"
#include "editor/pages/ChangedMark.h"
#include "editor/drawing/ContrastColour.h"
#include "editor/pages/EditorAccessibility.h"

#include <QFontMetrics>
#include <QMouseEvent>
#include <QPainter>

namespace {

// A fixed light colour: text on it is always dark, whatever the theme.
const QColor kSkyBlue(0xA6, 0xCA, 0xF0);
const QColor kTextOnSkyBlue(Qt::black);
const QColor kInactiveTextOnSkyBlue(0x5C, 0x6B, 0x80);
// A cell outside the data is the window colour muted at least this much
// towards its text colour, and as much more as it takes to stand this far
// apart from the cells a click can choose: told apart at a glance.
constexpr double kOutsideDataMuting = 0.16;
constexpr double kOfferedApart = 3.0;
constexpr double kReadable = 4.5;
// The most a cell outside the data is muted before the tool tip colour
// counts as too dark to stand above it.
constexpr double kOutsideDataMostMuting = 0.5;

// Cells outside the data are darker than the window, on a dark desktop as
// on a light one: muted towards the window's text where that is the darker,
// else towards black.
QColor mutedTowards(const QPalette& palette)
{
    const QColor text = palette.color(QPalette::WindowText);
    return text.lightnessF() < palette.color(QPalette::Window).lightnessF() ? text : QColor(Qt::black);
}

// Text or a line on `fill`: the first of the two palette colours that reads,
// else black or white.
QColor readableOn(const QColor& fill, const QColor& first, const QColor& second)
{
    return StandOutColour({first, second, Qt::black, Qt::white}, {fill}, kReadable);
}

} // namespace

EditorCell::EditorCell(Kind kind, QWidget* parent)
    : QWidget(parent)
    , m_kind(kind)
{
    InstallEditorAccessibility();
    setAttribute(Qt::WA_OpaquePaintEvent);
    // Another button than the left one opens the link actions, not a menu.
    setContextMenuPolicy(Qt::PreventContextMenu);
}

void EditorCell::setText(const std::string& text)
{
    if (text == m_text)
        return;
    m_text = text;
    m_shown = ansiToQString(text);
    update();
}

void EditorCell::setBold(bool bold)
{
    if (bold == m_bold)
        return;
    m_bold = bold;
    update();
}

void EditorCell::setInactive(bool inactive)
{
    if (inactive == m_inactive)
        return;
    m_inactive = inactive;
    update();
}

void EditorCell::setColour(CellColour colour)
{
    if (colour == m_colour)
        return;
    m_colour = colour;
    update();
}

void EditorCell::setDiffering(bool differing)
{
    if (differing == m_differing)
        return;
    m_differing = differing;
    update();
}

SpokenText EditorCell::spoken() const
{
    if (m_speech)
        return m_speech();
    return {m_shown, QString()};
}

void EditorCell::setFramed(bool framed)
{
    m_framed = framed;
    update();
}

QColor EditorCell::background(const QPalette& palette, CellColour colour)
{
    switch (colour) {
    case CellColour::Offered:
        break;
    case CellColour::SkyBlue:
        return kSkyBlue;
    case CellColour::OutsideData:
        return MixColoursApart(palette.color(QPalette::Window), mutedTowards(palette), kOutsideDataMuting,
                               background(palette, CellColour::Offered), kOfferedApart);
    }
    // The cells a click can choose are the light ones, as on the light
    // desktop the users know: a dark tool tip colour, which no muted window
    // could stand below, is lifted towards white until one can.
    const QColor toolTip = palette.color(QPalette::ToolTipBase);
    const QColor window = palette.color(QPalette::Window);
    const QColor darkestOutside = MixColours(window, mutedTowards(palette), kOutsideDataMostMuting);
    const bool lighter = ContrastRatio(toolTip, Qt::black) > ContrastRatio(darkestOutside, Qt::black);
    if (lighter && ContrastRatio(toolTip, darkestOutside) >= kOfferedApart)
        return toolTip;
    return MixColoursApart(toolTip, Qt::white, 0.0, MixColours(window, mutedTowards(palette), kOutsideDataMuting),
                           kOfferedApart);
}

QColor EditorCell::foreground(const QPalette& palette, CellColour colour, bool inactive)
{
    if (colour == CellColour::SkyBlue)
        return inactive ? kInactiveTextOnSkyBlue : kTextOnSkyBlue;
    // A palette made from one button colour keeps a light tool tip colour
    // behind light button text: then the tool tip's own text colour reads.
    const QColor fill = background(palette, colour);
    const QColor text = colour == CellColour::Offered
                            ? readableOn(fill, palette.color(QPalette::ButtonText), palette.color(QPalette::ToolTipText))
                            : readableOn(fill, palette.color(QPalette::WindowText), palette.color(QPalette::Window));
    return inactive ? MixColours(text, fill, 0.55) : text;
}

QColor EditorCell::differingFrame(const QPalette& palette)
{
    // Chosen for the cells a click can choose, where links are drawn; on the
    // others a keyline helps where needed.
    return StandOutColour({kChangedFrameDark, kChangedFrameLight}, {background(palette, CellColour::Offered)});
}

std::optional<QColor> EditorCell::differingKeyline(const QPalette& palette, CellColour colour)
{
    constexpr double kEnough = 3;
    const QColor fill = background(palette, colour);
    if (ContrastRatio(differingFrame(palette), fill) >= kEnough)
        return std::nullopt;
    return readableOn(fill, palette.color(QPalette::WindowText), palette.color(QPalette::Window));
}

void EditorCell::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    const QColor fill = background(palette(), m_colour);
    painter.fillRect(rect(), fill);
    if (m_framed) {
        // A flat bevel: one line between the fill and the window's text colour.
        painter.setPen(MixColours(fill, palette().color(QPalette::WindowText), 0.35));
        painter.drawRect(rect().adjusted(0, 0, -1, -1));
    }
    if (m_differing) {
        constexpr int kWidth = 2;
        QPen frame(differingFrame(palette()), kWidth);
        frame.setJoinStyle(Qt::MiterJoin);
        painter.setPen(frame);
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(QRectF(rect()).adjusted(kWidth / 2.0, kWidth / 2.0, -kWidth / 2.0, -kWidth / 2.0));
        if (const std::optional<QColor> keyline = differingKeyline(palette(), m_colour)) {
            painter.setPen(QPen(*keyline, 1));
            painter.drawRect(QRectF(rect()).adjusted(kWidth + 0.5, kWidth + 0.5, -kWidth - 0.5, -kWidth - 0.5));
        }
    }
    if (m_text.empty())
        return;
    QFont font = painter.font();
    font.setBold(m_bold);
    // The two-letter marks of late links get a smaller font where they would
    // not fit the cell.
    const int room = width() - 4;
    const int needed = QFontMetrics(font).horizontalAdvance(m_shown);
    if (needed > room && font.pointSizeF() > 0)
        font.setPointSizeF(font.pointSizeF() * room / needed);
    painter.setFont(font);
    painter.setPen(foreground(palette(), m_colour, m_inactive));
    painter.drawText(rect(), Qt::AlignCenter, m_shown);
}

void EditorCell::mousePressEvent(QMouseEvent* event)
{
    // Taking the press makes the release come here, wherever the mouse goes meanwhile.
    event->accept();
}

void EditorCell::mouseReleaseEvent(QMouseEvent* event)
{
    emit released(event->button());
    event->accept();
}
