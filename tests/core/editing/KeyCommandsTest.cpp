#include "core/editing/KeyCommands.h"

#include <gtest/gtest.h>

#include <utility>

using namespace xemap;

namespace {

// The bindings the window tests do not type, and characters that must do nothing.
TEST(KeyCommands, HelpCharactersInBothCasesReachTheirCommands)
{
    const std::pair<char, KeyCommand> cases[] = {{'_', KeyCommand::ZoomOut},
                                                 {'.', KeyCommand::RotateRight},
                                                 {'D', KeyCommand::Doors},
                                                 {'\x18', KeyCommand::None},
                                                 {char(0xE9), KeyCommand::None}};
    for (const auto& [character, expected] : cases)
        EXPECT_EQ(commandForCharacter(character), expected) << "character " << int(character);
}

TEST(KeyCommands, ReleasedKeysTellKeypadAndModifiersApart)
{
    const std::pair<ReleasedKey, KeyCommand> cases[] = {{{Key::ArrowLeft}, KeyCommand::ScrollLeft},
                                                        {{Key::Digit2, true, true}, KeyCommand::ToggleSouthDoor},
                                                        {{Key::Digit5, false}, KeyCommand::None},
                                                        {{Key::Z, false, true, true}, KeyCommand::Undo},
                                                        {{Key::Z}, KeyCommand::None},
                                                        {{Key::X, false, true}, KeyCommand::CutRegion},
                                                        {{Key::X, false, true, true}, KeyCommand::CutDescription},
                                                        {{Key::V, false, false, true}, KeyCommand::None},
                                                        {{Key::Other, false, true}, KeyCommand::None}};
    for (const auto& [key, expected] : cases)
        EXPECT_EQ(commandForRelease(key), expected)
            << "key " << int(key.key) << " keypad " << key.keypad << " ctrl " << key.ctrl << " alt " << key.alt;
}

// Door values read from a damaged map toggle back to no door.
TEST(KeyCommands, DoorTogglesClearValuesOutOfTheirRange)
{
    EXPECT_EQ(toggledDoor(West, -2), 0);
    EXPECT_EQ(toggledDoor(Center, 4), 0);
}

}  // namespace
