// Runtime windows: creating them by kind or class name on the current top window, the modal mark
// that disables the owner, running a window modally by polling, the pump, and what happens when a
// window goes (the stack pops, the new top window is enabled and focused, an empty stack quits).
#pragma once
#include <cstdint>
#include "platform/window_types.h"
#include "runtime/text/str_desc.h"

namespace rt {

// Window kinds; the class name of kind k is item k + 1 of the kinds list, and kind 0 takes the
// application code instead.
enum WinKind : std::uint16_t {
    kWinKindApp = 0,
    kWinKindLnMant = 1,
    kWinKindMant = 2,
    kWinKindMantDlg = 3,
    kWinKindGrid = 4,
    kWinKindDialog = 5,    // field-entry dialogs
    kWinKindDevSel = 6,
    kWinKindProgress = 7,  // the progress window
};
// The class name of a kind (the application code for kind 0), on DynStrings.
StrDesc WinClassName(std::uint16_t kind);

// Style bits of WinCreate.
constexpr std::uint16_t kWinStyleModal = 0x80;  // disable the current top window while this one lives
// A coordinate or size of WinCreate that the desktop chooses (a position: centred over the owner).
constexpr int kWinDefault = 0xFFFF;

// Creates a window of the class, owned by the current top window, and pushes it on the stack with no
// screen window. A class is registered the first time it is used, with the procedure given then
// (the runtime window procedure when none). kNoWindow when the desktop cannot make it.
WinHandle WinCreate(StrDesc class_name, StrDesc caption, std::uint16_t style, WinRect rect, WinProc proc);
WinHandle WinCreateKind(std::uint16_t kind, StrDesc caption, std::uint16_t style, WinRect rect, WinProc proc);

// Where a runtime dialog of that client size goes: centred over its owner by the desktop (over the
// window the user works in without one), inside the screen.
WinRect WinDialogRect(WinHandle owner, int width, int height);

// Shows the top window and pumps until a quit arrives, the stack empties or, when window is given,
// window is no longer the top window. Between pumps it waits for events for at most a few
// milliseconds instead of spinning.
void WinRunModal(WinHandle window);
// Dispatches every pending event; 1 when a quit was posted or the stack is empty, else 0.
std::uint16_t WinPump();

// Destroys a window (its procedure learns it through kDestroy).
void WinDestroy(WinHandle window);
// What every runtime window procedure does when its window is destroyed: the window leaves the
// stack; the new top window is enabled and focused, or a quit is posted when none is left.
void WinClosed(WinHandle window);

// Forgets the registered classes and the stack (tests and runtime end).
void WinLayerReset();

}  // namespace rt
