// Crash recovery at start: the maps of editors that did not close normally.
#include "gui/app/Xemapmain.h"

#include "core/mapfile/MapReader.h"
#include "gui/app/Autosave.h"
#include "gui/dialogs/Yesnomain.h"
#include "render/TextBytes.h"

#include <QDateTime>
#include <QLocale>

namespace xemap {

namespace {

// The map's name, else its file name, and when it was last kept.
QString recoveryQuestion(const MapDocument& map, const RecoveryRecord& record)
{
    const QString which = !map.mapName.empty()          ? displayText(map.mapName)
                          : !record.mapFileName.empty() ? displayText(record.mapFileName)
                                                        : QString("an untitled map");
    const QString when = QLocale().toString(QDateTime::fromSecsSinceEpoch(record.writtenAt), QLocale::ShortFormat);
    return QString("XEMap did not close normally. Restore the unsaved map?\n%1, kept %2").arg(which, when);
}

}  // namespace

void TForm1::offerRecovery()
{
    if (palette_)
        autosave_->offerStale([this](const RecoveryEntry& entry) { return offerRecoveryMap(entry); });
}

RecoveryChoice TForm1::offerRecoveryMap(const RecoveryEntry& entry)
{
    // The editor wrote it whole; anything else is left alone rather than offered half.
    const auto text = autosave_->store().readMapText(entry);
    if (!text)
        return RecoveryChoice::Leave;
    Result<LoadedMap> read = readMap(*text);
    if (!read.ok())
        return RecoveryChoice::Leave;
    LoadedMap& loaded = *read;
    switch (dialogs_.yesNo->AskOrCancel(prompter_, recoveryQuestion(loaded.document, entry.record), "Yes, Restore",
                                        "No, Discard")) {
    case TYesNo::Answer::Yes:
        if (!knowsTileset(loaded.document.tilesetIndex))
            return RecoveryChoice::Leave;
        restoreMap(loaded, entry.record.mapFileName);
        return RecoveryChoice::Restore;
    case TYesNo::Answer::No: return RecoveryChoice::Discard;
    case TYesNo::Answer::Cancelled: break;
    }
    return RecoveryChoice::Leave;
}

// As File > Open does, but the map keeps the identity of its original and comes back unsaved.
void TForm1::restoreMap(LoadedMap& loaded, const std::string& mapFileName)
{
    MapDocument& map = loaded.document;
    map.mapFileName = mapFileName;
    map.mapDirectory = mapFileName.empty() ? document().mapDirectory : folderOf(QString::fromStdString(mapFileName));
    const Changes changes = session_.open(std::move(map), true);
    if (!document().mapName.empty())
        showMapNameCaption();
    else
        setWindowTitle(mapFileName.empty() ? QString("XEMap") : "XEMap: " + displayText(mapFileName));
    showOpenedMap(changes);
}

}  // namespace xemap
