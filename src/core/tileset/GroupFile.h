#pragma once

#include "core/tileset/TipFile.h"

#include <array>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace xemap {

constexpr int kGroupSlots = 16;
constexpr int kGroupPieces = 4;
constexpr int kConversions = 4;

// Mode names of slots without a group.
inline constexpr char kUnusedGroupName[] = "junk";

// A tile of the layer with the rotation it is drawn at before a brush turns it.
struct GroupPiece {
    std::int32_t tile = 0;
    std::int32_t rotation = 0;
    bool operator==(const GroupPiece&) const = default;
};

// A tile that a connector turns into one of its own pieces. A match above 100 names
// tile (match mod 100) on cell layer (match div 100), otherwise a tile on the brush layer.
struct Conversion {
    std::int32_t match = 0;
    std::int32_t tile = 0;
    std::int32_t rotationAddend = 0;
    bool operator==(const Conversion&) const = default;
};

using GroupPieces = std::array<GroupPiece, kGroupPieces>;
using ConversionTable = std::array<Conversion, kConversions>;

// Pieces: 0 interior (tile 0 leaves interiors alone), 1 top-left corner, 2 top edge,
// 3 only for recognising the group.
struct BoxGroup {
    GroupPieces pieces{};
    bool operator==(const BoxGroup&) const = default;
};

// Pieces: 0 straight west-east, 1 corner east-south, 2 T east-south-west, 3 cross
// (tile -1: the group has none).
struct ConnectorGroup {
    GroupPieces pieces{};
    ConversionTable first{};
    ConversionTable second{};
    bool operator==(const ConnectorGroup&) const = default;
};

constexpr std::int32_t kNoCrossPiece = -1;

// What a group slot holds: kind b + 1 for the b-th box group, -(s + 1) for the s-th
// connector group, 0 for no group.
struct GroupSlot {
    std::int32_t kind = 0;
    std::string name;
    std::string iconFile;
};

// The edit mode and connector flag a palette pick of a group's tile chooses.
struct GroupChoice {
    std::int32_t editMode = 0;
    bool connector = false;
    bool operator==(const GroupChoice&) const = default;
};

// The brush groups of one overlay layer, as its group file defines them. Edit mode m
// (2 to 17) belongs to slot m - 2.
struct LayerGroups {
    std::array<GroupSlot, kGroupSlots> slots{};
    int slotCount = 0;
    std::array<BoxGroup, kGroupSlots> boxes{};
    int boxCount = 0;
    std::array<ConnectorGroup, kGroupSlots> connectors{};
    int connectorCount = 0;

    // The box or connector group of the edit mode's slot; nothing when the slot holds
    // no group of that kind.
    const BoxGroup* boxGroupForMode(int editMode) const;
    const ConnectorGroup* connectorGroupForMode(int editMode) const;

    // The sixteen mode names after "Normal Mode" and "Selection Mode": the slot names,
    // then "junk" for every slot without a group.
    std::array<std::string, kGroupSlots> groupNames() const;

    // The group a right click on the tile picks: box groups and connector groups by
    // number, pieces 0 to 3 within each, the first hit winning. The edit mode is that
    // of the group's own slot, so its name and brush always match the tile clicked.
    std::optional<GroupChoice> groupOfTile(int tile) const;
};

inline std::string groupFileName(std::string_view layerFile) { return companionFileName(layerFile, "grp"); }

// Reads a group file's lines over the layer's previous tables: the slots are
// refilled, and a number missing from a line leaves that table entry as it was.
void readGroups(std::string_view text, LayerGroups& groups);
// A file that cannot be read (missing, not a regular file, over the limit) leaves the
// layer without groups, and the fault says why.
Result<void> readGroupFile(const std::filesystem::path& file, LayerGroups& groups,
                           std::uintmax_t limit = kTilesetTextLimit);

}  // namespace xemap
