#pragma once

#include <QPoint>
#include <QRect>
#include <QString>

class QLabel;
class QPushButton;
class QWidget;

namespace xemap {

// A push button placed at a fixed spot of a dialog, named so that tests find it.
QPushButton* addButton(QWidget* parent, const QString& name, const QString& text, QRect place);
// A push button and a label for a layout, named so that tests find them.
QPushButton* namedButton(QWidget* parent, const QString& name, const QString& text);
QLabel* namedLabel(QWidget* parent, const QString& name, const QString& text);

// Moves a window's frame to `topLeft`, or as near to it as keeps the whole window on its
// screen. The window is taken to get the frame its parent has.
void placeOnScreen(QWidget& window, QPoint topLeft);

}  // namespace xemap
