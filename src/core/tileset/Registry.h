#pragma once

#include "core/files/Fault.h"

#include <array>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace xemap {

constexpr int kRegistryLayerFiles = 5;
inline constexpr std::string_view kRegistryFileName = "XEMAP.INI";
// Far above any real registry; a larger one is refused unread.
inline constexpr std::uintmax_t kRegistryFileLimit = 4 * 1024 * 1024;
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
// The entries of a registry file; a fault when it cannot be read or holds none.
Result<std::vector<TilesetEntry>> readRegistry(const std::filesystem::path& file,
                                               std::uintmax_t limit = kRegistryFileLimit);

// The twelve lines written when there is no usable registry: "City" and "Dungeon".
std::string_view defaultRegistryText();
std::vector<TilesetEntry> defaultRegistry();

// The six lines of an entry, each ending in CRLF.
std::string registryEntryText(const TilesetEntry& entry);
// Adds the entry at the end of the registry file (created if missing), keeping the
// file whole if anything fails.
Result<void> appendRegistryEntry(const std::filesystem::path& file, const TilesetEntry& entry);

// A stored file name as a path: backslashes separate folders, and relative names
// are taken from the program folder.
std::filesystem::path resolveTilesetPath(const std::filesystem::path& programDir, std::string_view stored);

// The editor's start-up: the registry of the program folder, or the default one,
// which is written there when the file is missing or holds no entries. A fault when
// the registry is there but cannot be read or is refused (not a regular file, too
// large), which never replaces it, or when the default cannot be written.
Result<std::vector<TilesetEntry>> loadOrCreateRegistry(const std::filesystem::path& programDir);

// An installed program folder holds this file, so that it counts as the package's even
// for the superuser, who could write there.
inline constexpr std::string_view kInstalledMarkerFileName = "INSTALLED";

// A folder the user keeps files in: writable, and not an installed program folder.
bool isUsersOwnFolder(const std::filesystem::path& folder);

// Where the registries are. In a shared program folder (installed, or one the user
// cannot write to) the user's data folder holds the user's own registry and tilesets.
struct RegistryFolders {
    std::filesystem::path program;
    std::filesystem::path user;  // empty when the program folder is the user's own

    // The registry Add Tileset appends to; relative names of its entries resolve here.
    const std::filesystem::path& added() const { return user.empty() ? program : user; }
};
RegistryFolders registryFolders(const std::filesystem::path& programDir, const std::filesystem::path& userDataDir);

// A tileset of the combined list, with the folder its relative names resolve against.
struct RegisteredTileset {
    TilesetEntry entry;
    std::filesystem::path folder;
};
struct CombinedRegistry {
    std::vector<RegisteredTileset> tilesets;
    std::optional<Fault> userFault;  // the user's registry was refused and is skipped
};
// The program's registry, then the user's entries, so that positions of the program's
// tilesets never move. The default registry is written only into the user's own folder.
// The fault when the program's registry is unusable: refused as it stands (not a regular
// file, too large), or CannotWrite when it is missing and the default cannot be written.
Result<CombinedRegistry> loadCombinedRegistry(const RegistryFolders& folders);

// What the command-line tool uses: one tileset of the combined list, read as the editor
// reads it but with nothing written (a missing program registry, or one without
// entries, is the default one). Nothing when the list has no such position; a fault
// when a registry the position needs is there but cannot be read or is refused.
Result<std::optional<RegisteredTileset>> registeredTileset(const RegistryFolders& folders, std::size_t index,
                                                           std::uintmax_t limit = kRegistryFileLimit);

}  // namespace xemap
