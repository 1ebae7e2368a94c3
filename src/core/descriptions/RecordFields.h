#pragma once

#include "core/descriptions/Xetile.h"

#include <array>
#include <string>
#include <string_view>

namespace xemap {

// One table per record kind, read by the map file, the listing, the print pages and the
// Describe Tile dialog, so that a kind's fields and lines are typed in one place.
//   section     the kind's place among a description's sections (NPCs first, portals last)
//   header      the section's header line in the map file, the listing and the print pages
//   records     the description's list of records of this kind
//   stored      the text fields after the name, in map file order (the dialog shows the name, then these)
//   noun, storedNames, textName  the kind, its stored fields and its free text as the Describe
//               Tile dialog names them; files that name each field use them in lower case
//   labelled    the labelled lines under the heading line of the listing and print pages
//   listingSkipsEmpty  whether the listing leaves out a labelled line whose field is empty
//   heading     the record's first line in the listing and print pages
template <class Record>
struct RecordKind;

template <class Record>
struct LabelledField {
    std::string_view label;
    std::string Record::*field;
};

template <>
struct RecordKind<XENPC> {
    using Record = XENPC;
    static constexpr int section = 0;
    static constexpr std::string_view header = "NPCs:";
    static constexpr auto records = &XETile::npcs;
    static constexpr std::array<std::string XENPC::*, 4> stored{&XENPC::align, &XENPC::race, &XENPC::npcClass,
                                                                &XENPC::script};
    static constexpr std::string_view noun = "NPC";
    static constexpr std::array<std::string_view, 4> storedNames{"Align", "Race", "Class", "Script"};
    static constexpr std::string_view textName = "Description";
    static constexpr std::array<LabelledField<XENPC>, 1> labelled{{{"Script: ", &XENPC::script}}};
    static constexpr bool listingSkipsEmpty = false;
    // The class "None" is left out of the line.
    static std::string heading(const XENPC& npc)
    {
        return npc.name + ":  " + npc.align + "  " + npc.race + " " + (npc.npcClass == "None" ? "" : npc.npcClass);
    }
};

template <>
struct RecordKind<XECreature> {
    using Record = XECreature;
    static constexpr int section = 1;
    static constexpr std::string_view header = "Creatures:";
    static constexpr auto records = &XETile::creatures;
    static constexpr std::array<std::string XECreature::*, 4> stored{&XECreature::type, &XECreature::weapon,
                                                                     &XECreature::armor, &XECreature::script};
    static constexpr std::string_view noun = "creature";
    static constexpr std::array<std::string_view, 4> storedNames{"Type", "Weapon", "Armor", "Script"};
    static constexpr std::string_view textName = "Notes";
    static constexpr std::array<LabelledField<XECreature>, 3> labelled{
        {{"Weapon: ", &XECreature::weapon}, {"Armor:  ", &XECreature::armor}, {"Script: ", &XECreature::script}}};
    static constexpr bool listingSkipsEmpty = true;
    static std::string heading(const XECreature& creature) { return creature.name + ":  " + creature.type; }
};

// An item's moveable flag is stored as a line "0" or "1" after its text fields.
template <>
struct RecordKind<XEItem> {
    using Record = XEItem;
    static constexpr int section = 2;
    static constexpr std::string_view header = "Items:";
    static constexpr auto records = &XETile::items;
    static constexpr std::array<std::string XEItem::*, 2> stored{&XEItem::value, &XEItem::script};
    static constexpr std::string_view noun = "item";
    static constexpr std::array<std::string_view, 2> storedNames{"Value", "Script"};
    static constexpr std::string_view textName = "Notes";
    static constexpr std::array<LabelledField<XEItem>, 1> labelled{{{"Script: ", &XEItem::script}}};
    static constexpr bool listingSkipsEmpty = true;
    static std::string heading(const XEItem& item) { return item.name + "  (" + item.value + ")"; }
};

template <>
struct RecordKind<XEEvent> {
    using Record = XEEvent;
    static constexpr int section = 3;
    static constexpr std::string_view header = "Events:";
    static constexpr auto records = &XETile::events;
    static constexpr std::array<std::string XEEvent::*, 3> stored{&XEEvent::location, &XEEvent::trigger,
                                                                  &XEEvent::script};
    static constexpr std::string_view noun = "event";
    static constexpr std::array<std::string_view, 3> storedNames{"Location", "Trigger", "Script"};
    static constexpr std::string_view textName = "Notes";
    static constexpr std::array<LabelledField<XEEvent>, 3> labelled{
        {{"Location: ", &XEEvent::location}, {"Trigger: ", &XEEvent::trigger}, {"Script: ", &XEEvent::script}}};
    static constexpr bool listingSkipsEmpty = false;
    static std::string heading(const XEEvent& event) { return event.name; }
};

// A portal's restrictions are stored but not listed; its script is listed but never stored.
template <>
struct RecordKind<XEPortal> {
    using Record = XEPortal;
    static constexpr int section = 4;
    static constexpr std::string_view header = "Portals:";
    static constexpr auto records = &XETile::portals;
    static constexpr std::array<std::string XEPortal::*, 4> stored{&XEPortal::location, &XEPortal::targetMap,
                                                                   &XEPortal::targetTile, &XEPortal::restrictions};
    static constexpr std::string_view noun = "portal";
    static constexpr std::array<std::string_view, 4> storedNames{"Location", "Target Map", "Target Tile",
                                                                 "Restrictions"};
    static constexpr std::string_view textName = "Notes";
    static constexpr std::array<LabelledField<XEPortal>, 4> labelled{{{"Location: ", &XEPortal::location},
                                                                      {"Target Map: ", &XEPortal::targetMap},
                                                                      {"Target Tile: ", &XEPortal::targetTile},
                                                                      {"Script: ", &XEPortal::script}}};
    static constexpr bool listingSkipsEmpty = false;
    static std::string heading(const XEPortal& portal) { return portal.name; }
};

inline constexpr int kSectionCount = 5;

template <class Kind>
constexpr bool namesEveryStoredField = Kind::stored.size() == Kind::storedNames.size();
static_assert(
    namesEveryStoredField<RecordKind<
        XENPC>> && namesEveryStoredField<RecordKind<XECreature>> && namesEveryStoredField<RecordKind<XEItem>> && namesEveryStoredField<RecordKind<XEEvent>> && namesEveryStoredField<RecordKind<XEPortal>>);

// Calls visit(RecordKind<R>{}) for each record kind in section order.
template <class Visit>
void forEachRecordKind(Visit&& visit)
{
    visit(RecordKind<XENPC>{});
    visit(RecordKind<XECreature>{});
    visit(RecordKind<XEItem>{});
    visit(RecordKind<XEEvent>{});
    visit(RecordKind<XEPortal>{});
}

// Calls visit(RecordKind<R>{}) for the kind of the given section.
template <class Visit>
void withRecordKind(int section, Visit&& visit)
{
    forEachRecordKind([&](auto kind) {
        if (kind.section == section)
            visit(kind);
    });
}

inline constexpr std::array<std::string_view, kSectionCount> kSectionHeaders{
    RecordKind<XENPC>::header, RecordKind<XECreature>::header, RecordKind<XEItem>::header, RecordKind<XEEvent>::header,
    RecordKind<XEPortal>::header};

}  // namespace xemap
