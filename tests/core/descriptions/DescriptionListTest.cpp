#include "core/descriptions/DescriptionList.h"

#include <gtest/gtest.h>

using namespace xemap;

namespace {

DescriptionList listOf(int count)
{
    DescriptionList list;
    for (int i = 1; i <= count; ++i) {
        auto tile = std::make_shared<XETile>();
        tile->cellIndex = i;
        tile->shortName = std::to_string(i).insert(0, 1, 'T');
        list.append(tile);
    }
    return list;
}

std::string order(const DescriptionList& list)
{
    std::string names;
    for (const auto& tile : list.tiles())
        names.append(tile->shortName).append(" ");
    return names;
}

}  // namespace

TEST(DescriptionListTest, PlaceBeforeMovesOnlyTheEditedDescription)
{
    struct Case {
        int editedId;  // 0: a new description
        int targetId;
        const char* expected;
        int newPosition;
    };
    const Case cases[] = {
        {2, 5, "T1 T3 T4 T2 T5 ", 3},      // towards the end: chosen ID minus one
        {5, 2, "T1 T5 T2 T3 T4 ", 1},      // towards the start: the chosen ID
        {3, 3, "T1 T2 T3 T4 T5 ", 2},      // its own row keeps its ID
        {0, 1, "NEW T1 T2 T3 T4 T5 ", 0},  // a new one before ID 1
        {0, 6, "T1 T2 T3 T4 T5 NEW ", 5},  // a new one appended
    };
    for (const auto& c : cases) {
        auto list = listOf(5);
        TilePtr tile;
        std::optional<int> old;
        if (c.editedId) {
            old = c.editedId - 1;
            tile = list.at(*old)->copy();
        } else {
            tile = std::make_shared<XETile>();
            tile->shortName = "NEW";
        }
        EXPECT_EQ(list.placeBefore(tile, old, c.targetId), c.newPosition) << c.expected;
        EXPECT_EQ(order(list), c.expected);
    }
}

TEST(DescriptionListTest, FindsTheFrontmostDescriptionOfACell)
{
    auto list = listOf(3);
    list.at(2)->cellIndex = 2;
    EXPECT_EQ(list.find(2), 1);
    EXPECT_EQ(list.find(40), std::nullopt);
    EXPECT_EQ(list.descriptionOf(40), nullptr);
}

TEST(DescriptionListTest, CopiesShareRecordsButNotLists)
{
    XETile original;
    auto npc = std::make_shared<XENPC>();
    original.npcs.push_back(npc);
    original.areaText = {"A"};
    auto copy = original.copy();
    copy->npcs.front()->name = "Mara";
    EXPECT_EQ(original.npcs.front()->name, "Mara");
    copy->npcs.clear();
    copy->areaText.push_back("B");
    EXPECT_EQ(original.npcs.size(), 1u);
    EXPECT_EQ(original.areaText.size(), 1u);
}
