#include "gui/dialogs/DialogControls.h"

#include <QGuiApplication>
#include <QLabel>
#include <QPushButton>
#include <QScreen>

#include <algorithm>

namespace xemap {

namespace {

// The room the window manager's frame takes around a window's client area, as its parent has it:
// a window never shown has no frame yet, and one shown before must land at the same spot.
QSize frameExtra(const QWidget& window)
{
    const QWidget* framed = window.parentWidget() ? window.parentWidget()->window() : &window;
    return framed->frameGeometry().size() - framed->geometry().size();
}

}  // namespace

QPushButton* namedButton(QWidget* parent, const QString& name, const QString& text)
{
    auto* button = new QPushButton(text, parent);
    button->setObjectName(name);
    return button;
}

QLabel* namedLabel(QWidget* parent, const QString& name, const QString& text)
{
    auto* label = new QLabel(text, parent);
    label->setObjectName(name);
    return label;
}

QPushButton* addButton(QWidget* parent, const QString& name, const QString& text, QRect place)
{
    QPushButton* button = namedButton(parent, name, text);
    button->setGeometry(place);
    return button;
}

void placeOnScreen(QWidget& window, QPoint topLeft)
{
    const QWidget* anchor = window.parentWidget() ? window.parentWidget() : &window;
    const QScreen* screen = anchor->screen() ? anchor->screen() : QGuiApplication::primaryScreen();
    if (screen) {
        const QRect room = screen->availableGeometry();
        const QSize outer = window.size() + frameExtra(window);
        topLeft.setX(std::clamp(topLeft.x(), room.left(), std::max(room.left(), room.right() + 1 - outer.width())));
        topLeft.setY(std::clamp(topLeft.y(), room.top(), std::max(room.top(), room.bottom() + 1 - outer.height())));
    }
    window.move(topLeft);
}

}  // namespace xemap
