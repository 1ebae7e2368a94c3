#include "core/tileset/TipFile.h"

#include "core/files/ReadFile.h"
#include "core/text/TextLines.h"

namespace xemap {

std::string companionFileName(std::string_view layerFile, std::string_view extension)
{
    const auto dot = layerFile.find(".bmp");
    std::string name(dot == std::string_view::npos ? std::string_view{} : layerFile.substr(0, dot + 1));
    name += extension;
    return name;
}

TileTips readTips(std::string_view text)
{
    TileTips tips;
    LineSource lines(text);
    for (std::string_view line; tips.size() < kSheetTiles && lines.next(line);)
        tips.emplace_back(line);
    return tips;
}

Result<TileTips> readTipFile(const std::filesystem::path& file, std::uintmax_t limit)
{
    const auto read = readFile(file, limit);
    if (!read)
        return read.fault();
    return readTips(*read);
}

}  // namespace xemap
