#include "core/tileset/TipFile.h"

#include <fstream>

namespace xemap {

std::string companionFileName(std::string_view layerFile, std::string_view extension)
{
    const auto dot = layerFile.find(".bmp");
    std::string name(dot == std::string_view::npos ? std::string_view{} : layerFile.substr(0, dot + 1));
    name += extension;
    return name;
}

TileTips readTips(std::istream& in)
{
    TileTips tips;
    for (std::string line; std::getline(in, line);) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        tips.push_back(std::move(line));
    }
    return tips;
}

TileTips readTipFile(const std::filesystem::path& file)
{
    std::ifstream in(file, std::ios::binary);
    return in ? readTips(in) : TileTips{};
}

}  // namespace xemap
