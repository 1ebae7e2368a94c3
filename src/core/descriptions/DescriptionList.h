#pragma once

#include "core/descriptions/Xetile.h"

#include <optional>
#include <vector>

namespace xemap {

// The document's ordered descriptions. A description's location ID is its
// position + 1, so every insertion or removal renumbers those behind it.
class DescriptionList {
public:
    int size() const { return static_cast<int>(tiles_.size()); }
    bool empty() const { return tiles_.empty(); }
    const TilePtr& at(int position) const { return tiles_.at(position); }
    const std::vector<TilePtr>& tiles() const { return tiles_; }

    // Position of the first description of the cell, scanning from the front.
    std::optional<int> find(int cellIndex) const;
    TilePtr descriptionOf(int cellIndex) const;

    void append(TilePtr tile) { tiles_.push_back(std::move(tile)); }
    void insert(int position, TilePtr tile);
    void removeAt(int position);
    void clear() { tiles_.clear(); }
    void assign(std::vector<TilePtr> tiles) { tiles_ = std::move(tiles); }

    // Places a description so that it stands before the one that had location ID
    // targetId when the move began: an existing description at oldPosition is taken
    // out first, and a target behind it moves one place forward. Returns the new position.
    int placeBefore(TilePtr tile, std::optional<int> oldPosition, int targetId);

private:
    std::vector<TilePtr> tiles_;
};

constexpr int locationIdOf(int position) { return position + 1; }

}  // namespace xemap
