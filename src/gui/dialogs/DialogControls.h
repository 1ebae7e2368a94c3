#pragma once

#include <QPoint>
#include <QRect>
#include <QString>

class QPushButton;
class QWidget;

namespace xemap {

// A push button placed at a fixed spot of a dialog, named so that tests find it.
QPushButton* addButton(QWidget* parent, const QString& name, const QString& text, QRect place);

// Moves a window's frame to `topLeft`, or as near to it as keeps the whole window on its
// screen. The window is taken to get the frame its parent has.
void placeOnScreen(QWidget& window, QPoint topLeft);

}  // namespace xemap
