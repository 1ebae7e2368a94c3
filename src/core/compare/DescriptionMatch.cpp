#include "core/compare/DescriptionMatch.h"

namespace xemap {

std::vector<DescriptionKey> descriptionKeys(const DescriptionList& list)
{
    std::map<int, int> seen;
    std::vector<DescriptionKey> keys;
    keys.reserve(list.tiles().size());
    for (const TilePtr& tile : list.tiles()) {
        keys.push_back({tile->cellIndex, seen[tile->cellIndex]++});
    }
    return keys;
}

std::map<DescriptionKey, int> keyPositions(const std::vector<DescriptionKey>& keys)
{
    std::map<DescriptionKey, int> positions;
    for (std::size_t i = 0; i < keys.size(); ++i)
        positions.emplace(keys[i], static_cast<int>(i));
    return positions;
}

}  // namespace xemap
