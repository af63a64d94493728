#include "editor/pages/CellCursorFrame.h"

#include "editor/drawing/ContrastColour.h"
#include "editor/pages/EditorCell.h"

#include <QPainter>

CellCursorFrame::CellCursorFrame(QWidget* pane)
    : QWidget(pane)
{
    setObjectName(QStringLiteral("CellCursor"));
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setAttribute(Qt::WA_NoSystemBackground);
    hide();
}

void CellCursorFrame::ring(const EditorCell* cell)
{
    constexpr int kOutside = kRing + kKeyline - 1; // the keyline lies on the cell's own edge
    setGeometry(cell->geometry().adjusted(-kOutside, -kOutside, kOutside, kOutside));
    raise();
    update();
}

QColor CellCursorFrame::ringColour(const QPalette& palette)
{
    // Around the ring: either pane's background and the cells beside it.
    return StandOutColour({palette.color(QPalette::WindowText), palette.color(QPalette::Text), Qt::black, Qt::white},
                          {palette.color(QPalette::Window), palette.color(QPalette::Mid),
                           EditorCell::background(palette, CellColour::Offered),
                           EditorCell::background(palette, CellColour::OutsideData)});
}

QColor CellCursorFrame::keylineColour(const QPalette& palette)
{
    return StandOutColour({palette.color(QPalette::Window), palette.color(QPalette::Base), Qt::white, Qt::black},
                          {ringColour(palette)}, 4.5);
}

void CellCursorFrame::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    const QRectF outer = QRectF(rect());
    painter.setPen(QPen(ringColour(palette()), kRing, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
    painter.drawRect(outer.adjusted(kRing / 2.0, kRing / 2.0, -kRing / 2.0, -kRing / 2.0));
    painter.setPen(QPen(keylineColour(palette()), kKeyline, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
    const double inset = kRing + kKeyline / 2.0;
    painter.drawRect(outer.adjusted(inset, inset, -inset, -inset));
}
