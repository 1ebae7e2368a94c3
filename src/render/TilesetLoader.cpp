#include "render/TilesetLoader.h"

#include "core/files/AllocationLimit.h"
#include "render/ImageFile.h"

#include <QDir>

#include <new>
#include <system_error>

namespace xemap {

namespace {

constexpr qint64 kLargestIconPixels = 256 * 256;
constexpr std::uintmax_t kSheetBytes = std::uintmax_t(kSheetSize) * kSheetSize * 4;

QString pathText(const std::filesystem::path& file) { return QString::fromStdString(file.string()); }

bool isOutOfMemory(const Fault& fault) { return fault.kind == Fault::Kind::OutOfMemory; }

// A companion file that is not there is no problem: the layer simply goes without.
bool isMissing(const std::filesystem::path& file)
{
    std::error_code error;
    return !std::filesystem::exists(file, error);
}

Fault tilesetOutOfMemory() { return outOfMemory("load the tileset"); }

}  // namespace

std::filesystem::path TilesetLoader::resolved(std::string_view stored) const
{
    return resolveTilesetPath(programDir_, stored);
}

Result<Tileset> TilesetLoader::loadSheets(const TilesetEntry& entry, TilesetProblems& problems) const
{
    try {
        LayerSheets pictures;
        for (int layer = 0; layer < kTilesetLayers; ++layer) {
            const std::string& stored = entry.layerFiles[layer];
            if (stored == kNullLayerFile)
                continue;
            const std::filesystem::path file = resolved(stored);
            auto picture = readImageFile(file, kSheetFileLimit, kLargestSheetPixels);
            if (!picture && isOutOfMemory(picture.fault()))
                return tilesetOutOfMemory();
            if (!picture) {
                problems.push_back(
                    {QStringLiteral("Cannot read the tile sheet \"%1\".").arg(pathText(file)), picture.fault()});
                continue;
            }
            // The sheet is a converted copy of the picture, which goes once the sheet is made.
            if (!allocationFits(2 * kSheetBytes))
                return tilesetOutOfMemory();
            pictures[layer] = std::move(*picture);
        }
        Tileset tileset(pictures, tilesetLayerCount(entry));
        for (int layer = 0; layer < kTilesetLayers; ++layer)
            if (!pictures[layer].isNull() && !tileset.hasSheet(layer))
                return tilesetOutOfMemory();
        return tileset;
    } catch (const std::bad_alloc&) {
        return tilesetOutOfMemory();
    }
}

Result<TileTips> TilesetLoader::loadTips(const std::string& layerFile, TilesetProblems& problems) const
{
    const std::filesystem::path file = resolved(tipFileName(layerFile));
    auto tips = readTipFile(file);
    if (tips)
        return tips;
    if (isOutOfMemory(tips.fault()))
        return tips.fault();
    if (!isMissing(file))
        problems.push_back({QStringLiteral("Cannot read the tip file \"%1\".").arg(pathText(file)), tips.fault()});
    return TileTips{};
}

Result<void> TilesetLoader::loadGroups(const std::string& layerFile, LayerGroups& groups, GroupIcons& icons,
                                       TilesetProblems& problems) const
{
    const std::filesystem::path file = resolved(groupFileName(layerFile));
    if (const auto read = readGroupFile(file, groups); !read) {
        if (isOutOfMemory(read.fault()))
            return read.fault();
        if (!isMissing(file))
            problems.push_back(
                {QStringLiteral("Cannot read the group file \"%1\".").arg(pathText(file)), read.fault()});
    }
    icons = {};
    for (int slot = 0; slot < groups.slotCount; ++slot) {
        const std::filesystem::path iconFile = resolved(groups.slots[slot].iconFile);
        auto icon = readImageFile(iconFile, kIconFileLimit, kLargestIconPixels);
        if (!icon && isOutOfMemory(icon.fault()))
            return icon.fault();
        // A blank button would give no hint of what went wrong; the rest of the tileset still loads.
        if (!icon)
            problems.push_back(
                {QStringLiteral("Cannot read the group icon %1.").arg(QDir::toNativeSeparators(pathText(iconFile))),
                 icon.fault()});
        else
            icons[slot] = std::move(*icon);
    }
    return {};
}

Result<void> TilesetLoader::load(const TilesetEntry& entry, TilesetData& into, TilesetProblems& problems) const
{
    try {
        TilesetProblems found;
        auto sheets = loadSheets(entry, found);
        if (!sheets)
            return sheets.fault();
        TilesetData loaded{std::move(*sheets), {}, into.groups, {}};
        for (int layer = 0; layer < loaded.tileset.layerCount(); ++layer) {
            const std::string& layerFile = entry.layerFiles[layer];
            auto tips = loadTips(layerFile, found);
            if (!tips)
                return tilesetOutOfMemory();
            loaded.tips[layer] = std::move(*tips);
            if (layer == 0)
                continue;
            if (const auto groups = loadGroups(layerFile, loaded.groups[layer], loaded.groupIcons[layer], found);
                !groups)
                return tilesetOutOfMemory();
        }
        into = std::move(loaded);
        problems.insert(problems.end(), found.begin(), found.end());
        return {};
    } catch (const std::bad_alloc&) {
        return tilesetOutOfMemory();
    }
}

}  // namespace xemap
