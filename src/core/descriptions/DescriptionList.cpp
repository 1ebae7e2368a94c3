#include "core/descriptions/DescriptionList.h"

#include <algorithm>

namespace xemap {

std::optional<int> DescriptionList::find(int cellIndex) const
{
    const auto it =
        std::find_if(tiles_.begin(), tiles_.end(), [cellIndex](const TilePtr& t) { return t->cellIndex == cellIndex; });
    if (it == tiles_.end())
        return std::nullopt;
    return static_cast<int>(it - tiles_.begin());
}

TilePtr DescriptionList::descriptionOf(int cellIndex) const
{
    const auto position = find(cellIndex);
    return position ? tiles_[*position] : nullptr;
}

void DescriptionList::insert(int position, TilePtr tile)
{
    position = std::clamp(position, 0, size());
    tiles_.insert(tiles_.begin() + position, std::move(tile));
}

void DescriptionList::removeAt(int position)
{
    if (position >= 0 && position < size())
        tiles_.erase(tiles_.begin() + position);
}

int DescriptionList::placeBefore(TilePtr tile, std::optional<int> oldPosition, int targetId)
{
    int target = targetId - 1;
    if (oldPosition && *oldPosition >= 0 && *oldPosition < size()) {
        removeAt(*oldPosition);
        if (target > *oldPosition)
            --target;
    }
    target = std::clamp(target, 0, size());
    insert(target, std::move(tile));
    return target;
}

}  // namespace xemap
