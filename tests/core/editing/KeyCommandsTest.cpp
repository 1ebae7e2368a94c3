#include "core/editing/KeyCommands.h"

#include <gtest/gtest.h>

#include <utility>

using namespace xemap;
using C = KeyCommand;

namespace {

// The bindings the window tests do not type, and characters that must do nothing.
TEST(KeyCommands, HelpCharactersInBothCasesReachTheirCommands)
{
    const std::pair<char, KeyCommand> cases[] = {
        {'_', C::ZoomOut}, {'.', C::RotateRight}, {'D', C::Doors}, {'\x18', C::None}, {char(0xE9), C::None}};
    for (const auto& [character, expected] : cases)
        EXPECT_EQ(commandForCharacter(character), expected) << "character " << int(character);
}

TEST(KeyCommands, ReleasedKeysTellKeypadAndModifiersApart)
{
    const std::pair<ReleasedKey, KeyCommand> cases[] = {{{Key::ArrowLeft}, C::ScrollLeft},
                                                        {{Key::Digit2, true, true}, C::ToggleSouthDoor},
                                                        {{Key::Digit5, false}, C::None},
                                                        {{Key::Z, false, true, true}, C::Undo},
                                                        {{Key::Z}, C::None},
                                                        {{Key::X, false, true}, C::CutRegion},
                                                        {{Key::X, false, true, true}, C::CutDescription},
                                                        {{Key::V, false, false, true}, C::None},
                                                        {{Key::Other, false, true}, C::None}};
    for (const auto& [key, expected] : cases)
        EXPECT_EQ(commandForRelease(key), expected)
            << "key " << int(key.key) << " keypad " << key.keypad << " ctrl " << key.ctrl << " alt " << key.alt;
}

// Each row: the modifiers at the press, those at the release, and the command of the release.
TEST(KeyCommands, AChordCountsTheModifiersHeldAtItsPressOrItsRelease)
{
    const struct {
        Key key;
        bool ctrlAtPress, altAtPress, ctrlAtRelease, altAtRelease;
        KeyCommand expected;
    } cases[] = {
        {Key::Z, true, false, false, false, C::Undo},  // Ctrl let go a moment before the Z
        {Key::Z, false, false, true, false, C::Undo},  // Ctrl pressed after the Z
        {Key::Z, false, false, false, false, C::None},       {Key::C, true, true, true, false, C::CopyDescription},
        {Key::V, true, false, false, false, C::PasteRegion}, {Key::R, false, true, true, false, C::Redo},
    };
    for (const auto& c : cases) {
        ChordMemory chords;
        chords.pressed({c.key, false, c.ctrlAtPress, c.altAtPress});
        EXPECT_EQ(commandForRelease(chords.released({c.key, false, c.ctrlAtRelease, c.altAtRelease})), c.expected)
            << "key " << int(c.key) << " press " << c.ctrlAtPress << c.altAtPress << " release " << c.ctrlAtRelease
            << c.altAtRelease;
    }

    // The press is forgotten at its release, and one key's press does not count for another.
    ChordMemory chords;
    chords.pressed({Key::Z, false, true});
    chords.released({Key::Z});
    EXPECT_EQ(commandForRelease(chords.released({Key::Z})), C::None);
    chords.pressed({Key::X, false, true});
    EXPECT_EQ(commandForRelease(chords.released({Key::Z})), C::None);
}

// Door values read from a damaged map toggle back to no door.
TEST(KeyCommands, DoorTogglesClearValuesOutOfTheirRange)
{
    EXPECT_EQ(toggledDoor(West, -2), 0);
    EXPECT_EQ(toggledDoor(Center, 4), 0);
}

}  // namespace
