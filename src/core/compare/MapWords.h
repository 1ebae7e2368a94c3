#pragma once

#include "core/compare/DescriptionMatch.h"
#include "core/descriptions/RecordFields.h"
#include "core/descriptions/Xetile.h"

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <type_traits>

namespace xemap {

// How diff, show and merge name the parts of a map to a map maker: cells by their
// 1-based column and row, layers as the palette's tabs, doors as the Doors dialog.

// "cell (3, 4)", or "detached" for a description taken off the map by a region cut.
std::string cellName(int cellIndex);
// "cell (3, 4) description", "cell (3, 4) description 2" for a cell's second one,
// "detached description 1".
std::string descriptionName(const DescriptionKey& key);
// "base", "base overlay", "layer 1" to "layer 4".
std::string_view layerName(int cellLayer);
// "empty" (never on the base), "tile 12", "tile 12 rotated 90°"; values out of range are
// shown as they are.
std::string layerWords(int cellLayer, std::int32_t tile, std::int32_t rotation);
// "North door" to "West door", "Center door".
std::string doorSlotName(int slot);
// "No Door", "Locked Door", "Hidden Door (Center Vert)", "door value 9".
std::string doorWords(int slot, std::int32_t value);
// Text between double quotes as the windows show it, escaped onto one line.
std::string quoted(std::string_view bytes);
// Lines of free text as one quoted text, the line breaks escaped.
std::string quoted(const StringList& lines);
std::string fieldWords(const std::string& value);
std::string fieldWords(const StringList& lines);
std::string fieldWords(bool moveable);

// Calls visit(label, member) for every field of a record that the map file keeps,
// after its name: the text fields, the free text and an item's "can be taken".
template <class Record, class Visit>
void forEachRecordField(Visit&& visit)
{
    using Kind = RecordKind<Record>;
    for (std::size_t i = 0; i < Kind::stored.size(); ++i)
        visit(Kind::storedNames[i], Kind::stored[i]);
    visit(Kind::textName, &Record::text);
    if constexpr (std::is_same_v<Record, XEItem>)
        visit(std::string_view("can be taken"), &XEItem::moveable);
}

// "NPC \"Mara\"".
template <class Record>
std::string recordName(const Record& record)
{
    return std::string(RecordKind<Record>::noun) + " " + quoted(record.name);
}

}  // namespace xemap
