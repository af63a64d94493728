#include "app/ToolbarIcons.h"

#include <QPainter>
#include <QPainterPath>

#include <cmath>
#include <QPixmap>

namespace {

const QColor kOutline(60, 60, 60);

void drawArrow(QPainter& p, QPointF from, QPointF to, const QColor& colour)
{
    p.setPen(QPen(colour, 4, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(from, to);
    const QPointF direction = (to - from) / std::hypot(to.x() - from.x(), to.y() - from.y());
    const QPointF normal(-direction.y(), direction.x());
    QPolygonF head{to + direction * 4, to - direction * 7 + normal * 7, to - direction * 7 - normal * 7};
    p.setPen(Qt::NoPen);
    p.setBrush(colour);
    p.drawPolygon(head);
}

// The central device: a grey housing with a row of status lamps.
void drawDevice(QPainter& p)
{
    p.setPen(QPen(kOutline, 1.5));
    p.setBrush(QColor(200, 204, 210));
    p.drawRoundedRect(QRectF(3, 22, 34, 15), 2, 2);
    p.setPen(Qt::NoPen);
    for (int i = 0; i < 4; ++i) {
        p.setBrush(i == 0 ? QColor(40, 180, 70) : QColor(90, 110, 130));
        p.drawEllipse(QPointF(9 + 7 * i, 29.5), 2.2, 2.2);
    }
}

void drawQuit(QPainter& p)
{
    p.setPen(QPen(kOutline, 1.5));
    p.setBrush(QColor(150, 105, 65));
    p.drawRect(QRectF(6, 5, 18, 30));
    p.setBrush(QColor(235, 225, 200));
    p.drawRect(QRectF(9, 8, 12, 24));
    drawArrow(p, QPointF(17, 20), QPointF(33, 20), QColor(200, 40, 40));
}

void drawOpen(QPainter& p)
{
    p.setPen(QPen(kOutline, 1.5));
    p.setBrush(QColor(230, 185, 60));
    QPainterPath back;
    back.moveTo(4, 10);
    back.lineTo(15, 10);
    back.lineTo(18, 14);
    back.lineTo(34, 14);
    back.lineTo(34, 33);
    back.lineTo(4, 33);
    back.closeSubpath();
    p.drawPath(back);
    p.setBrush(QColor(250, 210, 90));
    p.drawPolygon(QPolygonF{{4, 33}, {9, 19}, {38, 19}, {34, 33}});
}

void drawSave(QPainter& p)
{
    p.setPen(QPen(kOutline, 1.5));
    p.setBrush(QColor(50, 90, 170));
    p.drawPolygon(QPolygonF{{5, 5}, {30, 5}, {35, 10}, {35, 35}, {5, 35}});
    p.setBrush(QColor(235, 235, 235));
    p.drawRect(QRectF(10, 5, 18, 11));
    p.setBrush(QColor(50, 90, 170));
    p.drawRect(QRectF(22, 7, 4, 7));
    p.setBrush(Qt::white);
    p.drawRect(QRectF(9, 22, 22, 13));
}

void drawRead(QPainter& p)
{
    drawDevice(p);
    drawArrow(p, QPointF(20, 3), QPointF(20, 16), QColor(30, 110, 200));
}

void drawWrite(QPainter& p)
{
    drawDevice(p);
    drawArrow(p, QPointF(20, 17), QPointF(20, 4), QColor(220, 120, 20));
}

void drawDeleteAll(QPainter& p)
{
    p.setPen(QPen(kOutline, 1.5));
    p.setBrush(Qt::white);
    p.drawRect(QRectF(6, 4, 24, 32));
    p.setPen(QPen(QColor(120, 120, 120), 2));
    for (int i = 0; i < 5; ++i)
        p.drawLine(QPointF(10, 10 + 5 * i), QPointF(26, 10 + 5 * i));
    p.setPen(QPen(QColor(210, 30, 30), 5, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(16, 16), QPointF(35, 35));
    p.drawLine(QPointF(35, 16), QPointF(16, 35));
}

} // namespace

QIcon ImageList1(int index)
{
    QPixmap pixmap(kToolbarIconSize, kToolbarIconSize);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    switch (index) {
    case 0: drawQuit(painter); break;
    case 1: drawOpen(painter); break;
    case 2: drawSave(painter); break;
    case 4: drawRead(painter); break;
    case 7: drawWrite(painter); break;
    case 9: drawDeleteAll(painter); break;
    default: break;
    }
    painter.end();
    return QIcon(pixmap);
}
