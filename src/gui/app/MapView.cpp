#include "gui/app/MapView.h"

#include "gui/app/Xemapmain.h"

#include <QMouseEvent>
#include <QPainter>
#include <QWheelEvent>

namespace xemap {

MapView::MapView(TForm1& form, QWidget* parent) : QWidget(parent), form_(form)
{
    setObjectName("MapBox");
    setMouseTracking(true);
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void MapView::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.drawImage(0, 0, form_.mapImage());
}

void MapView::mousePressEvent(QMouseEvent* event)
{
    const QPoint p = event->position().toPoint();
    form_.MapBoxMouseDown(event->button(), event->modifiers(), p.x(), p.y());
}

void MapView::mouseMoveEvent(QMouseEvent* event)
{
    const QPoint p = event->position().toPoint();
    form_.MapBoxMouseMove(event->modifiers(), p.x(), p.y());
}

void MapView::mouseReleaseEvent(QMouseEvent* event)
{
    const QPoint p = event->position().toPoint();
    form_.MapBoxMouseUp(event->button(), event->modifiers(), p.x(), p.y());
}

void MapView::mouseDoubleClickEvent(QMouseEvent* event)
{
    // A double-click reports itself before its second press, which still paints.
    form_.MapBoxDblClick(event->button());
    mousePressEvent(event);
}

void MapView::wheelEvent(QWheelEvent* event)
{
    constexpr int kNotch = 120;
    const QPoint delta = event->angleDelta();
    wheelAngle_ += delta.y() != 0 ? delta.y() : delta.x();
    const int notches = wheelAngle_ / kNotch;
    wheelAngle_ %= kNotch;
    if (notches != 0)
        form_.MapBoxWheel(event->modifiers(), notches);
    event->accept();
}

}  // namespace xemap
