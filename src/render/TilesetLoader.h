#pragma once

#include "core/files/Fault.h"
#include "core/tileset/GroupFile.h"
#include "core/tileset/Registry.h"
#include "core/tileset/TipFile.h"
#include "render/Tileset.h"

#include <QImage>
#include <QString>

#include <array>
#include <filesystem>
#include <vector>

namespace xemap {

// A file of the tileset that could not be used: the sentence the editor shows, and the
// fault behind it (the file and the reason).
struct TilesetProblem {
    QString text;
    Fault fault;
};
using TilesetProblems = std::vector<TilesetProblem>;

using GroupIcons = std::array<QImage, kGroupSlots>;

// Everything a load reads for the palette: the sheets, and per layer the tile tips, the
// brush groups and the pictures of their buttons.
struct TilesetData {
    Tileset tileset;
    std::array<TileTips, kTilesetLayers> tips{};
    std::array<LayerGroups, kTilesetLayers> groups{};
    std::array<GroupIcons, kTilesetLayers> groupIcons{};
};

// Reads the files of a registry entry, relative names from the program folder. The one
// loader of the editor, the command-line tool and the benchmarks.
class TilesetLoader {
public:
    explicit TilesetLoader(std::filesystem::path programDir) : programDir_(std::move(programDir)) {}

    // The sheets alone. A sheet that cannot be read leaves its layer without one (it still
    // counts for the layer count) and adds a problem; the other layers load all the same.
    // Out of memory nothing is loaded, and the fault says so.
    Result<Tileset> loadSheets(const TilesetEntry& entry, TilesetProblems& problems) const;

    // The sheets, then for every layer below the layer count its tips and, for an overlay,
    // its groups with their icons. A missing tip or group file is none; one that cannot
    // be read, and an icon that cannot, adds a problem and the rest loads. Groups are read
    // over the tables `into` holds. Out of memory `into` stays as it was.
    Result<void> load(const TilesetEntry& entry, TilesetData& into, TilesetProblems& problems) const;

private:
    std::filesystem::path resolved(std::string_view stored) const;
    Result<TileTips> loadTips(const std::string& layerFile, TilesetProblems& problems) const;
    Result<void> loadGroups(const std::string& layerFile, LayerGroups& groups, GroupIcons& icons,
                            TilesetProblems& problems) const;

    std::filesystem::path programDir_;
};

}  // namespace xemap
