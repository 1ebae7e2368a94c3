#include "gui/app/TypeAheadGuard.h"

#include <QApplication>
#include <QEvent>
#include <QWidget>

#include <algorithm>

namespace xemap {

namespace {

bool isKeyEvent(const QEvent* event)
{
    return event->type() == QEvent::KeyPress || event->type() == QEvent::KeyRelease
           || event->type() == QEvent::ShortcutOverride;
}

}  // namespace

TypeAheadGuard::TypeAheadGuard(std::vector<const QWidget*> windows) : windows_(std::move(windows))
{
    qApp->installEventFilter(this);
}

TypeAheadGuard::~TypeAheadGuard() { qApp->removeEventFilter(this); }

bool TypeAheadGuard::guards(const QObject* receiver) const
{
    const auto* widget = qobject_cast<const QWidget*>(receiver);
    return widget && std::ranges::find(windows_, widget->window()) != windows_.end();
}

bool TypeAheadGuard::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::Hide) {
        const auto* widget = qobject_cast<const QWidget*>(watched);
        if (widget && widget->isWindow() && widget->isModal())
            quietUntil_ = now_() + kTypingPause;
        return false;
    }
    if (!isKeyEvent(event) || !guards(watched))
        return false;
    const Clock::time_point now = now_();
    if (!QApplication::activeModalWidget() && now >= quietUntil_)
        return false;
    // Typing that runs on keeps the map deaf until it pauses.
    quietUntil_ = std::max(quietUntil_, now + kTypingPause);
    // An accepted shortcut override keeps menu shortcuts such as Ctrl+Q from firing too.
    event->accept();
    return true;
}

}  // namespace xemap
