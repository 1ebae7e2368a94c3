#pragma once

#include "core/document/MapDocument.h"

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <tuple>
#include <unistd.h>
#include <vector>

namespace xemap::testing {

inline const std::string kEmptyCell = "0 0 99 0 0 0 0 0 0 0 0 0 ";

// A map file as lines: header and 1024 empty cells; tests append or edit lines.
inline std::vector<std::string> emptyMapLines(const std::string& name = "Test Map", int tileset = 0)
{
    std::vector<std::string> lines{name, std::to_string(tileset)};
    lines.insert(lines.end(), 1024, kEmptyCell);
    return lines;
}

inline std::string joined(const std::vector<std::string>& lines, const std::string& end = "\r\n")
{
    std::string text;
    for (const auto& line : lines)
        text += line + end;
    return text;
}

inline std::string fileBytes(const std::filesystem::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

inline std::filesystem::path testData(const std::string& name) { return std::filesystem::path(XEMAP_TEST_DATA) / name; }

// A fresh folder under the system's temporary folder, removed with the object.
class TempFolder {
public:
    TempFolder()
    {
        auto base = std::filesystem::temp_directory_path();
        for (int i = 0;; ++i) {
            path_ = base / ("xemap-test-" + std::to_string(::getpid()) + "-" + std::to_string(i));
            if (std::filesystem::create_directory(path_))
                break;
        }
    }
    ~TempFolder()
    {
        std::error_code ec;
        std::filesystem::permissions(path_, std::filesystem::perms::owner_all, ec);
        std::filesystem::remove_all(path_, ec);
    }
    const std::filesystem::path& path() const { return path_; }
    std::filesystem::path operator/(const std::string& name) const { return path_ / name; }

private:
    std::filesystem::path path_;
};

// A description of the cell at that index (-1: not on the map) holding only its short name.
inline TilePtr describedTile(int cellIndex, const std::string& shortName = {})
{
    auto tile = std::make_shared<XETile>();
    std::tie(tile->cellIndex, tile->shortName) = std::tuple(cellIndex, shortName);
    return tile;
}

inline void writeBytes(const std::filesystem::path& path, const std::string& bytes)
{
    std::ofstream(path, std::ios::binary) << bytes;
}

}  // namespace xemap::testing
