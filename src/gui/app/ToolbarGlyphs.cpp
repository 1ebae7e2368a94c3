#include "gui/app/ToolbarGlyphs.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

namespace xemap {

namespace {

constexpr int kSize = 24;

void drawPage(QPainter& p)
{
    QPainterPath page;
    page.moveTo(5, 2);
    page.lineTo(14, 2);
    page.lineTo(19, 7);
    page.lineTo(19, 22);
    page.lineTo(5, 22);
    page.closeSubpath();
    p.setBrush(Qt::white);
    p.drawPath(page);
    p.drawPolyline(QPolygonF({QPointF(14, 2), QPointF(14, 7), QPointF(19, 7)}));
}

void drawArrowHead(QPainter& p, QPointF tip, QPointF back1, QPointF back2)
{
    p.setBrush(p.pen().color());
    p.drawPolygon(QPolygonF({tip, back1, back2}));
}

// A three-quarter circle with an arrow head, clockwise or not.
void drawTurn(QPainter& p, bool clockwise)
{
    p.setBrush(Qt::NoBrush);
    QPen pen(QColor(0, 90, 160), 2.5);
    p.setPen(pen);
    const QRectF ring(5, 5, 14, 14);
    p.drawArc(ring, clockwise ? 90 * 16 : 90 * 16, clockwise ? -270 * 16 : 270 * 16);
    pen.setWidthF(1);
    p.setPen(pen);
    if (clockwise)
        drawArrowHead(p, QPointF(12, 8), QPointF(7, 3), QPointF(7, 13));
    else
        drawArrowHead(p, QPointF(12, 8), QPointF(17, 3), QPointF(17, 13));
}

void drawHistory(QPainter& p, bool forward)
{
    QPen pen(QColor(0, 90, 160), 2.5);
    p.setPen(pen);
    p.setBrush(Qt::NoBrush);
    QPainterPath path;
    if (forward) {
        path.moveTo(5, 19);
        path.cubicTo(5, 9, 12, 8, 16, 10);
    } else {
        path.moveTo(19, 19);
        path.cubicTo(19, 9, 12, 8, 8, 10);
    }
    p.drawPath(path);
    p.setPen(QPen(pen.color(), 1));
    if (forward)
        drawArrowHead(p, QPointF(21, 10), QPointF(14, 5), QPointF(15, 15));
    else
        drawArrowHead(p, QPointF(3, 10), QPointF(10, 5), QPointF(9, 15));
}

void drawMagnifier(QPainter& p, bool plus)
{
    p.setPen(QPen(Qt::black, 2));
    p.setBrush(QColor(220, 235, 255));
    p.drawEllipse(QRectF(3, 3, 13, 13));
    p.setPen(QPen(Qt::black, 3.5, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(15, 15), QPointF(21, 21));
    p.setPen(QPen(Qt::black, 2));
    p.drawLine(QPointF(6, 9.5), QPointF(13, 9.5));
    if (plus)
        p.drawLine(QPointF(9.5, 6), QPointF(9.5, 13));
}

void drawGlyph(QPainter& p, Glyph glyph)
{
    p.setPen(QPen(Qt::black, 1));
    switch (glyph) {
    case Glyph::New: drawPage(p); break;
    case Glyph::Open:
        p.setBrush(QColor(230, 190, 80));
        p.drawRect(QRectF(2.5, 6.5, 19, 14));
        p.drawRect(QRectF(2.5, 4.5, 8, 3));
        break;
    case Glyph::Save:
        p.setBrush(QColor(60, 90, 170));
        p.drawRect(QRectF(3.5, 3.5, 17, 17));
        p.setBrush(Qt::white);
        p.drawRect(QRectF(6.5, 3.5, 11, 7));
        p.setBrush(QColor(200, 200, 200));
        p.drawRect(QRectF(7.5, 14.5, 9, 6));
        break;
    case Glyph::Export:
        drawPage(p);
        p.setPen(QPen(QColor(0, 130, 0), 2));
        p.drawLine(QPointF(8, 15), QPointF(20, 15));
        p.setPen(QPen(QColor(0, 130, 0), 1));
        drawArrowHead(p, QPointF(23, 15), QPointF(18, 11), QPointF(18, 19));
        break;
    case Glyph::Print:
        p.setBrush(Qt::white);
        p.drawRect(QRectF(7.5, 2.5, 9, 8));
        p.setBrush(QColor(150, 150, 150));
        p.drawRect(QRectF(2.5, 9.5, 19, 9));
        p.setBrush(Qt::white);
        p.drawRect(QRectF(6.5, 15.5, 11, 6));
        break;
    case Glyph::Undo:
    case Glyph::Redo: drawHistory(p, glyph == Glyph::Redo); break;
    case Glyph::ZoomIn:
    case Glyph::ZoomOut: drawMagnifier(p, glyph == Glyph::ZoomIn); break;
    case Glyph::Refresh: drawTurn(p, true); break;
    case Glyph::Select: p.drawImage(QRect(4, 4, 16, 16), selectGlyph()); break;
    case Glyph::RotateLeft:
    case Glyph::RotateRight: drawTurn(p, glyph == Glyph::RotateRight); break;
    }
}

}  // namespace

QIcon toolbarIcon(const char* themeName, Glyph glyph)
{
    if (QIcon::hasThemeIcon(themeName))
        return QIcon::fromTheme(themeName);
    QPixmap pixmap(kSize, kSize);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    drawGlyph(painter, glyph);
    return QIcon(pixmap);
}

QImage selectGlyph()
{
    QImage image(16, 16, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setPen(Qt::black);
    p.setBrush(Qt::white);
    p.drawPolygon(QPolygon(
        {QPoint(1, 0), QPoint(1, 13), QPoint(4, 10), QPoint(7, 15), QPoint(9, 14), QPoint(6, 9), QPoint(10, 9)}));
    return image;
}

}  // namespace xemap
