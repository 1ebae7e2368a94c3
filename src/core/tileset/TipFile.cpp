#include "core/tileset/TipFile.h"

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
    const auto lines = splitLines(text);
    return TileTips(lines.begin(), lines.end());
}

TileTips readTipFile(const std::filesystem::path& file)
{
    const auto text = readTextFile(file);
    return text ? readTips(*text) : TileTips{};
}

}  // namespace xemap
