#include "core/editing/KeyCommands.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <utility>

namespace xemap {

namespace {

struct CharacterBinding {
    char character;
    KeyCommand command;
};

constexpr std::array<CharacterBinding, 13> kCharacterBindings{{
    {' ', KeyCommand::PickTile},
    {'+', KeyCommand::ZoomIn},
    {'=', KeyCommand::ZoomIn},
    {'-', KeyCommand::ZoomOut},
    {'_', KeyCommand::ZoomOut},
    {',', KeyCommand::RotateLeft},
    {'<', KeyCommand::RotateLeft},
    {'.', KeyCommand::RotateRight},
    {'>', KeyCommand::RotateRight},
    {'t', KeyCommand::Describe},
    {'d', KeyCommand::Doors},
    {'h', KeyCommand::TogglePalette},
    {'s', KeyCommand::TogglePaletteSize},
}};

// Whether a key or modifier must be there, must not be there, or does not matter.
enum class Need { Any, Yes, No };

struct ReleaseBinding {
    Key key;
    Need keypad;
    Need ctrl;
    Need alt;
    KeyCommand command;
};

constexpr std::array<ReleaseBinding, 17> kReleaseBindings{{
    {Key::ArrowLeft, Need::Any, Need::Any, Need::Any, KeyCommand::ScrollLeft},
    {Key::ArrowRight, Need::Any, Need::Any, Need::Any, KeyCommand::ScrollRight},
    {Key::ArrowUp, Need::Any, Need::Any, Need::Any, KeyCommand::ScrollUp},
    {Key::ArrowDown, Need::Any, Need::Any, Need::Any, KeyCommand::ScrollDown},
    {Key::Digit8, Need::Yes, Need::Any, Need::Any, KeyCommand::ToggleNorthDoor},
    {Key::Digit6, Need::Yes, Need::Any, Need::Any, KeyCommand::ToggleEastDoor},
    {Key::Digit2, Need::Yes, Need::Any, Need::Any, KeyCommand::ToggleSouthDoor},
    {Key::Digit4, Need::Yes, Need::Any, Need::Any, KeyCommand::ToggleWestDoor},
    {Key::Digit5, Need::Yes, Need::Any, Need::Any, KeyCommand::CycleCenterDoor},
    {Key::Z, Need::No, Need::Yes, Need::Any, KeyCommand::Undo},
    {Key::R, Need::No, Need::Yes, Need::Any, KeyCommand::Redo},
    {Key::X, Need::No, Need::Yes, Need::No, KeyCommand::CutRegion},
    {Key::C, Need::No, Need::Yes, Need::No, KeyCommand::CopyRegion},
    {Key::V, Need::No, Need::Yes, Need::No, KeyCommand::PasteRegion},
    {Key::X, Need::No, Need::Yes, Need::Yes, KeyCommand::CutDescription},
    {Key::C, Need::No, Need::Yes, Need::Yes, KeyCommand::CopyDescription},
    {Key::V, Need::No, Need::Yes, Need::Yes, KeyCommand::PasteDescription},
}};

constexpr bool satisfies(Need need, bool held) { return need == Need::Any || (need == Need::Yes) == held; }

struct DoorBinding {
    KeyCommand command;
    int slot;
};

constexpr std::array<DoorBinding, 5> kDoorBindings{{
    {KeyCommand::ToggleNorthDoor, North},
    {KeyCommand::ToggleEastDoor, East},
    {KeyCommand::ToggleSouthDoor, South},
    {KeyCommand::ToggleWestDoor, West},
    {KeyCommand::CycleCenterDoor, Center},
}};

}  // namespace

KeyCommand commandForCharacter(char character)
{
    const auto lower = static_cast<char>(std::tolower(static_cast<unsigned char>(character)));
    const auto found = std::ranges::find(kCharacterBindings, lower, &CharacterBinding::character);
    return found == kCharacterBindings.end() ? KeyCommand::None : found->command;
}

KeyCommand commandForRelease(const ReleasedKey& released)
{
    const auto found = std::ranges::find_if(kReleaseBindings, [&](const ReleaseBinding& binding) {
        return binding.key == released.key && satisfies(binding.keypad, released.keypad)
               && satisfies(binding.ctrl, released.ctrl) && satisfies(binding.alt, released.alt);
    });
    return found == kReleaseBindings.end() ? KeyCommand::None : found->command;
}

void ChordMemory::pressed(const ReleasedKey& key)
{
    if (key.key != Key::Other)
        held_[static_cast<int>(key.key)] = {key.ctrl, key.alt};
}

ReleasedKey ChordMemory::released(ReleasedKey key)
{
    if (key.key == Key::Other)
        return key;
    const Held atPress = std::exchange(held_[static_cast<int>(key.key)], Held{});
    key.ctrl = key.ctrl || atPress.ctrl;
    key.alt = key.alt || atPress.alt;
    return key;
}

int doorSlotOf(KeyCommand command)
{
    const auto found = std::ranges::find(kDoorBindings, command, &DoorBinding::command);
    return found == kDoorBindings.end() ? -1 : found->slot;
}

std::int32_t toggledDoor(int slot, std::int32_t value)
{
    if (slot != Center)
        return value == 0 ? 1 : 0;
    if (value == 0)
        return 1;
    return value == 1 ? -1 : 0;
}

}  // namespace xemap
