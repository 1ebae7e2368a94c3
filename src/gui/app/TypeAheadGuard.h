#pragma once

#include <QObject>

#include <chrono>
#include <functional>
#include <vector>

class QWidget;

namespace xemap {

// Keeps the keys meant for a modal dialog away from the map window and the palette: none
// reach them while a modal dialog is open and, when a typed character closed one (a space
// on a button), none of the typing that runs on until the typist pauses. A dialog closed
// by Enter, Escape or the mouse leaves the keys that follow to the map at once.
class TypeAheadGuard final : public QObject {
public:
    using Clock = std::chrono::steady_clock;
    // A pause this long ends the typing that was meant for a dialog.
    static constexpr std::chrono::milliseconds kTypingPause{400};

    // Guards the given windows; watches the whole application for modal windows closing.
    explicit TypeAheadGuard(std::vector<const QWidget*> windows);
    ~TypeAheadGuard() override;

    void setClock(std::function<Clock::time_point()> now) { now_ = std::move(now); }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    bool guards(const QObject* receiver) const;

    std::vector<const QWidget*> windows_;
    std::function<Clock::time_point()> now_ = [] { return Clock::now(); };
    Clock::time_point lastTyping_{};  // the last text typed into any other window
    bool lastKeyTyped_ = false;       // whether the last key pressed there typed text
    Clock::time_point quietUntil_{};
};

}  // namespace xemap
