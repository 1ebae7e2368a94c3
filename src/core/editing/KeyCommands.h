#pragma once

#include "core/document/MapGrid.h"

#include <array>
#include <cstdint>

namespace xemap {

// Every command a key of the main window can reach; the window only dispatches.
enum class KeyCommand {
    None,
    PickTile,
    ZoomIn,
    ZoomOut,
    RotateLeft,
    RotateRight,
    Describe,
    Doors,
    TogglePalette,
    TogglePaletteSize,
    ScrollLeft,
    ScrollRight,
    ScrollUp,
    ScrollDown,
    ToggleNorthDoor,
    ToggleEastDoor,
    ToggleSouthDoor,
    ToggleWestDoor,
    CycleCenterDoor,
    Undo,
    Redo,
    CutRegion,
    CopyRegion,
    PasteRegion,
    CutDescription,
    CopyDescription,
    PasteDescription,
};

// A released key by identity: a digit on the numeric keypad is not the same key
// as that digit on the main keys.
enum class Key {
    Other,
    ArrowLeft,
    ArrowRight,
    ArrowUp,
    ArrowDown,
    Digit2,
    Digit4,
    Digit5,
    Digit6,
    Digit8,
    X,
    C,
    V,
    Z,
    R
};

inline constexpr int kKeyCount = static_cast<int>(Key::R) + 1;

struct ReleasedKey {
    Key key = Key::Other;
    bool keypad = false;
    bool ctrl = false;
    bool alt = false;
};

// Remembers Ctrl and Alt as they were when each key went down, so that a chord whose
// modifier is let go a moment before its key still counts as that chord at the release.
class ChordMemory {
public:
    void pressed(const ReleasedKey& key);
    // The key with Ctrl and Alt held if they were held now or at its press; the press is forgotten.
    ReleasedKey released(ReleasedKey key);

private:
    struct Held {
        bool ctrl = false;
        bool alt = false;
    };
    std::array<Held, kKeyCount> held_{};
};

// Typed characters, taken as signed 8-bit codes; upper and lower case alike.
KeyCommand commandForCharacter(char character);
// Released keys with the modifiers held at release; Shift never counts.
KeyCommand commandForRelease(const ReleasedKey& released);

// The door slot a keypad command toggles, or -1 for other commands.
int doorSlotOf(KeyCommand command);
// Edge slots: 0 becomes a plain door, anything else none. Center: 0, 1, -1, 0.
std::int32_t toggledDoor(int slot, std::int32_t value);

}  // namespace xemap
