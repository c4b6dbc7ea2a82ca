// The runtime window procedure and the input procedures of edit controls and check boxes.
#include "runtime/ui/win_procs.h"

#include <string>

#include "platform/desktop.h"
#include "runtime/text/err_codes.h"
#include "runtime/text/slot_map.h"
#include "runtime/text/slot_table.h"
#include "runtime/ui/cell_geometry.h"
#include "runtime/ui/ui_codes.h"
#include "runtime/ui/win_create.h"
#include "runtime/ui/win_keys.h"
#include "runtime/ui/win_stack.h"
#include "runtime/vars/var_system.h"

namespace rt {

namespace {

WinScreenHooks g_hooks;
bool g_shift = false;
bool g_ctrl = false;
// The command typed after Ctrl+], collected until the first control character.
bool g_typing = false;
std::string g_typed;

constexpr int kScrollLine = 2;

Desktop* Dt() { return DesktopGet(); }

WinHandle WindowOfControl(WinHandle control) {
    Desktop* d = Dt();
    return d != nullptr ? d->ControlWindow(control) : kNoWindow;
}

std::uint16_t Input(WinHandle window, WinHandle control, std::uint16_t code) {
    return g_hooks.input != nullptr ? g_hooks.input(window, control, code) : 0;
}

// A close request: the screen decides through action 28; a window without a screen simply goes.
void CloseRequest(WinHandle window) {
    if (g_hooks.action == nullptr || WinScreenIndex(window) == kNoScreenWin) {
        WinDestroy(window);
        return;
    }
    if (g_hooks.action(window, kActCloseRequest) != 0 && WinOnStack(window)) WinDestroy(window);
}

void Command(WinHandle window, std::uint16_t id) {
    const std::uint16_t code = CommandCode(id);
    if (id != kIdOk) SysVarSet(kSysLastKey, kKeyNone);
    if (code == 0 || g_hooks.action == nullptr) return;
    if ((g_hooks.action(window, code) & kResultClose) && WinOnStack(window)) WinDestroy(window);
}

// The window became active: its screen window becomes current (the current one, the first time).
void Focused(WinHandle window) {
    if (g_hooks.select == nullptr) return;
    std::int16_t index = WinScreenIndex(window);
    std::uint16_t code = kInputFocusIn;
    if (index == kNoScreenWin) {
        const std::uint16_t current = g_hooks.select(0xFFFF);
        if (current == 0xFFFF) return;
        index = static_cast<std::int16_t>(current);
        code = kInputWindowDefault;
    } else {
        g_hooks.select(static_cast<std::uint16_t>(index));
    }
    WinStackPush(window, index);
    Input(window, kNoWindow, code);
}

void TrackModifiers(const WinEvent& e) {
    g_shift = e.shift;
    g_ctrl = e.ctrl;
}

// Ends a typed command: its text goes onto string-slot group 30 and the screen hears code 24.
void EndTyping(WinHandle control) {
    g_typing = false;
    SlotPush(kUserStackGroup, StrDesc{g_typed.data(), static_cast<std::uint16_t>(g_typed.size())});
    g_typed.clear();
    Input(WindowOfControl(control), control, kActTypedCommand);
}

// The key number of a key down, with Shift+Tab and Ctrl+End told apart.
std::uint16_t KeyNumber(const WinEvent& e) {
    if (e.key == PlatformKey::kTab && e.shift) return kKeyBackTab;
    if (e.key == PlatformKey::kEnd && e.ctrl) return kKeyCtrlEnd;
    return ScreenKey(e.key);
}

bool IsModifier(PlatformKey key) {
    return key == PlatformKey::kShift || key == PlatformKey::kControl || key == PlatformKey::kAlt;
}

}  // namespace

WinScreenHooks WinScreenHooksSet(const WinScreenHooks* hooks) {
    WinScreenHooks old = g_hooks;
    g_hooks = hooks != nullptr ? *hooks : WinScreenHooks{};
    return old;
}

bool WinRuntimeProc(WinHandle window, const WinEvent& event) {
    switch (event.type) {
        case WinEventType::kCloseRequest: CloseRequest(window); return true;
        case WinEventType::kCommand:
            if (event.notify != kNotifyClicked) return false;
            Command(window, event.id);
            return true;
        case WinEventType::kScroll: WinScroll(window, event.bar, event.action, event.position); return true;
        case WinEventType::kDestroy: WinClosed(window); return true;
        case WinEventType::kFocusIn: Focused(window); return true;
        case WinEventType::kKeyDown:
            if (event.key != PlatformKey::kEscape) return false;
            CloseRequest(window);
            return true;
        default: return false;
    }
}

bool WinEditProc(WinHandle control, const WinEvent& event) {
    const WinHandle window = WindowOfControl(control);
    switch (event.type) {
        case WinEventType::kFocusIn: return Input(window, control, kInputFocusIn) == kErrBadData;
        case WinEventType::kFocusOut: Input(window, control, kInputFocusOut); return false;
        case WinEventType::kKeyUp: TrackModifiers(event); return false;
        case WinEventType::kKeyDown: {
            TrackModifiers(event);
            if (IsModifier(event.key)) return false;
            const std::uint16_t key = KeyNumber(event);
            if (g_typing && key != kKeyNone) {
                EndTyping(control);
                return true;
            }
            SysVarSet(kSysLastKey, static_cast<std::int16_t>(key));
            if (key == kKeyNone) return false;
            const std::uint16_t code = KeyMapCode(key);
            if (code != 0) {
                g_ctrl = false;
                Input(window, control, code);
            }
            return true;
        }
        case WinEventType::kChar: {
            if (event.ch == 29) {
                g_typing = true;
                g_typed.clear();
                return true;
            }
            if (!g_typing) return false;
            if (event.ch < 32) EndTyping(control);
            else if (g_typed.size() < 255) g_typed += static_cast<char>(event.ch < 256 ? event.ch : '?');
            return true;
        }
        default: return false;
    }
}

bool WinCheckProc(WinHandle control, const WinEvent& event) {
    const WinHandle window = WindowOfControl(control);
    switch (event.type) {
        // A box entered by mouse becomes the current field as an edit does.
        case WinEventType::kFocusIn: return Input(window, control, kInputFocusIn) == kErrBadData;
        case WinEventType::kFocusOut: Input(window, control, kInputFocusOut); return false;
        case WinEventType::kKeyUp: TrackModifiers(event); return false;
        case WinEventType::kKeyDown: {
            TrackModifiers(event);
            if (event.key != PlatformKey::kEnter && event.key != PlatformKey::kTab && event.key != PlatformKey::kEscape)
                return false;
            const std::uint16_t key = KeyNumber(event);
            SysVarSet(kSysLastKey, static_cast<std::int16_t>(key));
            if (const std::uint16_t code = KeyMapCode(key)) Input(window, control, code);
            return true;
        }
        default: return false;
    }
}

void WinScroll(WinHandle window, ScrollBar bar, ScrollAction action, int position) {
    WinScrollState* s = WinScrollOf(window);
    Desktop* d = Dt();
    if (s == nullptr || d == nullptr) return;
    const bool horizontal = bar == ScrollBar::kHorizontal;
    int& pos = horizontal ? s->x : s->y;
    const int range = horizontal ? s->x_range : s->y_range;
    const int page = horizontal ? CellWidthPx() : CellHeightPx();
    switch (action) {
        case ScrollAction::kLineUp: pos -= kScrollLine; break;
        case ScrollAction::kLineDown: pos += kScrollLine; break;
        case ScrollAction::kPageUp: pos -= page; break;
        case ScrollAction::kPageDown: pos += page; break;
        case ScrollAction::kThumb: pos = position; break;
        case ScrollAction::kTop: pos = 0; break;
        case ScrollAction::kBottom: pos = range; break;
    }
    pos = pos < 0 ? 0 : (pos > range ? range : pos);
    d->WindowScroll(window, s->x, s->y, s->x_range, s->y_range);
}

void WinSetContentSize(WinHandle window, int width, int height) {
    WinScrollState* s = WinScrollOf(window);
    Desktop* d = Dt();
    if (s == nullptr || d == nullptr) return;
    const WinRect client = d->WindowRect(window);
    s->x_range = width > client.width ? width - client.width : 0;
    s->y_range = height > client.height ? height - client.height : 0;
    s->x = s->x > s->x_range ? s->x_range : s->x;
    s->y = s->y > s->y_range ? s->y_range : s->y;
    d->WindowScroll(window, s->x, s->y, s->x_range, s->y_range);
}

bool WinShiftHeld() { return g_shift; }
bool WinCtrlHeld() { return g_ctrl; }

void WinInputReset() {
    g_shift = g_ctrl = false;
    g_typing = false;
    g_typed.clear();
}

}  // namespace rt
