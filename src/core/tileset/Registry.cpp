#include "core/tileset/Registry.h"

#include "core/files/ReadFile.h"
#include "core/mapfile/SafeSave.h"
#include "core/text/TextLines.h"

#include <algorithm>

#include <unistd.h>

namespace xemap {

namespace fs = std::filesystem;

namespace {

constexpr std::string_view kDefaultRegistry = "City\r\n"
                                              "tilesets\\outdoor_bases.bmp\r\n"
                                              "tilesets\\city_layer.bmp\r\n"
                                              "null\r\n"
                                              "null\r\n"
                                              "null\r\n"
                                              "Dungeon\r\n"
                                              "tilesets\\indoor_bases.bmp\r\n"
                                              "tilesets\\indoor_layer.bmp\r\n"
                                              "null\r\n"
                                              "null\r\n"
                                              "null\r\n";

// The registry up to the end of its last line that is not blank: blank lines after
// it are no entry and give no layer file.
std::string_view meaningfulText(std::string_view text)
{
    const auto last = std::find_if_not(text.rbegin(), text.rend(), isBlank);
    if (last == text.rend())
        return {};
    const std::size_t lineEnd = text.find('\n', static_cast<std::size_t>(text.rend() - last));
    return lineEnd == std::string_view::npos ? text : text.substr(0, lineEnd + 1);
}

// The entry whose name is the next line of lines, if there is one.
std::optional<TilesetEntry> nextEntry(LineSource& lines)
{
    std::string_view line;
    if (!lines.next(line))
        return std::nullopt;
    TilesetEntry entry;
    entry.name = std::string(line);
    for (auto& file : entry.layerFiles)
        file = std::string(lines.next(line) ? line : kNullLayerFile);
    return entry;
}

// The registry's text, or none when there is no file: only a missing registry may be
// taken for the default one.
Result<std::optional<std::string>> registryText(const fs::path& file, std::uintmax_t limit)
{
    auto read = readFile(file, limit);
    if (read)
        return std::optional<std::string>(std::move(*read));
    if (read.fault().kind == Fault::Kind::NotFound)
        return std::optional<std::string>();
    return read.fault();
}

void appendTilesets(std::vector<RegisteredTileset>& tilesets, std::vector<TilesetEntry> entries, const fs::path& folder)
{
    for (TilesetEntry& entry : entries)
        tilesets.push_back({std::move(entry), folder});
}

// The program folder's entries, read without writing: a missing registry, or one that
// holds no entries, counts as the default one.
Result<std::vector<TilesetEntry>> programRegistryAsItStands(const fs::path& programDir, std::uintmax_t limit)
{
    const auto text = registryText(programDir / kRegistryFileName, limit);
    if (!text)
        return text.fault();
    auto entries = *text ? parseRegistry(**text) : std::vector<TilesetEntry>();
    return entries.empty() ? defaultRegistry() : std::move(entries);
}

// The program folder's entries. A shared folder's registry is the package's: a missing
// one counts as the default and is not written.
Result<std::vector<TilesetEntry>> programRegistry(const RegistryFolders& folders)
{
    if (folders.user.empty())
        return loadOrCreateRegistry(folders.program);
    return programRegistryAsItStands(folders.program, kRegistryFileLimit);
}

}  // namespace

int tilesetLayerCount(const TilesetEntry& entry)
{
    int count = 1;
    for (int layer = 0; layer < kRegistryLayerFiles; ++layer)
        if (entry.layerFiles[layer] != kNullLayerFile)
            count = layer + 1;
    return count;
}

std::vector<TilesetEntry> parseRegistry(std::string_view text)
{
    LineSource lines(meaningfulText(text));
    std::vector<TilesetEntry> entries;
    while (auto entry = nextEntry(lines))
        entries.push_back(std::move(*entry));
    return entries;
}

Result<std::vector<TilesetEntry>> readRegistry(const fs::path& file, std::uintmax_t limit)
{
    const auto read = readFile(file, limit);
    if (!read)
        return read.fault();
    auto entries = parseRegistry(*read);
    if (entries.empty())
        return Fault{Fault::Kind::Malformed, file.string(), 0, "the registry names no tileset"};
    return entries;
}

std::string_view defaultRegistryText() { return kDefaultRegistry; }

std::vector<TilesetEntry> defaultRegistry() { return parseRegistry(kDefaultRegistry); }

std::string registryEntryText(const TilesetEntry& entry)
{
    std::string text = entry.name + "\r\n";
    for (const auto& file : entry.layerFiles)
        text += file + "\r\n";
    return text;
}

Result<void> appendRegistryEntry(const fs::path& file, const TilesetEntry& entry)
{
    auto existing = registryText(file, kRegistryFileLimit);
    if (!existing)
        return existing.fault();
    std::string text = existing->value_or(std::string());
    // A last line without its line break would otherwise run into the new name.
    if (!text.empty() && text.back() != '\n')
        text += "\r\n";
    text += registryEntryText(entry);
    return saveFileSafely(file, text);
}

fs::path resolveTilesetPath(const fs::path& programDir, std::string_view stored)
{
    std::string name(stored);
    std::replace(name.begin(), name.end(), '\\', '/');
    const fs::path path(name);
    return path.is_absolute() ? path : programDir / path;
}

Result<std::vector<TilesetEntry>> loadOrCreateRegistry(const fs::path& programDir)
{
    const fs::path file = programDir / kRegistryFileName;
    // An existing file that cannot be read may still hold entries: never replace it.
    const auto existing = registryText(file, kRegistryFileLimit);
    if (!existing)
        return existing.fault();
    if (*existing) {
        if (auto entries = parseRegistry(**existing); !entries.empty())
            return entries;
    }
    if (Result<void> written = saveFileSafely(file, kDefaultRegistry); !written)
        return written.fault();
    return defaultRegistry();
}

bool isUsersOwnFolder(const fs::path& folder)
{
    std::error_code ec;
    return !fs::exists(folder / kInstalledMarkerFileName, ec) && ::access(folder.c_str(), W_OK) == 0;
}

RegistryFolders registryFolders(const fs::path& programDir, const fs::path& userDataDir)
{
    return {programDir, isUsersOwnFolder(programDir) ? fs::path() : userDataDir};
}

Result<CombinedRegistry> loadCombinedRegistry(const RegistryFolders& folders)
{
    auto program = programRegistry(folders);
    if (!program)
        return program.fault();
    CombinedRegistry combined;
    appendTilesets(combined.tilesets, std::move(*program), folders.program);
    if (folders.user.empty())
        return combined;
    const fs::path file = folders.user / kRegistryFileName;
    const auto text = registryText(file, kRegistryFileLimit);
    if (!text)
        combined.userFault = text.fault();
    else if (*text)
        appendTilesets(combined.tilesets, parseRegistry(**text), folders.user);
    return combined;
}

Result<std::optional<RegisteredTileset>> registeredTileset(const RegistryFolders& folders, std::size_t index,
                                                           std::uintmax_t limit)
{
    auto program = programRegistryAsItStands(folders.program, limit);
    if (!program)
        return program.fault();
    if (index < program->size())
        return std::optional<RegisteredTileset>({std::move((*program)[index]), folders.program});
    if (folders.user.empty())
        return std::optional<RegisteredTileset>();
    const auto text = registryText(folders.user / kRegistryFileName, limit);
    if (!text)
        return text.fault();
    auto user = *text ? parseRegistry(**text) : std::vector<TilesetEntry>();
    index -= program->size();
    if (index >= user.size())
        return std::optional<RegisteredTileset>();
    return std::optional<RegisteredTileset>({std::move(user[index]), folders.user});
}

}  // namespace xemap
