// The modal selection list: the items of a comma list offered in a list box (or a grid of buttons)
// in a window of its own; the answer is the chosen item's number.
#pragma once
#include <cstdint>
#include "runtime/text/str_desc.h"

namespace rt {

enum SelectListFlags : std::uint16_t {
    kSelectOwnWindow = 1,    // a window of the caption's class
    kSelectListBox = 2,      // a list box (else a grid of push buttons)
    kSelectNextToFocus = 4,  // the window opens just right of the focused control
};

// Shows the items (outer quotes removed) and runs the list modally: a double click, or Enter on the
// caret item or the highlighted button, chooses; Escape or the close box chooses nothing. Gives the
// item number (1-based, also left in _STAT), 0 for nothing, 0xFFFF without showing anything when the
// caption or the list is empty or no window can be made. The list always gets a window of its own.
std::uint16_t SelectList(StrDesc caption, StrDesc items, std::uint16_t flags);

}  // namespace rt
