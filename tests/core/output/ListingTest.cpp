#include "core/output/Listing.h"

#include <gtest/gtest.h>

using namespace xemap;

template <class Record>
std::shared_ptr<Record> record(std::string name, StringList text = {})
{
    auto r = std::make_shared<Record>();
    r->name = std::move(name);
    r->text = std::move(text);
    return r;
}

TEST(Listing, LaysOutEveryRecordKind)
{
    auto well = std::make_shared<XETile>();
    well->shortName = "Old Well";
    well->areaText = {"A dry well.", ""};
    auto mara = record<XENPC>("Mara", {"Kind."});
    mara->align = "Neutral Good", mara->race = "Human", mara->npcClass = "Cleric", mara->script = "talk";
    auto sela = record<XENPC>("Sela");
    sela->align = "True Neutral", sela->race = "Gnome", sela->npcClass = "None";
    auto ogre = record<XECreature>("Ogre", {"Big."});
    ogre->type = "Giant", ogre->weapon = "Club", ogre->armor = "Hide", ogre->script = "ai";
    auto rats = record<XECreature>("Rats");
    rats->type = "Vermin";
    auto rope = record<XEItem>("Rope", {"Long."});
    rope->value = "5 gp", rope->script = "take";
    auto key = record<XEItem>("Key");
    auto trap = record<XEEvent>("Trap", {"Ouch."});
    trap->location = "Door", trap->trigger = "On Enter", trap->script = "spring";
    auto stairs = record<XEPortal>("Stairs", {"Down."});
    stairs->location = "Stairs down", stairs->targetMap = "cellar.xem", stairs->targetTile = "12";
    stairs->restrictions = "not listed";
    well->npcs = {mara, sela}, well->creatures = {ogre, rats}, well->items = {rope, key};
    well->events = {trap}, well->portals = {stairs};
    auto bare = std::make_shared<XETile>();
    bare->shortName = "Nook";
    DescriptionList list;
    list.append(well);
    list.append(bare);

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
