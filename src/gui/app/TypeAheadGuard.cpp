#include "gui/app/TypeAheadGuard.h"

#include <QApplication>
#include <QKeyEvent>
#include <QWidget>

#include <algorithm>

namespace xemap {

namespace {

bool isKeyEvent(const QEvent* event)
{
    return event->type() == QEvent::KeyPress || event->type() == QEvent::KeyRelease
           || event->type() == QEvent::ShortcutOverride;
}

// A key that puts text in a field, as opposed to Enter, Tab, Escape and chords.
bool typesText(const QEvent* event)
{
    if (event->type() != QEvent::KeyPress)
        return false;
    const auto* key = static_cast<const QKeyEvent*>(event);
    return !key->text().isEmpty() && key->text().front().isPrint()
           && !(key->modifiers() & (Qt::ControlModifier | Qt::AltModifier));
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
        const Clock::time_point now = now_();
        if (widget && widget->isWindow() && widget->isModal() && lastKeyTyped_ && now - lastTyping_ < kTypingPause)
            quietUntil_ = now + kTypingPause;
        return false;
    }
    if (!isKeyEvent(event))
        return false;
    if (!guards(watched)) {
        if (event->type() == QEvent::KeyPress) {
            lastKeyTyped_ = typesText(event);
            if (lastKeyTyped_)
                lastTyping_ = now_();
        }
        return false;
    }
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
