// Screens at work in their window: the input controls of the fields, moving the focus from field to
// field in edit order, the screen action codes, and the input flow from the controls.
#include <algorithm>
#include <vector>

#include "platform/desktop.h"
#include "runtime/env/fonts.h"
#include "runtime/text/dyn_strings.h"
#include "runtime/text/err_codes.h"
#include "runtime/text/slot_table.h"
#include "runtime/ui/cell_geometry.h"
#include "runtime/ui/error_box.h"
#include "runtime/ui/screen_internal.h"
#include "runtime/ui/ui_codes.h"
#include "runtime/ui/ui_font.h"
#include "runtime/ui/ui_text.h"
#include "runtime/ui/win_create.h"
#include "runtime/ui/win_keys.h"
#include "runtime/ui/win_procs.h"
#include "runtime/ui/win_stack.h"
#include "runtime/vars/masks.h"
#include "runtime/vars/run_log.h"
#include "runtime/vars/var_system.h"

namespace rt {

namespace {

constexpr int kMinEditWidth = 15;
// Room for an edit control's frame and margins around its characters.
constexpr int kEditFrame = 8;
constexpr int kCheckBoxChars = 4;

// The editable fields in edit order (ties by field number), inside the bounded range when given.
std::vector<std::uint16_t> EditOrder(const ScreenCtrl& s, bool in_range) {
    std::vector<std::uint16_t> order;
    for (std::uint16_t i = 1; i <= s.count; ++i) {
        const ScreenField& f = s.fields[i - 1];
        if (f.edit_order == 0 || f.edit_order == kEditHidden) continue;
        if (in_range && (i < s.range_first || i > s.range_last)) continue;
        order.push_back(i);
    }
    std::stable_sort(order.begin(), order.end(), [&](std::uint16_t a, std::uint16_t b) {
        return s.fields[a - 1].edit_order < s.fields[b - 1].edit_order;
    });
    return order;
}

bool InRange(const ScreenCtrl& s, std::uint16_t i) {
    return s.range_first != 0 && i >= s.range_first && i <= s.range_last;
}

void FocusField(std::uint16_t index) {
    ScreenField* f = ScreenFieldAt(index);
    Desktop* d = DesktopGet();
    if (f == nullptr || d == nullptr || f->control == kNoWindow) return;
    d->WindowFocus(f->control);
    d->ControlSelectAll(f->control);
}


// Stores what a field's control holds (an edit's text, a check box's state) with mode 118.
void StoreControl(std::uint16_t index) {
    ScreenField* f = ScreenFieldAt(index);
    Desktop* d = DesktopGet();
    if (f == nullptr || d == nullptr || f->control == kNoWindow) return;
    DynScope scope;
    StrDesc text = ScreenIsCheckBox(*f) ? (d->ControlChecked(f->control) ? S("1") : S(""))
                                        : UiBytes(d->ControlText(f->control));
    if (ErrCode e = ScreenFieldStore(kRefreshFound, index, text)) {
        if (e >= kErrFirstFailure) ErrShow(e);
    }
}

}  // namespace

std::uint16_t ScreenGoTo(std::uint16_t index, bool forward) {
    ScreenWin* w = ScreenCurrentWin();
    if (w == nullptr || ScreenFieldAt(index) == nullptr) return 0;
    if (forward && w->current != 0 && w->current != index && ScreenAlarmCheck(w->current) != 1) {
        FocusField(w->current);
        return kActAlarmFailed;
    }
    w->current = index;
    SysVarSet(kSysCurEdFld, static_cast<std::int16_t>(index));
    FocusField(index);
    return 0;
}

ErrCode ScreenSetWin(std::uint8_t mode) {
    ScreenCtrl* s = ScreenCurrent();
    ScreenWin* w = ScreenCurrentWin();
    Assert(s != nullptr && w != nullptr, "ScreenSetWin");
    s->win_mode = mode;
    if (mode & 1) {
        SlotClear(kSecondQueueGroup);
        return 0;
    }
    Desktop* d = DesktopGet();
    if (d == nullptr || w->window == kNoWindow) return kErrWindowsControl;
    const FontRequest font = UiControlFont();
    const bool own_input = (SysBits(kSysCompat) & kCompatPlainControls) == 0;
    for (std::uint16_t i = 1; i <= s->count; ++i) {
        ScreenField& f = s->fields[i - 1];
        if (f.edit_order == kEditHidden) continue;
        if (InRange(*s, i)) continue;  // the bounded range's fields are shown by their owner
        ControlRequest r;
        r.parent = w->window;
        r.id = static_cast<std::uint16_t>(kIdFieldBase + i - 1);
        r.rect.x = CellX(f.column);
        r.rect.y = CellY(f.row);
        r.rect.height = CellHeightPx();
        if (ScreenIsCheckBox(f)) {
            r.kind = ControlKind::kCheckBox;
            r.rect.width = CellsWide(kCheckBoxChars);
            if (own_input) r.proc = WinCheckProc;
        } else {
            r.kind = ControlKind::kEdit;
            r.rect.width = std::max(kMinEditWidth, CellsWide(f.width) + kEditFrame);
            r.limit = f.limit;
            r.style = kStyleBorder;
            if (f.edit_order == 0 || (s->begin_field != 0 && i == s->begin_field)) r.style |= kStyleReadOnly;
            if (f.type == 'P') r.style |= kStylePassword;
            if (f.type == 'N' || f.type == 'L' || (f.type >= '1' && f.type <= '9')) r.style |= kStyleRightAlign;
            if (own_input) r.proc = WinEditProc;
        }
        f.control = d->ControlCreate(r);
        if (f.control == kNoWindow) return kErrWindowsControl;
        d->ControlSetFont(f.control, font);
    }
    return 0;
}

std::uint16_t ScreenNavigate(std::uint16_t code) {
    ScreenCtrl* s = ScreenCurrent();
    ScreenWin* w = ScreenCurrentWin();
    if (s == nullptr || w == nullptr) return kErrData;
    switch (code) {
        case kActNextField:
        case kActNextFieldDown: {
            const std::vector<std::uint16_t> order = EditOrder(*s, InRange(*s, w->current));
            if (order.empty()) return kResultEndOfScreen;
            auto at = std::find(order.begin(), order.end(), w->current);
            if (w->current == 0 || at == order.end()) return ScreenGoTo(order.front(), false);
            if (at + 1 == order.end())
                return ScreenAlarmCheck(w->current) == 1 ? std::uint16_t{kResultEndOfScreen} : std::uint16_t{kActAlarmFailed};
            return ScreenGoTo(*(at + 1), true);
        }
        case kActPrevField:
        case kActPrevFieldUp: {
            const bool in_range = InRange(*s, w->current);
            const std::vector<std::uint16_t> order = EditOrder(*s, in_range);
            if (order.empty()) return 0;
            auto at = std::find(order.begin(), order.end(), w->current);
            if (at == order.end()) return ScreenGoTo(order.front(), false);
            if (at == order.begin()) {
                if (!in_range) return 0;
                SysBitsSet(kSysScrStat, static_cast<std::uint16_t>(SysBits(kSysScrStat) | kScrStatWrapped));
                return ScreenGoTo(order.back(), false);
            }
            return ScreenGoTo(*(at - 1), false);
        }
        case kActRestoreField: {
            if (w->current == 0) return 0;
            DynScope scope;
            StrDesc ref = ScreenFieldValue(kRefreshReference, w->current);
            if (ref.IsError()) return ref.len;
            return ScreenFieldStore(kRefreshFound, w->current, ref);
        }
        case kActEndOfRange: return kResultEndOfScreen;
        case kActFieldEntered: return 0;
        default: return kErrData;
    }
}

std::uint16_t ScreenAction(std::uint16_t code) {
    ScreenWin* w = ScreenCurrentWin();
    if (w == nullptr) return kErrScreenStructErr;
    if (w->handler == nullptr) return ScreenNavigate(code);
    const std::uint16_t r = w->handler(code);
    return r >= kErrFirstFailure ? r : static_cast<std::uint16_t>(r & ~kResultPassOn);
}

std::uint16_t ScreenInput(WinHandle window, WinHandle control, std::uint16_t code) {
    const std::int16_t index = WinScreenIndex(window);
    if (index != kNoScreenWin) ScreenWinSelect(static_cast<std::uint16_t>(index));
    ScreenCtrl* s = ScreenCurrent();
    ScreenWin* w = ScreenCurrentWin();
    if (s == nullptr || w == nullptr) return 0;
    const std::uint16_t field = ScreenFieldOfControl(control);
    const std::uint16_t last_key = static_cast<std::uint16_t>(SysVar(kSysLastKey));

    switch (code) {
        case kInputWindowDefault: {
            // The window's first focus: the first editable field.
            const std::vector<std::uint16_t> order = EditOrder(*s, false);
            if (!order.empty()) ScreenGoTo(order.front(), false);
            return 0;
        }
        case kInputCloseWindow: WinDestroy(window); return 0;
        case kInputFocusIn: {
            if (field == 0) {
                // The window is active again: its current field takes the focus back.
                if (w->current != 0) FocusField(w->current);
                return 0;
            }
            if (w->current != 0 && w->current != field && !KeyLeavesField(last_key) &&
                ScreenAlarmCheck(w->current) != 1) {
                // Left by mouse and refused: the focus goes back.
                FocusField(w->current);
                return kErrBadData;
            }
            const ScreenField& f = s->fields[field - 1];
            if (f.edit_order == 0 || f.edit_order == kEditHidden) return 0;
            w->current = field;
            SysVarSet(kSysCurEdFld, static_cast<std::int16_t>(field));
            if (Desktop* d = DesktopGet()) d->ControlSelectAll(control);
            ScreenAction(kActFieldEntered);
            return 0;
        }
        case kInputFocusOut:
            if (field != 0 && !KeyLeavesField(last_key)) StoreControl(field);
            return 0;
        default: {
            if (field != 0 && KeyLeavesField(last_key)) StoreControl(field);
            const std::uint16_t r = ScreenAction(code);
            if (r >= kErrFirstFailure) ErrShow(r);
            else if ((r & kResultClose) && WinOnStack(window)) WinDestroy(window);
            return r;
        }
    }
}

}  // namespace rt
