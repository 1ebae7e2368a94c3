#pragma once

#include "core/descriptions/DescriptionList.h"

#include <map>
#include <optional>
#include <utility>
#include <vector>

namespace xemap {

// Which description of one map is which of another: by cell, then by their order
// among the descriptions of that cell; detached ones by their order among the detached.
struct DescriptionKey {
    int cellIndex = 0;
    int ordinal = 0;
    auto operator<=>(const DescriptionKey&) const = default;
};

// The key of every description, in list order.
std::vector<DescriptionKey> descriptionKeys(const DescriptionList& list);

// List position of each key.
std::map<DescriptionKey, int> keyPositions(const std::vector<DescriptionKey>& keys);

// For each record of `to`, the index of the record of `from` it stands for, matched by a
// longest common subsequence of names (the kind being the list's), or nothing when added.
template <class Record>
std::vector<std::optional<std::size_t>> matchRecords(const RecordList<Record>& from, const RecordList<Record>& to)
{
    const std::size_t n = from.size(), m = to.size();
    // common[i][j]: length of the longest common subsequence of from[i..] and to[j..].
    std::vector<std::vector<int>> common(n + 1, std::vector<int>(m + 1, 0));
    for (std::size_t i = n; i-- > 0;)
        for (std::size_t j = m; j-- > 0;)
            common[i][j] =
                from[i]->name == to[j]->name ? common[i + 1][j + 1] + 1 : std::max(common[i + 1][j], common[i][j + 1]);
    std::vector<std::optional<std::size_t>> match(m);
    for (std::size_t i = 0, j = 0; i < n && j < m;) {
        if (from[i]->name == to[j]->name)
            match[j++] = i++;
        else if (common[i + 1][j] >= common[i][j + 1])
            ++i;
        else
            ++j;
    }
    return match;
}

}  // namespace xemap
