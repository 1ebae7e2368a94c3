#include "core/tileset/Registry.h"

#include "core/mapfile/SafeSave.h"

#include <algorithm>
#include <fstream>
#include <iterator>

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

bool isBlankLine(std::string_view line)
{
    return std::all_of(line.begin(), line.end(), [](char c) { return static_cast<unsigned char>(c) <= ' '; });
}

std::vector<std::string_view> splitLines(std::string_view text)
{
    std::vector<std::string_view> lines;
    while (!text.empty()) {
        const std::size_t end = text.find('\n');
        std::string_view line = text.substr(0, end);
        if (end != std::string_view::npos && !line.empty() && line.back() == '\r')
            line.remove_suffix(1);
        lines.push_back(line);
        text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
    }
    while (!lines.empty() && isBlankLine(lines.back()))
        lines.pop_back();
    return lines;
}

std::optional<std::string> readWholeFile(const fs::path& file)
{
    std::error_code ec;
    if (fs::is_directory(file, ec))
        return std::nullopt;
    std::ifstream in(file, std::ios::binary);
    if (!in)
        return std::nullopt;
    std::string text{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    if (in.bad())
        return std::nullopt;
    return text;
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
    const auto lines = splitLines(text);
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
    const auto text = readWholeFile(file);
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
        auto existing = readWholeFile(file);
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
    if (ec || (present && !readWholeFile(file)))
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
