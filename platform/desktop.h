// The desktop as the runtime sees it. The runtime's message boxes, fonts, windows, controls and file
// dialogs are written against this interface only; a backend (the Qt desktop, or the terminal of the command-line
// tool) implements it, and whoever starts the process makes one backend current with DesktopSet.
//
// Texts cross this boundary as UTF-16: the runtime decodes its Windows-1252 bytes losslessly before
// a call and encodes the answers back, so no backend ever sees the runtime's 8-bit texts.
#pragma once
#include <cstdint>
#include <string>

#include "platform/window_types.h"

namespace rt {

// ---- Message boxes ----

enum class MsgIcon : std::uint8_t { kInformation, kWarning, kError };

// The button sets a box can offer, named in the order the buttons appear; the first is the default.
enum class MsgButtons : std::uint8_t { kOk, kOkCancel, kRetryCancel, kYesNo, kYesNoCancel };

// The button that closed a box. kNone: the box could not be shown (or closed without a button).
enum class MsgButton : std::uint8_t { kNone, kOk, kCancel, kRetry, kYes, kNo, kAbort, kIgnore };

struct MsgBoxRequest {
    std::u16string text;
    std::u16string caption;
    MsgIcon icon = MsgIcon::kInformation;
    MsgButtons buttons = MsgButtons::kOk;
    WinHandle owner = kNoWindow;  // the runtime window the box belongs to (none: the application)
};

// The first (default) button of a set.
MsgButton MsgFirstButton(MsgButtons buttons);

// ---- Fonts ----

// A font as the runtime describes it: face name, character height and average character width in
// pixels (0 lets the platform choose), and weight (400 normal, 700 bold).
struct FontRequest {
    std::u16string face;
    std::uint16_t height = 0;
    std::uint16_t width = 0;
    std::uint16_t weight = 400;
};

// Measured metrics of a font: average character width and character height (ascent + descent),
// in pixels. Zero in both means the font could not be measured.
struct CharMetrics {
    std::uint16_t avg_width = 0;
    std::uint16_t height = 0;
};

// ---- The backend ----

class Desktop {
public:
    virtual ~Desktop() = default;

    // Shows a modal box and gives the button that closed it (kNone when it could not be shown).
    virtual MsgButton ShowMessageBox(const MsgBoxRequest& request) = 0;

    // Drops input (keys, mouse) that is waiting for the process, so that keystrokes typed ahead are
    // not taken as an answer to a box that is about to appear. Other pending work may run.
    virtual void DiscardPendingInput() = 0;

    // Metrics of the font that best matches the request on this desktop.
    virtual CharMetrics FontMetrics(const FontRequest& request) = 0;
    // Metrics of the desktop's default user-interface font.
    virtual CharMetrics DefaultFontMetrics() = 0;

    // ---- Runtime windows ----
    // A desktop without windows (the terminal) keeps these defaults: nothing can be created, a file
    // dialog answers as if cancelled, and there is never anything to pump.

    // A hidden top-level window; kNoWindow when it cannot be made.
    virtual WinHandle WindowCreate(const WindowRequest& request);
    // Destroys a window or control (a window with its controls): the procedures receive kDestroy
    // first, controls before their window. Unknown handles are ignored.
    virtual void WindowDestroy(WinHandle handle);
    // Shows (maximised when asked) or hides a window, and brings a shown one to the front.
    virtual void WindowShow(WinHandle window, bool visible, bool maximised);
    virtual void WindowSetCaption(WinHandle window, const std::u16string& caption);
    // Enables or disables a window (with everything in it) or a single control.
    virtual void WindowEnable(WinHandle handle, bool enabled);
    virtual bool WindowEnabled(WinHandle handle);
    // Frame position and client size of a window, or a control's rectangle in its window.
    virtual void WindowSetRect(WinHandle handle, const WinRect& rect);
    virtual WinRect WindowRect(WinHandle handle);
    // The part of the screen that windows may use (without panels and docks).
    virtual WinRect ScreenWorkArea();
    // Moves the contents of a window's client area so that point (x, y) of it is at the top left, and
    // shows scroll bars of the given ranges (0: no bar). Positions are pixels.
    virtual void WindowScroll(WinHandle window, int x, int y, int x_range, int y_range);
    // Gives the keyboard focus to a control (or activates a window); the focused control, kNoWindow
    // when the focus is outside every runtime window.
    virtual void WindowFocus(WinHandle handle);
    virtual WinHandle FocusedControl();
    // Repaints now whatever of a window needs it.
    virtual void WindowUpdate(WinHandle window);

    // ---- Controls ----
    virtual WinHandle ControlCreate(const ControlRequest& request);
    virtual std::uint16_t ControlId(WinHandle control);
    // The control of a window with an id, kNoWindow when none.
    virtual WinHandle ControlById(WinHandle window, std::uint16_t id);
    // The window a control is in (a window answers itself), kNoWindow for an unknown handle.
    virtual WinHandle ControlWindow(WinHandle handle);
    virtual void ControlSetText(WinHandle control, const std::u16string& text);
    virtual std::u16string ControlText(WinHandle control);
    // Selects the whole text of an edit control.
    virtual void ControlSelectAll(WinHandle control);
    virtual void ControlSetChecked(WinHandle control, bool checked);
    virtual bool ControlChecked(WinHandle control);
    virtual void ControlSetFont(WinHandle control, const FontRequest& font);
    // List boxes: the items, the current (caret) item, 0-based, -1 when none.
    virtual void ListSetItems(WinHandle list, const std::vector<std::u16string>& items, int item_height);
    virtual int ListCurrent(WinHandle list);
    virtual void ListSetCurrent(WinHandle list, int index);
    // Progress bars: the range and the position.
    virtual void ProgressSetRange(WinHandle bar, int maximum);
    virtual void ProgressSetPosition(WinHandle bar, int position);
    // Text panels: the lines shown.
    virtual void PanelSetLines(WinHandle panel, const std::vector<std::u16string>& lines);

    // ---- Events ----
    // Dispatches every pending event without waiting for more.
    virtual void Pump();
    // Waits until an event is pending, at most milliseconds (the polling loops of modal windows call
    // it between pumps so that an idle dialog does not keep a processor busy).
    virtual void WaitForEvents(int milliseconds);

    // ---- File dialogs ----
    // Runs the open or save dialog; true with the chosen path, false when the user cancelled.
    virtual bool RunFileDialog(const FileDialogRequest& request, std::u16string* path);
};

// The current backend; null until someone sets one. The caller keeps ownership.
void DesktopSet(Desktop* desktop);
Desktop* DesktopGet();

}  // namespace rt
