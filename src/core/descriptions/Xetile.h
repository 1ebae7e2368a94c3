#pragma once

#include "core/descriptions/Xecreature.h"
#include "core/descriptions/Xeevent.h"
#include "core/descriptions/Xeitem.h"
#include "core/descriptions/Xenpc.h"
#include "core/descriptions/Xeportal.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace xemap {

template <class Record>
using RecordList = std::vector<std::shared_ptr<Record>>;

// A cell's description. Records are held by reference: a copy of a description
// (the dialog's working copy, a pasted description) shares them with the original.
struct XETile {
    std::int32_t cellIndex = 0;  // -1 while detached from the map by a region cut or copy
    std::string shortName;
    StringList areaText;
    RecordList<XENPC> npcs;
    RecordList<XECreature> creatures;
    RecordList<XEItem> items;
    RecordList<XEEvent> events;
    RecordList<XEPortal> portals;

    // New description with the same cell index, text and records (the records shared).
    std::shared_ptr<XETile> copy() const { return std::make_shared<XETile>(*this); }
};

using TilePtr = std::shared_ptr<XETile>;

// Compares contents, records by value: for tests and round trips, not identity.
bool sameContents(const XETile& a, const XETile& b);

}  // namespace xemap
