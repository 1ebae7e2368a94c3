#include "core/tileset/Registry.h"

#include "core/mapfile/SafeSave.h"
#include "core/text/TextLines.h"

#include <algorithm>

namespace xemap {

namespace fs = std::filesystem;

namespace {

constexpr int kEntryLines = 1 + kRegistryLayerFiles;

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

// The registry's lines up to its last line that is not blank.
std::vector<std::string_view> registryLines(std::string_view text)
{
    auto lines = splitLines(text);
    while (!lines.empty() && isBlankLine(lines.back()))
        lines.pop_back();
    return lines;
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
    const auto lines = registryLines(text);
    std::vector<TilesetEntry> entries;
    for (std::size_t first = 0; first < lines.size(); first += kEntryLines) {
        TilesetEntry entry;
        entry.name = std::string(lines[first]);
        for (int layer = 0; layer < kRegistryLayerFiles; ++layer) {
            const std::size_t at = first + 1 + layer;
            entry.layerFiles[layer] = std::string(at < lines.size() ? lines[at] : kNullLayerFile);
        }
        entries.push_back(std::move(entry));
    }
    return entries;
}

std::optional<std::vector<TilesetEntry>> readRegistry(const fs::path& file)
{
    const auto text = readTextFile(file);
    if (!text)
        return std::nullopt;
    auto entries = parseRegistry(*text);
    if (entries.empty())
        return std::nullopt;
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

bool appendRegistryEntry(const fs::path& file, const TilesetEntry& entry)
{
    std::error_code ec;
    std::string text;
    if (fs::exists(file, ec)) {
        auto existing = readTextFile(file);
        if (!existing)
            return false;
        text = std::move(*existing);
    }
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

std::optional<std::vector<TilesetEntry>> loadOrCreateRegistry(const fs::path& programDir)
{
    const fs::path file = programDir / kRegistryFileName;
    if (auto entries = readRegistry(file))
        return entries;
    // An existing file that cannot be read may still hold entries: never replace it.
    std::error_code ec;
    const bool present = fs::exists(file, ec);
    if (ec || (present && !readTextFile(file)))
        return std::nullopt;
    if (!saveFileSafely(file, kDefaultRegistry))
        return std::nullopt;
    return defaultRegistry();
}

std::vector<TilesetEntry> registryOrDefault(const fs::path& programDir)
{
    if (auto entries = readRegistry(programDir / kRegistryFileName))
        return *entries;
    return defaultRegistry();
}

}  // namespace xemap
