// The selection list: its window, list box or button grid, and the procedures that answer it.
#include "runtime/ui/select_list.h"

#include <algorithm>
#include <vector>

#include "platform/desktop.h"
#include "runtime/env/fonts.h"
#include "runtime/text/dyn_strings.h"
#include "runtime/text/text_clean.h"
#include "runtime/text/text_lists.h"
#include "runtime/ui/cell_geometry.h"
#include "runtime/ui/ui_codes.h"
#include "runtime/ui/ui_font.h"
#include "runtime/ui/ui_text.h"
#include "runtime/ui/win_create.h"
#include "runtime/ui/win_stack.h"
#include "runtime/vars/var_system.h"

namespace rt {

namespace {

constexpr std::uint16_t kMinWidthChars = 15;
constexpr std::uint16_t kExtraChars = 5;
constexpr int kListFrame = 4;
// A title bar holds the caption, in the desktop's own font, beside the frame's buttons.
constexpr int kTitleButtonsPx = 96;
constexpr int kTitleCharPx = 8;  // a character of the title when the desktop cannot measure its font

// The narrowest window whose title bar shows the whole caption.
int CaptionWidthPx(Desktop* d, std::uint16_t chars) {
    const CharMetrics m = d->DefaultFontMetrics();
    return chars * (m.avg_width != 0 ? m.avg_width : kTitleCharPx) + kTitleButtonsPx;
}

std::uint16_t g_buttons = 0;  // buttons of the grid being shown

void Choose(std::int16_t item) {
    SysVarSet(kSysStat, item);
    WinPostQuit();
}

void Cancel(WinHandle window) {
    SysVarSet(kSysStat, 0);
    WinDestroy(window);
    WinPostQuit();
}

bool ListWindowProc(WinHandle window, const WinEvent& e) {
    Desktop* d = DesktopGet();
    switch (e.type) {
        case WinEventType::kCommand:
            if (e.id == kIdListBox && e.notify == kNotifyDoubleClick && d != nullptr) {
                Choose(static_cast<std::int16_t>(d->ListCurrent(d->ControlById(window, kIdListBox)) + 1));
                return true;
            }
            if (e.id >= kIdSelectBase && e.id < kIdSelectBase + g_buttons && e.notify == kNotifyClicked) {
                Choose(static_cast<std::int16_t>(e.id - kIdSelectBase + 1));
                return true;
            }
            return false;
        case WinEventType::kCloseRequest: Cancel(window); return true;
        case WinEventType::kKeyDown:
            if (e.key != PlatformKey::kEscape) return false;
            Cancel(window);
            return true;
        case WinEventType::kDestroy: WinClosed(window); return true;
        default: return false;
    }
}

// The list box's keys come to the list: Enter chooses the caret item, Escape chooses nothing.
bool ListBoxProc(WinHandle list, const WinEvent& e) {
    Desktop* d = DesktopGet();
    if (e.type != WinEventType::kKeyDown || d == nullptr) return false;
    if (e.key == PlatformKey::kEnter) {
        Choose(static_cast<std::int16_t>(d->ListCurrent(list) + 1));
        return true;
    }
    if (e.key == PlatformKey::kEscape) {
        Cancel(d->ControlWindow(list));
        return true;
    }
    return false;
}

// Up and Down move the highlight through the buttons, wrapping at both ends.
bool ButtonProc(WinHandle button, const WinEvent& e) {
    Desktop* d = DesktopGet();
    if (e.type != WinEventType::kKeyDown || d == nullptr || g_buttons == 0) return false;
    if (e.key == PlatformKey::kEscape) {
        Cancel(d->ControlWindow(button));
        return true;
    }
    if (e.key != PlatformKey::kUp && e.key != PlatformKey::kDown) return false;
    const int i = d->ControlId(button) - kIdSelectBase;
    const int next = (i + (e.key == PlatformKey::kDown ? 1 : g_buttons - 1)) % g_buttons;
    d->WindowFocus(d->ControlById(d->ControlWindow(button), static_cast<std::uint16_t>(kIdSelectBase + next)));
    return true;
}


}  // namespace

std::uint16_t SelectList(StrDesc caption, StrDesc items, std::uint16_t flags) {
    Desktop* d = DesktopGet();
    if (caption.IsError() || caption.len == 0 || items.IsError() || items.len == 0 || d == nullptr) return kNone;
    DynScope scope;

    std::vector<std::u16string> texts;
    std::uint16_t longest = 0;
    ItemCursor cursor(items, ',');
    for (StrDesc item; cursor.Next(&item);) {
        StrDesc shown = Unquote(Trim(item, kTrimBoth));
        texts.push_back(UiText(shown));
        longest = std::max(longest, shown.len);
    }
    if (texts.empty()) return kNone;

    const CellGrid& grid = GridGet();
    const bool list_box = (flags & kSelectListBox) != 0;
    const int chars = std::max<int>({longest + kExtraChars, caption.len, kMinWidthChars});
    const int rows = std::min<int>(static_cast<int>(texts.size()), grid.rows);
    const int item_height = std::max(1, CellHeightPx() - 3);
    int width = CellsWide(chars);
    int height = rows * item_height + kListFrame;
    int columns = 1;
    const int button_chars = longest + 4;
    if (!list_box) {
        columns = std::max(1, std::min<int>(static_cast<int>(texts.size()), grid.columns / std::max(1, button_chars)));
        const int button_rows = (static_cast<int>(texts.size()) + columns - 1) / columns;
        width = CellsWide(button_chars) * columns;
        height = CellsHigh(button_rows);
    }
    width = std::max(width, CaptionWidthPx(d, caption.len));

    WinRect rect = WinDialogRect(WinTop(), width, height);
    if ((flags & kSelectNextToFocus) && d->FocusedControl() != kNoWindow && WinTop() != kNoWindow) {
        const WinRect focus = d->WindowRect(d->FocusedControl());
        const WinRect top = d->WindowRect(WinTop());
        rect.x = top.x + focus.x + focus.width;
        rect.y = top.y + focus.y;
        if (SysVar(kSysWMaxRow) > 0) height = std::min(height, SysVar(kSysWMaxRow) * item_height + kListFrame);
        rect.height = height;
    }

    const WinHandle window = WinCreate(caption, caption, kWinStyleModal, rect, ListWindowProc);
    if (window == kNoWindow) return kNone;
    const FontRequest font = UiControlFont();
    g_buttons = 0;
    if (list_box) {
        ControlRequest r;
        r.parent = window;
        r.kind = ControlKind::kListBox;
        r.id = kIdListBox;
        r.rect = WinRect{0, 0, width, height};
        r.style = kStyleBorder;
        r.proc = ListBoxProc;
        const WinHandle list = d->ControlCreate(r);
        d->ControlSetFont(list, font);
        d->ListSetItems(list, texts, item_height);
        d->WindowFocus(list);
    } else {
        for (std::size_t i = 0; i < texts.size(); ++i) {
            ControlRequest r;
            r.parent = window;
            r.kind = ControlKind::kButton;
            r.id = static_cast<std::uint16_t>(kIdSelectBase + i);
            r.text = texts[i];
            const int col = static_cast<int>(i) % columns, row = static_cast<int>(i) / columns;
            r.rect = WinRect{CellsWide(button_chars) * col, CellsHigh(row), CellsWide(button_chars), CellsHigh(1)};
            r.proc = ButtonProc;
            const WinHandle b = d->ControlCreate(r);
            d->ControlSetFont(b, font);
            if (i == 0) d->WindowFocus(b);
        }
        g_buttons = static_cast<std::uint16_t>(texts.size());
    }

    SysVarSet(kSysStat, 0);
    WinRunModal(window);
    if (WinOnStack(window)) WinDestroy(window);
    g_buttons = 0;
    GridReset();
    return static_cast<std::uint16_t>(SysVar(kSysStat));
}

}  // namespace rt
