#pragma once

#include <array>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace xemap {

constexpr int kRegistryLayerFiles = 5;
inline constexpr std::string_view kRegistryFileName = "XEMAP.INI";
// Stands for a layer the tileset does not have.
inline constexpr std::string_view kNullLayerFile = "null";

// One registry entry: its position in the registry is the tileset index.
struct TilesetEntry {
    std::string name;
    std::array<std::string, kRegistryLayerFiles> layerFiles;  // as stored, or "null"

    bool operator==(const TilesetEntry&) const = default;
};

// 1 + the highest tileset layer that has a file; 1 when none has.
int tilesetLayerCount(const TilesetEntry& entry);
// The document's layer count for the tileset: cell layers it draws and paints.
inline int cellLayerCount(const TilesetEntry& entry) { return tilesetLayerCount(entry) + 1; }

// Six lines per entry; a last entry cut short gets "null" for its missing layers.
// Blank lines at the end of the text are no entry.
std::vector<TilesetEntry> parseRegistry(std::string_view text);
// The entries of a registry file, or nothing when it cannot be read or holds none.
std::optional<std::vector<TilesetEntry>> readRegistry(const std::filesystem::path& file);

// The twelve lines written when there is no usable registry: "City" and "Dungeon".
std::string_view defaultRegistryText();
std::vector<TilesetEntry> defaultRegistry();

// The six lines of an entry, each ending in CRLF.
std::string registryEntryText(const TilesetEntry& entry);
// Adds the entry at the end of the registry file (created if missing), keeping the
// file whole if anything fails; false when it could not be written.
bool appendRegistryEntry(const std::filesystem::path& file, const TilesetEntry& entry);

// A stored file name as a path: backslashes separate folders, and relative names
// are taken from the program folder.
std::filesystem::path resolveTilesetPath(const std::filesystem::path& programDir, std::string_view stored);

// The editor's start-up: the registry of the program folder, or the default one,
// which is written there when the file is missing or holds no entries. Nothing
// when the registry is unusable and the default cannot be written.
std::optional<std::vector<TilesetEntry>> loadOrCreateRegistry(const std::filesystem::path& programDir);

// What the command-line tool uses: the program folder's registry, or the default
// one without writing anything.
std::vector<TilesetEntry> registryOrDefault(const std::filesystem::path& programDir);

}  // namespace xemap
