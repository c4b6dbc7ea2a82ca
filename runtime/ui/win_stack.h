// The stack of runtime windows: up to 32 windows, each with the index of the screen window
// (ScreenWin) shown in it, in stacking order; the last is the top window, which owns message boxes
// and new runtime windows. Also the quit mark that ends a modal run.
#pragma once
#include <cstdint>
#include "platform/window_types.h"
#include "runtime/text/str_desc.h"

namespace rt {

constexpr std::uint16_t kWinStackMax = 32;
constexpr std::int16_t kNoScreenWin = -1;

// Puts window on top with its screen window index: a window already on the stack moves to the top and
// takes the new index. 168 when 32 windows are stacked (the window is not pushed).
ErrCode WinStackPush(WinHandle window, std::int16_t screen_win);
// Takes window off the stack (163 when it is not on it).
ErrCode WinStackPop(WinHandle window);
WinHandle WinTop();
std::uint16_t WinCount();
bool WinOnStack(WinHandle window);
// The screen window shown in window, kNoScreenWin when none or not stacked.
std::int16_t WinScreenIndex(WinHandle window);
void WinSetScreenIndex(WinHandle window, std::int16_t screen_win);

// The scroll state of a stacked window: the content's offset and how far it can move, in pixels.
struct WinScrollState {
    int x = 0, y = 0;
    int x_range = 0, y_range = 0;
};
WinScrollState* WinScrollOf(WinHandle window);

// The quit mark: posted when the stack empties or a selection is made, taken by the pump.
void WinPostQuit();
bool WinTakeQuit();

// Forgets every window (tests and runtime end).
void WinStackReset();

}  // namespace rt
