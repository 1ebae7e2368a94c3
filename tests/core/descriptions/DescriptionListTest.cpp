#include "core/descriptions/DescriptionList.h"

#include <gtest/gtest.h>

using namespace xemap;

DescriptionList listOf(int count)
{
    DescriptionList list;
    for (int i = 1; i <= count; ++i)
        list.append(std::make_shared<XETile>(XETile{i, std::to_string(i).insert(0, 1, 'T'), {}, {}, {}, {}, {}, {}}));
    return list;
}

std::string order(const DescriptionList& list)
{
    std::string names;
    for (const auto& tile : list.tiles())
        names.append(tile->shortName).append(" ");
    return names;
}

// The edited description's ID (0: a new one), the ID chosen to place it before, the order and
// its new position.
TEST(DescriptionListTest, PlaceBeforeMovesOnlyTheEditedDescription)
{
    const std::tuple<int, int, const char*, int> cases[] = {
        {2, 5, "T1 T3 T4 T2 T5 ", 3},      // towards the end: chosen ID minus one
        {5, 2, "T1 T5 T2 T3 T4 ", 1},      // towards the start: the chosen ID
        {3, 3, "T1 T2 T3 T4 T5 ", 2},      // its own row keeps its ID
        {0, 1, "NEW T1 T2 T3 T4 T5 ", 0},  // a new one before ID 1
        {0, 6, "T1 T2 T3 T4 T5 NEW ", 5}   // a new one appended
    };
    for (const auto& [editedId, targetId, expected, newPosition] : cases) {
        auto list = listOf(5);
        const std::optional<int> old = editedId ? std::optional(editedId - 1) : std::nullopt;
        TilePtr tile = old ? list.at(*old)->copy() : std::make_shared<XETile>();
        if (!old)
            tile->shortName = "NEW";
        EXPECT_EQ(list.placeBefore(tile, old, targetId), newPosition) << expected;
        EXPECT_EQ(order(list), expected);
    }
    // The frontmost description of a cell is found.
    auto list = listOf(3);
    list.at(2)->cellIndex = 2;
    EXPECT_EQ(list.find(2), 1);
    EXPECT_EQ(list.find(40), std::nullopt);
    EXPECT_EQ(list.descriptionOf(40), nullptr);
}
