#pragma once

#include "core/document/MapGrid.h"

#include <QWidget>

#include <algorithm>

class QImage;

namespace xemap {

class TForm1;

inline constexpr int kViewSize = 640;

// The scroll bars count quarter cells; the last position shows the map's last view.
constexpr int scrollMaximum(int quarterCellSize) { return std::max(0, 4 * kMapSize - kViewSize / quarterCellSize); }

// The map view (`MapBox`): shows the map image and hands its mouse events to the main window.
class MapView final : public QWidget {
    Q_OBJECT

public:
    MapView(TForm1& form, QWidget* parent);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;

private:
    TForm1& form_;
    // Wheel rotation not yet worth a whole notch, as fine-grained wheels and touchpads report it.
    int wheelAngle_ = 0;
};

}  // namespace xemap
