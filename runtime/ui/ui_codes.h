// The numbers of the runtime's windows in one place: control identifiers, the runtime key numbers
// (ScreenKey), screen action codes, the codes of the input flow from the controls, and the bits of
// an action's result.
#pragma once
#include <cstdint>

namespace rt {

// ---- Control identifiers ----
constexpr std::uint16_t kIdFieldBase = 2000;       // screen field inputs: + field index - 1
constexpr std::uint16_t kIdLabelBase = 4000;       // labels: + column + row * screen columns
constexpr std::uint16_t kIdOk = 3100;              // the field-entry dialog's "Ok"
constexpr std::uint16_t kIdConfirmSecond = 3101;   // a second confirm button
constexpr std::uint16_t kIdListBox = 3350;         // the list of a selection list
constexpr std::uint16_t kIdSelectBase = 1500;      // selection buttons: + item - 1
constexpr std::uint16_t kIdSelectAltBase = 1700;   // the second set of selection buttons
constexpr std::uint16_t kIdMantBase = 3000;        // maintenance buttons: + i (i up to 20)
constexpr std::uint16_t kIdMantLast = 3020;
constexpr std::uint16_t kIdOptionBase = 3600;      // option buttons: + i (i below 50)
constexpr std::uint16_t kIdOptionAltBase = 3650;   // the second set of option buttons
constexpr std::uint16_t kIdProgressCancel = 1110;  // the progress window's "Cancelar"

// ---- Runtime key numbers (ScreenKey) ----
enum ScreenKeyNumber : std::uint16_t {
    kKeyEnter = 0,
    kKeyEscape = 3,
    kKeyNone = 4,       // an ordinary key, also Left and Right: the control handles it
    kKeySpecial = 6,
    kKeyBackTab = 8,    // Shift+Tab
    kKeyTab = 9,
    kKeyF1 = 11,        // F1 to F11 are 11 to 21
    kKeyF9 = 19,
    kKeyF11 = 21,
    kKeyUp = 22,
    kKeyPageUp = 23,
    kKeyDown = 28,
    kKeyPageDown = 29,
    kKeyCtrlEnd = 32,
};

// ---- Screen action codes ----
enum ScreenActionCode : std::uint16_t {
    kActNone = 0,
    kActNextField = 1,
    kActPrevField = 2,
    kActTypedCommand = 24,  // the text typed after Ctrl+] waits on string-slot group 30
    kActHelp = 19,
    kActRestoreField = 20,
    kActCancel = 21,
    kActEndOfRange = 22,
    kActButton = 25,        // + 256 * n: button n
    kActCloseRequest = 28,  // the window's close box
    kActAlarmFailed = 30,   // leaving a field forward failed its check
    kActNextFieldDown = 31,
    kActPrevFieldUp = 32,
    kActFieldEntered = 38,  // a field was made current by focus
    kActMessage18 = 18,     // the private message of edit controls
};
// The code of button n (25 + 256 n); n = 100 is the field-entry dialog's confirm.
constexpr std::uint16_t ActButton(std::uint16_t n) { return static_cast<std::uint16_t>(kActButton + 256 * n); }
constexpr std::uint16_t kActConfirm = ActButton(100);  // 0x6419
constexpr std::uint16_t kActConfirmSecond = ActButton(101);

// ---- Codes of the input flow from controls and windows to the screens ----
enum ScreenInputCode : std::uint16_t {
    kInputCloseWindow = 29,
    kInputFocusIn = 91,
    kInputFocusOut = 92,
    kInputWindowDefault = 95,  // the window is focused for the first time
};

// ---- Bits of an action's result ----
constexpr std::uint16_t kResultPassOn = 2;       // cleared from a handler's result
constexpr std::uint16_t kResultClose = 8;        // close the window
constexpr std::uint16_t kResultEndOfScreen = 64; // moved past the last field

}  // namespace rt
