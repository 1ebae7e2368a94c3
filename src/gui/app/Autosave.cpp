#include "gui/app/Autosave.h"

#include "core/editing/EditSession.h"
#include "core/mapfile/MapWriter.h"

#include <QDateTime>
#include <QGuiApplication>
#include <QStandardPaths>

#include <map>

namespace xemap {

namespace {

// How often a waiting message looks again whether the mouse buttons are up.
constexpr std::chrono::milliseconds kButtonPoll{50};

QString faultText(const Fault& fault) { return QString::fromStdString(fault.describe()); }

}  // namespace

std::filesystem::path recoveryFolder()
{
    return (QStandardPaths::writableLocation(QStandardPaths::AppLocalDataLocation) + "/recovery").toStdString();
}

Autosave::Autosave(const EditSession& session, Warning warn)
    : session_(session), store_(recoveryFolder()), owner_(newRecoveryOwner()), warn_(std::move(warn))
{
    timer_.setSingleShot(true);
    timer_.setInterval(kDefaultInterval);
    QObject::connect(&timer_, &QTimer::timeout, [this] { writeNow(); });
    warningDelay_.setSingleShot(true);
    warningDelay_.setInterval(kButtonPoll);
    QObject::connect(&warningDelay_, &QTimer::timeout, [this] { showWarningWhenButtonsUp(); });
    // One thread, so that writes and removals reach the disk in the order asked.
    worker_.setMaxThreadCount(1);
}

Autosave::~Autosave()
{
    discard();
    flush();
    lock_.remove();
}

void Autosave::follow()
{
    if (!session_.modified())
        discard();
    else if (!timer_.isActive())
        timer_.start();
}

void Autosave::writeNow()
{
    if (!session_.modified())
        return;
    if (auto locked = ensureLocked(); !locked) {
        reportFailure(locked.fault());
        return;
    }
    auto text = std::make_shared<const std::string>(writeMap(session_.document()));
    if (lastWritten_ && *lastWritten_ == *text)
        return;
    lastWritten_ = text;
    kept_ = true;
    const RecoveryRecord record{session_.document().mapFileName, QDateTime::currentSecsSinceEpoch()};
    // A failed write is tried again after the next change; the first one is reported.
    post([this, store = store_, owner = owner_, text, record] {
        if (auto written = store.write(owner, *text, record); !written)
            QMetaObject::invokeMethod(
                &timer_, [this, fault = written.fault()] { reportFailure(fault); }, Qt::QueuedConnection);
    });
}

void Autosave::flush() { worker_.waitForDone(); }

void Autosave::discard()
{
    timer_.stop();
    lastWritten_.reset();
    if (!kept_)
        return;
    kept_ = false;
    post([store = store_, owner = owner_] { (void)store.remove(owner); });
}

void Autosave::post(std::function<void()> job) { worker_.start(std::move(job)); }

// Taken at the first write, not at start, so that an editor that never writes leaves no lock.
Result<void> Autosave::ensureLocked()
{
    if (lock_.held())
        return {};
    if (auto ready = store_.prepare(); !ready)
        return ready;
    auto lock = RecoveryLock::acquire(store_.lockPath(owner_));
    if (!lock)
        return lock.fault();
    lock_ = std::move(*lock);
    return {};
}

void Autosave::reportFailure(const Fault& fault)
{
    if (!warning_.isEmpty())
        return;
    warning_ = "Unsaved changes cannot be kept for crash recovery: " + faultText(fault);
    showWarningWhenButtonsUp();
}

// A message box that opens under a held button would take the drag's release from the map.
void Autosave::showWarningWhenButtonsUp()
{
    if (QGuiApplication::mouseButtons() != Qt::NoButton)
        warningDelay_.start();
    else if (warn_)
        warn_(warning_);
}

void Autosave::offerStale(const std::function<RecoveryChoice(const RecoveryEntry&)>& offer)
{
    flush();
    if (auto ready = store_.prepare(); !ready)
        reportFailure(ready.fault());
    // Each stale entry stays claimed while offered, so that an editor starting meanwhile
    // does not offer it too.
    std::map<std::string, RecoveryLock, std::less<>> claims;
    const auto entries = store_.staleEntries([this, &claims](std::string_view owner) {
        if (owner == owner_)
            return false;
        auto claim = RecoveryLock::acquire(store_.lockPath(owner));
        if (claim)
            claims.emplace(owner, std::move(*claim));
        return claim.ok();
    });
    for (const RecoveryEntry& entry : entries) {
        RecoveryLock& claim = claims.at(entry.owner);
        switch (offer(entry)) {
        case RecoveryChoice::Restore:
            // Restored all the same when its files cannot become this editor's.
            if (ensureLocked() && store_.takeOver(entry, owner_)) {
                kept_ = true;
                claim.remove();
            }
            return;
        case RecoveryChoice::Discard:
            if (auto removed = store_.remove(entry.owner); !removed) {
                if (warn_)
                    warn_("The unsaved map kept for crash recovery cannot be deleted: " + faultText(removed.fault()));
            } else
                claim.remove();
            break;
        case RecoveryChoice::Leave: break;
        }
    }
}

}  // namespace xemap
