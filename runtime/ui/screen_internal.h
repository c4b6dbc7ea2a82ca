// Inside the screens module: the screens and windows by index, the parameter numbers screens read,
// and the option bits they obey.
#pragma once
#include <cstdint>
#include "runtime/ui/screen.h"

namespace rt {

// Parameter numbers (their names come from the parameter lists of the variables layer).
enum ScreenParmNumber : std::uint16_t {
    kParmMaxIdsAttr = 8,
    kParmScreenSize = 11,
    kParmSet = 12,
    kParmEdit = 14,
    kParmNoEdit = 15,
    kParmHelp = 19,
    kParmSaved = 20,
    kParmHidden = 21,
    kParmRelOpt = 22,
    kParmKeyMap = 25,
    kParmBounds = 42,
    kParmBeginFld = 47,
    kParmFd = 51,
    kParmAlarm = 52,
    kParmAssign = 53,
    kParmFileDef = 55,
    kParmPerform = 56,
    kParmUpdFields = 57,
    kParmWidths = 58,
    kParmTypes = 59,
    kParmWindows = 60,
    kParmClear = 61,
    kParmOnConfirm = 62,
    kParmOnCancel = 63,
    kParmIk1 = 65,
    kParmIndex = 94,
};

// _AUXSTAT bit 16: logical fields are check boxes.
constexpr std::uint16_t kAuxCheckBoxes = 16;
// _COMPAT bit 512: screen controls keep the desktop's own input handling.
constexpr std::uint16_t kCompatPlainControls = 512;
// _SCRSTAT bits.
constexpr std::uint16_t kScrStatWrapped = 16;   // moving back wrapped round the bounded range
constexpr std::uint16_t kScrStatUpdating = 64;  // a page key's field update is running

ScreenCtrl* ScreenByIndex(std::uint16_t index);
ScreenWin* ScreenWinByIndex(std::uint16_t index);
std::uint16_t ScreenCurrentWinIndex();

// A field of the current screen shown as a check box.
bool ScreenIsCheckBox(const ScreenField& f);
// The type letter a field is converted with (a password field is text).
char ScreenStoreType(const ScreenField& f);
// A logical value read from a text: a yes-word or letter, or a number with its low bit set.
bool ScreenLogical(StrDesc text);
// The field of the current screen whose control is control; 0 when none.
std::uint16_t ScreenFieldOfControl(WinHandle control);
// Makes field i current and gives its control the focus; with forward, the field left must pass its
// ALARM$ check first (kActAlarmFailed when it does not, the focus staying).
std::uint16_t ScreenGoTo(std::uint16_t index, bool forward);
// Refreshes with mode the fields named in field i's update list.
ErrCode ScreenFieldUpdate(std::uint16_t index, std::uint16_t mode);

}  // namespace rt
