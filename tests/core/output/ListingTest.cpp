#include "core/output/Listing.h"

#include <gtest/gtest.h>

using namespace xemap;

template <class Record>
std::shared_ptr<Record> shared(Record record)
{
    return std::make_shared<Record>(std::move(record));
}

TEST(Listing, LaysOutEveryRecordKind)
{
    const auto key = shared(XEItem{{"Key", "", {}}, "", false});
    DescriptionList list;
    list.append(
        shared(XETile{0,
                      "Old Well",
                      {"A dry well.", ""},
                      {shared(XENPC{{"Mara", "talk", {"Kind."}}, "Neutral Good", "Human", "Cleric"}),
                       shared(XENPC{{"Sela", "", {}}, "True Neutral", "Gnome", "None"})},
                      {shared(XECreature{{"Ogre", "ai", {"Big."}}, "Giant", "Club", "Hide"}),
                       shared(XECreature{{"Rats", "", {}}, "Vermin", "", ""})},
                      {shared(XEItem{{"Rope", "take", {"Long."}}, "5 gp", false}), key},
                      {shared(XEEvent{{"Trap", "spring", {"Ouch."}}, "Door", "On Enter"})},
                      {shared(XEPortal{{"Stairs", "", {"Down."}}, "Stairs down", "cellar.xem", "12", "not listed"})}}));
    list.append(shared(XETile{0, "Nook", {}, {}, {}, {}, {}, {}}));

    // The listing's lines joined with "|"; R stands for the 50 underscores that end a description.
    const std::string expected = "1:  Old Well|____________|A dry well.|| | |   NPCs:| |"
                                 "   Mara:  Neutral Good  Human Cleric|   Script: talk|      Kind.|"
                                 "   Sela:  True Neutral  Gnome |   Script: | | |   Creatures:| |   Ogre:  Giant|"
                                 "   Weapon: Club|   Armor:  Hide|   Script: ai|      Big.| |   Rats:  Vermin| | |"
                                 "   Items:| |   Rope  (5 gp)|   Script: take|      Long.| |   Key  (0 gp)| | |"
                                 "   Events:| |   Trap|   Location: Door|   Trigger: On Enter|   Script: spring|"
                                 "      Ouch.| | |   Portals:| |Stairs|   Location: Stairs down|"
                                 "   Target Map: cellar.xem|   Target Tile: 12|   Script: |      Down.| |R| |"
                                 "2:  Nook|________| |R| |";
    std::string shown;
    for (const std::string& line : listingLines(list))
        shown += (line == std::string(50, '_') ? "R" : line) + "|";
    EXPECT_EQ(shown, expected);
    // Only the export writes the value into the item.
    EXPECT_EQ(key->value, "");
    giveItemsTheListedValue(list);
    EXPECT_EQ(key->value, "0 gp");
}

TEST(Listing, EndsEveryLineWithCrLf)
{
    DescriptionList list;
    EXPECT_EQ(listingText(list), "");
    auto tile = std::make_shared<XETile>();
    tile->shortName = "Café\xf0\x9f\x90\x89";  // the underline counts characters, not bytes
    list.append(tile);
    EXPECT_EQ(listingText(list), "1:  Café\xf0\x9f\x90\x89\r\n_________\r\n \r\n" + std::string(50, '_') + "\r\n \r\n");
    tile->shortName = "\xf5\xa3\xa3\xa3";  // Latin-1 bytes that only look like a UTF-8 sequence
    EXPECT_EQ(listingLines(list)[1], std::string(8, '_'));
}
