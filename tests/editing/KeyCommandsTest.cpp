#include "editing/KeyCommands.h"

#include <gtest/gtest.h>

#include <array>

using namespace xemap;

namespace {

struct CharacterCase {
    char character;
    KeyCommand expected;
};

// Every character binding of the commands help, both cases of each letter.
TEST(KeyCommands, EveryHelpCharacterReachesItsCommand) {
    constexpr std::array<CharacterCase, 23> cases{{
        {' ', KeyCommand::PickTile},       {'+', KeyCommand::ZoomIn},        {'=', KeyCommand::ZoomIn},
        {'-', KeyCommand::ZoomOut},        {'_', KeyCommand::ZoomOut},       {',', KeyCommand::RotateLeft},
        {'<', KeyCommand::RotateLeft},     {'.', KeyCommand::RotateRight},   {'>', KeyCommand::RotateRight},
        {'t', KeyCommand::Describe},       {'T', KeyCommand::Describe},      {'d', KeyCommand::Doors},
        {'D', KeyCommand::Doors},          {'h', KeyCommand::TogglePalette}, {'H', KeyCommand::TogglePalette},
        {'s', KeyCommand::TogglePaletteSize}, {'S', KeyCommand::TogglePaletteSize},
        {'8', KeyCommand::None},           {'x', KeyCommand::None},          {'\x18', KeyCommand::None},
        {'\0', KeyCommand::None},          {static_cast<char>(0xE9), KeyCommand::None}, {'z', KeyCommand::None},
    }};
    for (const auto& [character, expected] : cases)
        EXPECT_EQ(commandForCharacter(character), expected) << "character " << int(character);
}

struct ReleaseCase {
    ReleasedKey key;
    KeyCommand expected;
};

TEST(KeyCommands, ReleasedKeysTellKeypadAndModifiersApart) {
    const std::array<ReleaseCase, 24> cases{{
        {{Key::ArrowLeft}, KeyCommand::ScrollLeft},
        {{Key::ArrowRight, true, true, true}, KeyCommand::ScrollRight},
        {{Key::ArrowUp}, KeyCommand::ScrollUp},
        {{Key::ArrowDown, true}, KeyCommand::ScrollDown},
        {{Key::Digit8, true}, KeyCommand::ToggleNorthDoor},
        {{Key::Digit6, true}, KeyCommand::ToggleEastDoor},
        {{Key::Digit2, true, true}, KeyCommand::ToggleSouthDoor},
        {{Key::Digit4, true}, KeyCommand::ToggleWestDoor},
        {{Key::Digit5, true}, KeyCommand::CycleCenterDoor},
        // The same digits on the main keys are no door commands.
        {{Key::Digit8, false}, KeyCommand::None},
        {{Key::Digit5, false}, KeyCommand::None},
        {{Key::Z, false, true}, KeyCommand::Undo},
        {{Key::Z, false, true, true}, KeyCommand::Undo},
        {{Key::Z}, KeyCommand::None},
        {{Key::R, false, true}, KeyCommand::Redo},
        {{Key::X, false, true}, KeyCommand::CutRegion},
        {{Key::C, false, true}, KeyCommand::CopyRegion},
        {{Key::V, false, true}, KeyCommand::PasteRegion},
        {{Key::X, false, true, true}, KeyCommand::CutDescription},
        {{Key::C, false, true, true}, KeyCommand::CopyDescription},
        {{Key::V, false, true, true}, KeyCommand::PasteDescription},
        {{Key::V, false, false, true}, KeyCommand::None},
        {{Key::C}, KeyCommand::None},
        {{Key::Other, false, true}, KeyCommand::None},
    }};
    for (const auto& [key, expected] : cases)
        EXPECT_EQ(commandForRelease(key), expected)
            << "key " << int(key.key) << " keypad " << key.keypad << " ctrl " << key.ctrl << " alt " << key.alt;
}

TEST(KeyCommands, DoorTogglesStepThroughTheirValues) {
    EXPECT_EQ(doorSlotOf(KeyCommand::ToggleNorthDoor), North);
    EXPECT_EQ(doorSlotOf(KeyCommand::CycleCenterDoor), Center);
    EXPECT_EQ(doorSlotOf(KeyCommand::Undo), -1);
    EXPECT_EQ(toggledDoor(North, 3), 0);
    EXPECT_EQ(toggledDoor(North, 0), 1);
    EXPECT_EQ(toggledDoor(West, -2), 0);
    int center = 0;
    for (int expected : {1, -1, 0}) EXPECT_EQ(center = toggledDoor(Center, center), expected);
    EXPECT_EQ(toggledDoor(Center, 4), 0);
    EXPECT_EQ(toggledDoor(Center, -4), 0);
}

}  // namespace
