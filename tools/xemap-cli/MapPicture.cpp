#include "Commands.h"

#include "core/files/AllocationLimit.h"
#include "core/text/TextLines.h"
#include "core/tileset/Registry.h"
#include "render/DoorGeometry.h"
#include "render/ExportPicture.h"
#include "render/TilesetLoader.h"

#include <QGuiApplication>

#include <algorithm>
#include <array>
#include <iostream>
#include <memory>
#include <utility>

namespace xemap::cli {

namespace {

// The scale choices of the export dialog.
constexpr std::array<std::pair<std::string_view, float>, 4> kScaleChoices{
    {{"1.00", 1.0f}, {"0.50", 0.5f}, {"0.25", 0.25f}, {"0.10", 0.1f}}};

// Labels need the font machinery of a GUI application; no window is ever shown, and
// the platform's notes on stderr would break the tool's one-line messages.
std::unique_ptr<QGuiApplication> startFonts()
{
    if (QCoreApplication::instance())
        return nullptr;
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    qInstallMessageHandler([](QtMsgType type, const QMessageLogContext&, const QString& message) {
        if (type == QtCriticalMsg || type == QtFatalMsg)
            std::cerr << printableText(message.toStdString()) << '\n';
    });
    static int argc = 1;
    static char name[] = "xemap-cli";
    static char* argv[] = {name, nullptr};
    return std::make_unique<QGuiApplication>(argc, argv);
}

}  // namespace

std::optional<float> scaleChoiceOf(std::string_view choice)
{
    const auto found = std::find_if(kScaleChoices.begin(), kScaleChoices.end(),
                                    [&](const auto& entry) { return entry.first == choice; });
    if (found == kScaleChoices.end())
        return std::nullopt;
    return found->second;
}

std::optional<QImage> mapPicture(const MapDocument& document, const RegistryFolders& tiles, const std::string& mapFile,
                                 float scaleChoice)
{
    const auto registered = registryEntry(tiles, document.tilesetIndex, mapFile);
    if (!registered)
        return std::nullopt;
    const auto app = startFonts();
    TilesetProblems problems;
    auto tileset = TilesetLoader(registered->folder).loadSheets(registered->entry, problems);
    if (!tileset || !problems.empty()) {
        std::cerr << (tileset ? problems.front().fault : tileset.fault()).describe() << '\n';
        return std::nullopt;
    }
    // One picture is drawn: tiles are turned as they are laid, and none is kept.
    tileset->setKeepsTurnedTiles(false);
    EditorState view;
    view.layerCount = tileset->layerCount() + 1;
    QImage picture =
        exportPicture(document, view, *tileset, doorGeometryFor(document.tilesetIndex), exportScale(scaleChoice));
    if (picture.isNull()) {
        std::cerr << outOfMemory("draw the map picture").describe() << '\n';
        return std::nullopt;
    }
    return picture;
}

bool writeOutputPicture(const QImage& picture, const std::string& fileName)
{
    if (const QString error = writePicture(picture, QString::fromStdString(fileName)); !error.isEmpty()) {
        std::cerr << printableText(error.toStdString()) << '\n';
        return false;
    }
    return true;
}

}  // namespace xemap::cli
