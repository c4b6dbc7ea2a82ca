// Keys and commands as the runtime reads them: the runtime key numbers of keyboard keys, the two key
// maps from key numbers to screen action codes (chosen by _KEYMAP), the key classes of a _LASTKEY
// value, and the codes of command identifiers.
#pragma once
#include <cstdint>
#include "platform/window_types.h"

namespace rt {

// The runtime key number of a key (kKeyNone for every key without one of its own). Shift+Tab and
// Ctrl+End are told apart by the input procedures, which know the modifiers.
std::uint16_t ScreenKey(PlatformKey key);

// Entries of one key map; the map of _KEYMAP m starts at m * kKeyMapSize.
constexpr std::uint16_t kKeyMapSize = 33;
// The screen action code of a key number in the map _KEYMAP selects (maps 0 and 1; any other value
// reads map 0); 0 for a key the map gives nothing.
std::uint16_t KeyMapCode(std::uint16_t key);

// The class of a _LASTKEY value: its high byte with the bits of its key added.
enum KeyClassBits : std::uint16_t {
    kClassFunction = 0x01,  // F1 to F11
    kClassAccept = 0x02,    // Enter, Tab, Down, Page Down
    kClassBack = 0x04,      // Shift+Tab
    kClassArrow = 0x08,     // Up and Down
    kClassPage = 0x10,      // Page Up, Page Down
    kClassEscape = 0x20,    // Escape, exactly
    kClassEnd = 0x40,       // Ctrl+End
};
std::uint16_t KeyClass(std::uint16_t key);
// Enter, Tab, Down, Page Down and Ctrl+End: a key that confirms what was typed.
bool KeyIsAccept(std::uint16_t key);
// Keys that leave a field: Enter, Shift+Tab, Tab, F9, Up, Page Up, Down, Page Down, Ctrl+End.
bool KeyLeavesField(std::uint16_t key);
bool KeyIsPage(std::uint16_t key);

// The screen action code of a command identifier of a runtime window; 0 for an identifier without one.
std::uint16_t CommandCode(std::uint16_t id);

}  // namespace rt
