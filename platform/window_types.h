// The vocabulary of runtime windows at the desktop boundary: handles, platform-neutral keys, the
// events a backend hands to the runtime's window and input procedures, and the requests that create
// windows, controls and file dialogs. Texts are UTF-16, as everywhere on this boundary.
//
// Window procedures stay in the runtime: a backend turns its own events into WinEvent values and
// calls the procedure of the window (close, commands, focus, keys, scrolling, destroy) or of the
// control (focus, keys, characters). A procedure answers whether it consumed the event; an event it
// leaves is handled the desktop's own way (a character typed into an edit control appears in it).
#pragma once
#include <cstdint>
#include <string>
#include <vector>

namespace rt {

// A window or control of the desktop; 0 is none. Handles are never reused within a process.
using WinHandle = std::uint32_t;
constexpr WinHandle kNoWindow = 0;

// Keys as the runtime distinguishes them. Every key the runtime gives no meaning of its own is kOther.
enum class PlatformKey : std::uint8_t {
    kOther, kEnter, kTab, kEscape, kBackspace, kSpace,
    kLeft, kRight, kUp, kDown, kPageUp, kPageDown, kHome, kEnd, kInsert, kDelete,
    kF1, kF2, kF3, kF4, kF5, kF6, kF7, kF8, kF9, kF10, kF11, kF12,
    kShift, kControl, kAlt,
};

enum class WinEventType : std::uint8_t {
    kCloseRequest,  // the user asked the window to close (close box); the window stays unless destroyed
    kCommand,       // a child control was activated: id = control id, notify = what happened
    kFocusIn,       // the window became active, or the control received the keyboard focus
    kFocusOut,      // the control lost the keyboard focus
    kKeyDown,       // a key went down (key, shift, ctrl)
    kKeyUp,         // a key was released
    kChar,          // a typed character (ch), after its kKeyDown was not consumed
    kScroll,        // a scroll bar of the window moved (bar, action, position)
    kDestroy,       // the window or control is going away; its handle is no longer valid afterwards
};

// Notifications of kCommand.
constexpr std::uint16_t kNotifyClicked = 0;      // a push button was pressed
constexpr std::uint16_t kNotifyDoubleClick = 2;  // a list item was double-clicked

enum class ScrollBar : std::uint8_t { kHorizontal, kVertical };
enum class ScrollAction : std::uint8_t { kLineUp, kLineDown, kPageUp, kPageDown, kThumb, kTop, kBottom };

struct WinEvent {
    WinEventType type = WinEventType::kCommand;
    std::uint16_t id = 0;       // kCommand: the control's id
    std::uint16_t notify = 0;   // kCommand: kNotifyClicked, kNotifyDoubleClick
    PlatformKey key = PlatformKey::kOther;
    bool shift = false;         // modifiers held with a key event
    bool ctrl = false;
    char16_t ch = 0;            // kChar
    ScrollBar bar = ScrollBar::kVertical;
    ScrollAction action = ScrollAction::kLineDown;
    int position = 0;           // kScroll with kThumb: the new thumb position
};

// The procedure of a window or control. target is the window or control the event is for. true:
// consumed, the desktop does nothing more with the event.
using WinProc = bool (*)(WinHandle target, const WinEvent& event);

struct WinRect {
    int x = 0, y = 0, width = 0, height = 0;
};
// A window position (x or y) of kWinCentred leaves the place to the desktop: the window opens centred
// over its owner window (the window the user was working in when it has no runtime owner, the screen
// without either), kept inside the screen.
constexpr int kWinCentred = -0x40000000;

// A top-level runtime window. Its position is that of its frame on the screen; its size is the size
// of its client area, in which controls are placed.
struct WindowRequest {
    std::u16string class_name;  // the runtime's class name (kept for tests and the window manager)
    std::u16string caption;
    WinHandle owner = kNoWindow;  // stays above its owner
    WinRect rect;                 // width or height 0: the desktop chooses
    bool dialog_frame = true;     // a fixed-size dialog frame with a close box
    WinProc proc = nullptr;
};

enum class ControlKind : std::uint8_t {
    kLabel,        // static text
    kEdit,         // single-line edit
    kCheckBox,
    kButton,       // push button; activating it sends kCommand to the window
    kListBox,      // a list of items; a double click sends kCommand kNotifyDoubleClick
    kProgressBar,  // a smooth bar
    kTextPanel,    // a painted panel: grey ground, lines of white text centred
};

enum ControlStyle : std::uint16_t {
    kStyleRightAlign = 1,  // labels and edits: text aligned right
    kStylePassword = 2,    // edits: characters hidden
    kStyleReadOnly = 4,    // edits: not editable
    kStyleBorder = 8,      // edits and lists: a sunken frame
};

struct ControlRequest {
    WinHandle parent = kNoWindow;  // the runtime window
    ControlKind kind = ControlKind::kLabel;
    std::uint16_t id = 0;
    std::u16string text;
    WinRect rect;                  // in the parent's client area
    std::uint16_t style = 0;       // ControlStyle bits
    std::uint16_t limit = 0;       // edits: most characters typed (0 none)
    WinProc proc = nullptr;        // the control's input procedure (null: the desktop's own handling)
};

// The open and save dialogs of the desktop. Paths are runtime paths ('\' separators); the backend
// converts them for the system and converts the answer back.
struct FileDialogRequest {
    bool save = false;
    std::u16string title;                    // empty: the desktop's own title
    std::u16string initial;                  // initial file name or pattern, with or without folder
    std::u16string default_suffix;           // added to a name typed without one (save)
    std::vector<std::u16string> filters;     // label, pattern, label, pattern ...
};

}  // namespace rt
