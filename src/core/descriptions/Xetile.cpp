#include "core/descriptions/Xetile.h"

#include <algorithm>

namespace xemap {

namespace {

template <class Record>
bool sameRecords(const RecordList<Record>& a, const RecordList<Record>& b)
{
    return std::equal(a.begin(), a.end(), b.begin(), b.end(),
                      [](const auto& ra, const auto& rb) { return *ra == *rb; });
}

}  // namespace

bool sameContents(const XETile& a, const XETile& b)
{
    return a.cellIndex == b.cellIndex && a.shortName == b.shortName && a.areaText == b.areaText
           && sameRecords(a.npcs, b.npcs) && sameRecords(a.creatures, b.creatures) && sameRecords(a.items, b.items)
           && sameRecords(a.events, b.events) && sameRecords(a.portals, b.portals);
}

}  // namespace xemap
