#pragma once

#include "core/recovery/RecoveryLock.h"
#include "core/recovery/RecoveryStore.h"

#include <QString>
#include <QThreadPool>
#include <QTimer>

#include <chrono>
#include <functional>
#include <memory>
#include <string>

namespace xemap {

class EditSession;

enum class RecoveryChoice { Restore, Discard, Leave };

// Keeps a recovery copy of the modified map in the user's data folder, so that a crash,
// a killed session or a power cut loses at most a few seconds of work. The map text is
// made on the user-interface thread; the safe save with its syncs runs on a worker, in
// order, so that the user never waits for the disk. The copy belongs to this editor alone
// while its lock is held, and is removed when the map is saved or discarded and when the
// editor closes normally. When recovery cannot work, one message per run says why.
class Autosave {
public:
    static constexpr std::chrono::milliseconds kDefaultInterval{3000};
    // Shows a message to the user.
    using Warning = std::function<void(const QString& text)>;

    explicit Autosave(const EditSession& session, Warning warn = {});
    ~Autosave();

    // Called whenever the window follows the map: a modified map is written within the
    // interval after its first change since the last write, an unmodified one is removed.
    void follow();
    // What the timer does: writes the map if it is modified and changed since the last write.
    void writeNow();
    // Waits until every write and removal asked for so far is done.
    void flush();
    void setInterval(std::chrono::milliseconds interval) { timer_.setInterval(interval); }

    // Offers each recovery map whose editor is gone, newest first, until one is restored.
    // A restored map's file becomes this editor's own; a discarded one is removed. Says
    // first, once, when the folder cannot be made or is not the user's own.
    void offerStale(const std::function<RecoveryChoice(const RecoveryEntry&)>& offer);

    const RecoveryStore& store() const { return store_; }
    const std::string& owner() const { return owner_; }

private:
    Result<void> ensureLocked();
    void discard();
    void post(std::function<void()> job);
    // The first failure of the run is shown, as soon as no mouse button is held.
    void reportFailure(const Fault& fault);
    void showWarningWhenButtonsUp();

    const EditSession& session_;
    RecoveryStore store_;
    std::string owner_;
    RecoveryLock lock_;
    Warning warn_;
    QString warning_;  // set once, by the first failure
    QTimer warningDelay_;
    QTimer timer_;
    QThreadPool worker_;
    // The text of the last write asked for; a change back to it is not written again.
    std::shared_ptr<const std::string> lastWritten_;
    // A recovery map of this editor may be on the disk.
    bool kept_ = false;
};

// "recovery" in the user's data folder (it follows XDG_DATA_HOME).
std::filesystem::path recoveryFolder();

}  // namespace xemap
