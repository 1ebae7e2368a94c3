// The File menu: new maps, the save prompts and closing.
#include "gui/app/Xemapmain.h"

#include "core/mapfile/MapReader.h"
#include "core/mapfile/MapWriter.h"
#include "gui/dialogs/Getmapnamemain.h"
#include "gui/dialogs/Prompter.h"
#include "gui/dialogs/Yesnomain.h"
#include "gui/output/MapOutput.h"
#include "gui/tileset/Addtilesetformmain.h"
#include "gui/tileset/Newtilesetformmain.h"
#include "gui/tileset/Tilesetformmain.h"
#include "render/TextBytes.h"

#include <QAction>
#include <QCloseEvent>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>
#include <QToolButton>

namespace xemap {

std::string folderOf(const QString& path) { return QFileInfo(path).absolutePath().toStdString(); }

QString userDataFolder() { return QStandardPaths::writableLocation(QStandardPaths::AppLocalDataLocation); }

namespace {

const QString kSaveChanges = "Save Changes to Current Map?";
const QString kYesSave = "Yes, Save";
const QString kMapFilter = "XEMap File (*.xem);;All Files (*.*)";

}  // namespace

bool TForm1::saveChangesFirst(const QString& question, const QString& discardCaption)
{
    // A press still held is an edit to ask about, never one to mark the next map modified.
    endPress();
    if (!session_.modified())
        return true;
    // Escape or the close box keeps the map: only the discard button throws it away.
    switch (dialogs_.yesNo->AskOrCancel(prompter_, question, kYesSave, discardCaption)) {
    case TYesNo::Answer::Cancelled: return false;
    case TYesNo::Answer::No: return true;
    case TYesNo::Answer::Yes: break;
    }
    Save(false);
    return !session_.modified();
}

// What both New commands do once the tileset is chosen, before the session starts the map.
// False when the tileset could not be loaded: the map stays.
bool TForm1::startMapWith(int tilesetIndex)
{
    if (!palette_->LoadTileset(tilesetIndex))
        return false;
    renderer_->applyDoorGeometry(tilesetIndex);
    return true;
}

void TForm1::NewButtonClick()
{
    if (!palette_ || !saveChangesFirst(kSaveChanges, "Discard Changes"))
        return;
    const std::optional<int> chosen = chooseTileset();
    if (!chosen)
        return;
    if (!registeredTileset(*chosen)) {
        prompter_.message("Error: Could not open this Tileset.");
        return;
    }
    if (!startMapWith(*chosen))
        return;
    showChanges(session_.newMapFilled(palette_->selectedTile()));
}

void TForm1::NewClick(const QString& itemName)
{
    if (!palette_ || !saveChangesFirst(kSaveChanges, "Discard Changes"))
        return;
    setWindowTitle("XEMap");
    session_.forgetFileName();
    int index = 0;
    while (index < tilesetCount() && itemName != QString("Tileset%1").arg(index))
        ++index;
    if (index == tilesetCount()) {
        prompter_.message("Error: could not select this tileset");
        return;
    }
    DoorItem->setEnabled(index > 0);
    if (!startMapWith(index))
        return;
    showChanges(session_.newMapCleared(state_.layerCount));
}

void TForm1::showMapNameCaption() { setWindowTitle("XEMap: " + displayText(document().mapName)); }

void TForm1::Save(bool asSaveAs)
{
    const MapDocument& map = document();
    if (asSaveAs || map.mapFileName.empty() || map.mapName.empty()) {
        const std::optional<QString> name = askMapName();
        if (!name)
            return;
        session_.setMapName(storedBytes(*name, map.mapName));
        showMapNameCaption();
    }
    std::string path = map.mapFileName;
    if (asSaveAs || path.empty()) {
        const QString chosen = prompter_.saveFileName(
            {"Save Map", kMapFilter, "xem", dialogFolder(QString::fromStdString(map.mapDirectory)), true});
        if (chosen.isEmpty())
            return;
        path = chosen.toStdString();
    }
    // Written through a temporary file: a failure leaves the old file, the modified flag,
    // the file name (so the next Save asks again) and the folder the next dialog opens in.
    if (const Result<void> saved = session_.save(path); saved)
        session_.setFolder(folderOf(QString::fromStdString(path)));
    else
        prompter_.report("Cannot use File.", saved.fault());
    updateCommandItems();
}

void TForm1::Open()
{
    if (!palette_ || !saveChangesFirst(kSaveChanges, "Discard Changes"))
        return;
    const QString path = prompter_.openFileName(
        {QString(), kMapFilter, QString(), dialogFolder(QString::fromStdString(document().mapDirectory))});
    if (!path.isEmpty())
        readMapFileInto(path);
}

void TForm1::OpenFile(const QString& path)
{
    if (palette_ && saveChangesFirst(kSaveChanges, "Discard Changes"))
        readMapFileInto(path);
}

void TForm1::readMapFileInto(const QString& path)
{
    session_.setFolder(folderOf(path));

    ReadOptions options;
    options.layerCount = state_.layerCount;
    options.confirmUpgrade = [this] {
        return askYesNo("This map is in single-layer format.  Update it?", "Yes, Update", "Leave it Alone!");
    };
    Result<LoadedMap> read = readMapFile(path.toStdString(), options);
    // Nothing changes unless the whole file was read and its tileset is known.
    if (!read.ok()) {
        // "Leave it Alone!" was the user's own answer: nothing to report.
        if (read.fault().kind != Fault::Kind::Declined)
            prompter_.report("Cannot open File.", read.fault());
        return;
    }
    LoadedMap& loaded = *read;
    if (!knowsTileset(loaded.document.tilesetIndex))
        return;

    loaded.document.mapFileName = path.toStdString();
    loaded.document.mapDirectory = folderOf(path);
    const Changes changes = session_.open(std::move(loaded.document), loaded.singleLayer);
    if (loaded.hasMapNameLine)
        showMapNameCaption();
    else
        setWindowTitle("XEMap: " + path);
    showOpenedMap(changes);
}

bool TForm1::knowsTileset(int tilesetIndex)
{
    if (registeredTileset(tilesetIndex))
        return true;
    prompter_.message(QString("This map uses tileset %1, which is not registered. "
                              "Register it with File > Add Tileset... and open the map again.")
                          .arg(tilesetIndex));
    return false;
}

void TForm1::showOpenedMap(const Changes& changes)
{
    const int tilesetIndex = document().tilesetIndex;
    palette_->LoadTileset(tilesetIndex);
    renderer_->applyDoorGeometry(tilesetIndex);
    showChanges(changes);
}

void TForm1::runOutput(void (*command)(MapOutputContext&))
{
    if (!palette_ || !printConfig_)
        return;
    MapOutputContext context{
        session_,
        state_,
        palette_->tileset(),
        renderer_->doorGeometry(),
        prompter_,
        *printConfig_,
        [this](const QString& question, const QString& yes, const QString& no) { return askYesNo(question, yes, no); }};
    command(context);
}

void TForm1::ExportClick() { runOutput(exportMap); }

void TForm1::Print1Click() { runOutput(printMap); }

void TForm1::closeEvent(QCloseEvent* event)
{
    if (saveChangesFirst("Would you like to save your map before exiting?", "No, Discard"))
        event->accept();
    else
        event->ignore();
}

// ---- Questions asked through the prompter ----

bool TForm1::askYesNo(const QString& question, const QString& yesCaption, const QString& noCaption)
{
    return dialogs_.yesNo->Ask(prompter_, question, yesCaption, noCaption);
}

std::optional<QString> TForm1::askMapName() { return dialogs_.mapName->Ask(prompter_); }

std::optional<int> TForm1::chooseTileset() { return dialogs_.newTileset->Choose(prompter_, *this, tilesetNames()); }

void TForm1::AddTileset()
{
    const std::optional<TilesetEntry> entry = dialogs_.addTileset->Ask();
    if (!entry)
        return;
    const QString folder = addedTilesetFolder();
    registerTileset({*entry, folder.toStdString()});
    QDir::setCurrent(programDirectory_);
    // The user's data folder may not exist before the first tileset a user adds.
    QDir().mkpath(folder);
    const Result<void> appended =
        appendRegistryEntry(std::filesystem::path(folder.toStdString()) / kRegistryFileName, *entry);
    if (!appended)
        prompter_.report("Error: Could not append INI file!", appended.fault());
}

}  // namespace xemap
