// The procedures of runtime windows and of the screens' input controls, and the seam through which
// they reach the screens: the window layer turns desktop events into screen action codes and input
// codes, the screens module (installed at start-up) decides what they do.
#pragma once
#include <cstdint>
#include "platform/window_types.h"
#include "runtime/text/str_desc.h"

namespace rt {

// What the window layer asks of the screens. Every member may be null (nothing happens then).
struct WinScreenHooks {
    // Runs a screen action code on the screen window shown in window; the result's kResultClose bit
    // closes the window.
    std::uint16_t (*action)(WinHandle window, std::uint16_t code) = nullptr;
    // The input flow from a control (kNoWindow: the window itself) with an input or action code.
    std::uint16_t (*input)(WinHandle window, WinHandle control, std::uint16_t code) = nullptr;
    // Makes a screen window current; 0xFFFF only reports the current one (0xFFFF when none).
    std::uint16_t (*select)(std::uint16_t screen_win) = nullptr;
};
// Installs the hooks (null: none) and gives the previous ones.
WinScreenHooks WinScreenHooksSet(const WinScreenHooks* hooks);

// The runtime window procedure: close request and Escape give screen action 28 (the window goes when
// the answer is not 0), commands give their codes, scroll bars scroll, focus makes the window's screen
// window current (input 95 the first time, 91 after), destroy pops the stack.
bool WinRuntimeProc(WinHandle window, const WinEvent& event);
// The input procedure of screen edit controls: focus in (91) and out (92), keys through the key map,
// _LASTKEY, and the command typed after Ctrl+].
bool WinEditProc(WinHandle control, const WinEvent& event);
// The input procedure of screen check boxes: focus, and Enter, Tab, Shift+Tab and Escape through the
// key map; the desktop toggles the box on a click or Space.
bool WinCheckProc(WinHandle control, const WinEvent& event);

// Scrolls a window's content: line 2 pixels, page one cell, thumb, top and bottom, kept in range.
void WinScroll(WinHandle window, ScrollBar bar, ScrollAction action, int position);
// Sets how far a window's content reaches beyond its client area (pixels), showing scroll bars.
void WinSetContentSize(WinHandle window, int width, int height);

// Shift and Ctrl as the input procedures saw them last.
bool WinShiftHeld();
bool WinCtrlHeld();
// Forgets the held keys and a typed command in progress.
void WinInputReset();

}  // namespace rt
