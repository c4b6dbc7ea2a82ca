// Screens: the runtime's data-entry forms. A screen is a list of fields built from a parameter text
// (FD$, ALARM$, ASSIGN$, FILEDEF$ ...); a screen window holds the fields' current and reference
// values and shows them in one input control per field of a runtime window. The screen layer
// converts and checks what is typed, moves the focus from field to field, refreshes fields from the
// data file or their expressions, and hands screen action codes to the handler the screen's owner
// installs.
//
// Screens and screen windows are kept in two arrays, added and removed at the end; creating one makes
// it current, destroying the current window makes the one before it current.
//
// A screen without fields for a window the caller owns (the contact dialog): ScreenOpenPlain makes an
// empty screen bound to a data file, with its screen window, current; it gives the maintenance engine
// a current screen, file and active key (ScreenCurrentWin). ScreenDestroy(kScreenCurrent) ends it.
#pragma once
#include <cstdint>
#include "platform/window_types.h"
#include "runtime/text/str_desc.h"

namespace rt {

constexpr std::uint16_t kScreenCurrent = 0xFFFF;  // "the current window" for ScreenDestroy and others
constexpr std::uint16_t kEditHidden = 81;          // the edit order of a field without a control

// A text kept in the screen's block: offset and length into its strings.
struct ScreenText {
    std::uint16_t offset = 0;
    std::uint16_t length = 0;
};

// Attribute bits of a field.
enum ScreenFieldAttr : std::uint16_t {
    kAttrRaw = 1,          // not a non-zero CLEAR$ item: stored without type conversion under refresh bit 1
    kAttrBound = 2,        // bound to a data-file field
    kAttrAssign = 4,       // has an ASSIGN$ item
    kAttrOwnFile = 16,     // bound to the screen's own file
    kAttrPerform = 32,     // has a PERFORM$ statement
    kAttrUpdate = 64,      // has an UPDFIELDS$ list
    kAttrWindows = 256,    // has a WINDOWS$ item
    kAttrEditable = 512,   // edit order not 0
    kAttrAlarm = 1024,     // has an ALARM$ item
};

struct ScreenField {
    ErrCode status = 0;          // 0, or the code of a bad field form
    std::uint16_t row = 0;       // cells
    std::uint16_t column = 0;
    std::uint16_t storage = 0;   // bytes of the value in the value buffers
    std::uint16_t limit = 0;     // most characters typed
    std::uint16_t width = 0;     // display width
    std::uint16_t edit_order = 0;  // 0 not editable, kEditHidden no control, else the position in EDIT$
    std::uint8_t file = 0;       // bound data-file field, 0 none
    std::uint16_t field = 0;
    std::uint16_t attrs = 0;
    ScreenText name, assign, alarm, perform, update, windows;
    std::uint16_t value_offset = 0;
    char type = 'A';
    WinHandle control = kNoWindow;
};

struct ScreenCtrl {
    std::uint16_t users = 0;
    std::uint16_t count = 0;        // fields
    std::uint16_t range_first = 0;  // the bounded range (BOUNDS$), 0 none
    std::uint16_t range_last = 0;
    std::uint16_t begin_field = 0;  // BEGINFLD% - 1
    std::uint16_t var_count = 0;    // variables defined when the screen was made
    std::uint16_t value_size = 0;   // sum of the storage lengths
    std::uint8_t file = 0;          // the screen's data file, 0 none
    std::uint8_t win_mode = 0;
    std::uint16_t key_map = 0;
    std::uint16_t active_key = 1;   // INDEX%
    std::uint32_t attr_count = 0;   // MAX_IDS_ATTR%
    // The block (one memory area): the fields, then the tag, the parameter text and the field texts.
    void* block = nullptr;
    ScreenField* fields = nullptr;
    StrDesc tag;
    StrDesc text;      // the parameter text the screen was built from
    const char* strings = nullptr;
    ScreenText set, ik1, relopt;
};

// The handler of a screen window: gets each screen action code, answers a result (kResultClose
// closes the window; 122 and up are failures).
using ScreenHandler = std::uint16_t (*)(std::uint16_t code);

struct ScreenWin {
    std::uint16_t screen = 0;
    std::uint8_t file = 0;
    std::uint16_t current = 0;     // 1-based field with the focus, 0 none
    std::uint16_t active_key = 1;
    WinHandle window = kNoWindow;
    ScreenHandler handler = nullptr;
    char* values = nullptr;        // current values, reference values, two record images
    std::uint32_t values_size = 0;
};

// ---- Making and ending screens ----

// Builds a screen from the parameter text on top of the parameter-set stack. templ gives the field
// count (0: one field per FD$ name) and fields, when given, its already parsed fields (Accept);
// otherwise the fields come from the parameters alone. The new screen is current.
ErrCode ScreenCreate(const ScreenCtrl& templ, const ScreenField* fields, StrDesc tag);
// The screen window of the current screen, in the current top runtime window; it becomes current.
ErrCode ScreenWinCreate();
// Removes a screen window (kScreenCurrent: the current one) and its screen when no user is left;
// 177 when there is no such window. The cell grid goes back to its defaults.
ErrCode ScreenDestroy(std::uint16_t win);
// Makes a screen window current (kScreenCurrent only reports); gives the current window's index,
// kScreenCurrent when there is none.
std::uint16_t ScreenWinSelect(std::uint16_t win);
// An empty screen bound to a data file, with its window record, current and with one user.
ErrCode ScreenOpenPlain(std::uint8_t file);

// ---- Reading the state ----

ScreenCtrl* ScreenCurrent();
ScreenWin* ScreenCurrentWin();
std::uint16_t ScreenCount();
std::uint16_t ScreenWinCount();
// A field of the current screen (1-based), null when out of range.
ScreenField* ScreenFieldAt(std::uint16_t index);
// A text of the current screen's block.
StrDesc ScreenTextOf(ScreenText text);
// A parameter of the current screen's text by number (item 0: the whole value).
StrDesc ScreenParm(std::uint16_t number, std::uint16_t item);

// ---- Acting on the current screen window ----

void ScreenActionSet(ScreenHandler handler);
// Records the mode and creates the input controls of the current screen in its window (an odd mode
// creates none and empties the queue of string-slot group 38).
ErrCode ScreenSetWin(std::uint8_t mode);
// The handler's answer (bit kResultPassOn cleared) or, without a handler, field navigation.
std::uint16_t ScreenAction(std::uint16_t code);
// Field navigation: next and previous field, restore, end of screen; 163 for another code.
std::uint16_t ScreenNavigate(std::uint16_t code);

// Refresh modes.
enum ScreenRefreshMode : std::uint16_t {
    kRefreshRaw = 0x0001,
    kRefreshFromFile = 0x0002,
    kRefreshAssign = 0x0004,
    kRefreshWriteBack = 0x0010,
    kRefreshPerform = 0x0020,
    kRefreshUpdate = 0x0040,
    kRefreshAlways = 0x0080,
    kRefreshReference = 0x0200,
};
constexpr std::uint16_t kRefreshFound = 118;       // after a find, a changed key, and for typed values
constexpr std::uint16_t kRefreshNavigated = 230;   // after navigation
constexpr std::uint16_t kRefreshDependents = 116;  // a field's dependents

// The value a field would get in mode (on DynStrings); an error descriptor with the "0017" detail.
StrDesc ScreenFieldValue(std::uint16_t mode, std::uint16_t index);
// Stores text in a field: converted to its stored form, shown in its control, written back and its
// dependents run as the mode says.
ErrCode ScreenFieldStore(std::uint16_t mode, std::uint16_t index, StrDesc text);
// ScreenFieldValue then ScreenFieldStore for each listed field (1-based indexes; none: all).
ErrCode ScreenRefresh(std::uint16_t mode, const std::uint16_t* list, std::uint16_t count);
// The stored current value of a field (view into the value buffer) and its reference value.
StrDesc ScreenCurrentValue(std::uint16_t index);
StrDesc ScreenReferenceValue(std::uint16_t index);
// The field's current value as text: its shown form, trailing blanks cut (except for type F); a
// check box gives the shown form of a logical 1 when ticked and the empty text when cleared.
StrDesc ScreenFieldText(std::uint16_t index);
// Stores the text of every control into its field (mode 118), so that nothing typed is lost when the
// window goes.
ErrCode ScreenStoreControls();
// The fields bound to the screen's file and a field of key k, in segment order; count in *count.
std::uint16_t ScreenKeyFields(std::uint16_t key, std::uint16_t* fields, std::uint16_t max);
// Every field's current value copied over its reference value.
ErrCode ScreenSnapshot();
// Runs event n of SET$ (one item: that item for every event; event 1 may be a SCRBACK load).
ErrCode ScreenEvent(std::uint16_t n);
// The SCRBACK save: assigns the whole current value buffer to the variable a SCRBACK statement of
// SET$ names (nothing when SET$ has none).
ErrCode ScreenEventSave();
// The check of a field's ALARM$: 1 passes, 0 fails (126, with the condition's text as detail).
ErrCode ScreenAlarmCheck(std::uint16_t index);

// ---- Seams ----

// The screen-field hook of the variables: names starting with '_' reach the current screen's fields.
ErrCode ScreenFieldHook(StrDesc names, std::uint16_t mode, StrDesc value, StrDesc* answer);
// The input flow from the window layer's procedures.
std::uint16_t ScreenInput(WinHandle window, WinHandle control, std::uint16_t code);
// Installs the screen-field hook into the variables and the screens into the window layer.
void ScreenInstall();
// Forgets every screen and window (tests and runtime end); releases their memory.
void ScreenReset();

}  // namespace rt
