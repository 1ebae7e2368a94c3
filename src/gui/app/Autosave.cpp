#include "gui/app/Autosave.h"

#include "core/editing/EditSession.h"
#include "core/mapfile/MapWriter.h"

#include <QDateTime>
#include <QDir>
#include <QStandardPaths>

namespace xemap {

namespace {

// A lock is stale only when its editor is gone, however old it is.
void neverStaleByAge(QLockFile& lock) { lock.setStaleLockTime(0); }

QString lockName(const RecoveryStore& store, std::string_view owner)
{
    return QString::fromStdString(store.lockPath(owner).string());
}

}  // namespace

std::filesystem::path recoveryFolder()
{
    return (QStandardPaths::writableLocation(QStandardPaths::AppLocalDataLocation) + "/recovery").toStdString();
}

Autosave::Autosave(const EditSession& session)
    : session_(session), store_(recoveryFolder()), owner_(newRecoveryOwner()), lock_(lockName(store_, owner_))
{
    neverStaleByAge(lock_);
    timer_.setSingleShot(true);
    timer_.setInterval(kDefaultInterval);
    QObject::connect(&timer_, &QTimer::timeout, [this] { writeNow(); });
    // One thread, so that writes and removals reach the disk in the order asked.
    worker_.setMaxThreadCount(1);
}

Autosave::~Autosave()
{
    discard();
    flush();
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
    if (!session_.modified() || !ensureLocked())
        return;
    auto text = std::make_shared<const std::string>(writeMap(session_.document()));
    if (lastWritten_ && *lastWritten_ == *text)
        return;
    lastWritten_ = text;
    kept_ = true;
    const RecoveryRecord record{session_.document().mapFileName, QDateTime::currentSecsSinceEpoch()};
    // A failed write is not reported: the next change tries again.
    post([store = store_, owner = owner_, text, record] { store.write(owner, *text, record); });
}

void Autosave::flush() { worker_.waitForDone(); }

void Autosave::discard()
{
    timer_.stop();
    lastWritten_.reset();
    if (!kept_)
        return;
    kept_ = false;
    post([store = store_, owner = owner_] { store.remove(owner); });
}

void Autosave::post(std::function<void()> job) { worker_.start(std::move(job)); }

// Taken at the first write, not at start, so that an editor that never writes leaves no trace.
bool Autosave::ensureLocked()
{
    if (lock_.isLocked())
        return true;
    QDir().mkpath(QString::fromStdString(store_.folder().string()));
    return lock_.tryLock(0);
}

void Autosave::offerStale(const std::function<RecoveryChoice(const RecoveryEntry&)>& offer)
{
    flush();
    const auto entries = store_.staleEntries([this](std::string_view owner) {
        if (owner == owner_)
            return false;
        QLockFile probe(lockName(store_, owner));
        neverStaleByAge(probe);
        return probe.tryLock(0);  // released at once: the entry is claimed again when offered
    });
    for (const RecoveryEntry& entry : entries) {
        // Another editor starting now may have claimed it since.
        QLockFile claim(lockName(store_, entry.owner));
        neverStaleByAge(claim);
        if (!claim.tryLock(0))
            continue;
        switch (offer(entry)) {
        case RecoveryChoice::Restore:
            if (ensureLocked() && store_.takeOver(entry, owner_))
                kept_ = true;
            return;
        case RecoveryChoice::Discard: store_.remove(entry.owner); break;
        case RecoveryChoice::Leave: break;
        }
    }
}

}  // namespace xemap
