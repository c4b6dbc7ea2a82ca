// Field-entry dialogs: building the dialog's screen, window, labels and "Ok" button from a form,
// the key handler while it runs, and collecting, remembering and writing out what was confirmed.
#include "runtime/ui/accept.h"

#include <algorithm>
#include <string>
#include <vector>

#include "platform/desktop.h"
#include "runtime/env/options.h"
#include "runtime/env/streams.h"
#include "runtime/expr/evaluator.h"
#include "runtime/text/dyn_strings.h"
#include "runtime/text/err_codes.h"
#include "runtime/text/slot_table.h"
#include "runtime/text/str_bridge.h"
#include "runtime/text/text_build.h"
#include "runtime/text/text_clean.h"
#include "runtime/text/text_lists.h"
#include "runtime/ui/accept_form.h"
#include "runtime/ui/cell_geometry.h"
#include "runtime/ui/error_box.h"
#include "runtime/ui/help_topic.h"
#include "runtime/ui/screen_internal.h"
#include "runtime/ui/ui_codes.h"
#include "runtime/ui/ui_font.h"
#include "runtime/ui/ui_text.h"
#include "runtime/ui/win_create.h"
#include "runtime/ui/win_keys.h"
#include "runtime/ui/win_stack.h"
#include "runtime/vars/fixed_number.h"
#include "runtime/vars/masks.h"
#include "runtime/vars/parm_blocks.h"
#include "runtime/vars/var_system.h"
#include "runtime/vars/variables.h"

namespace rt {

namespace {

// The dialog's cell origin while it is built and shown: column 0 lies one cell inside the window.
constexpr std::int16_t kDialogOriginColumn = 2;
constexpr std::int16_t kDialogOriginRow = 1;
// Line spacing of a dialog whose parameters set none: a gap between the input rows, so that one
// field's frame never touches the next one's.
constexpr std::uint16_t kDialogSpacing = 15;
// Room between a label's text and its input.
constexpr int kLabelGap = 4;
constexpr int kMinColumns = 25;
constexpr int kOkWidthChars = 12;
constexpr int kOkFromRight = 14;
constexpr std::uint16_t kTagLength = 8;
constexpr std::uint16_t kAcceptWindowStyle = kWinStyleModal;

AcceptHelpHook g_help = nullptr;

// The fields' placement of the dialog being built, for sizing its window.
struct Extent {
    int columns = 0;
    int rows = 0;
};
Extent g_extent;

StrDesc View(const std::string& s) { return StrViewStd(s); }

// Runs a statement parameter of the dialog's screen; a serious failure is reported.
bool RunStatement(std::uint16_t number) {
    DynScope scope;
    StrDesc statement = StrCopy(ScreenParm(number, 0));
    if (statement.len == 0) return true;
    const ErrCode r = ExpRun(statement);
    if (r >= kErrSerious) {
        ErrShow(r);
        return false;
    }
    return true;
}

// The values line of the dialog as it stands (for _OUTHND while it runs).
StrDesc ValuesLine() {
    DynScope scope;
    ScreenCtrl* s = ScreenCurrent();
    StrDesc line = StrEmpty();
    for (std::uint16_t i = 1; s != nullptr && i <= s->count; ++i) {
        StrDesc q = QuoteAuto(ScreenFieldText(i), '\'');
        if (q.IsError()) return scope.Keep(q);
        line = i == 1 ? q : StrJoin(line, S(","), q);
    }
    return scope.Keep(line);
}

std::uint16_t Confirm() {
    SysVarSet(kSysLastKey, kKeyEnter);
    ScreenStoreControls();
    ScreenEventSave();
    if (!RunStatement(kParmOnConfirm)) return 0;
    if (const std::int16_t out = SysVar(kSysOutHnd); out > 0) {
        DynScope scope;
        StrDesc line = ValuesLine();
        if (!line.IsError()) StreamWrite(static_cast<std::uint16_t>(out), kStreamHere, StrConcat(line, S("\r\n")));
    }
    return kResultClose | 16;
}

std::uint16_t Cancel(std::uint16_t code) {
    const std::uint16_t last = static_cast<std::uint16_t>(SysVar(kSysLastKey));
    const bool confirms = code == kActCloseRequest && KeyIsAccept(last);
    if (code == kActCloseRequest && !confirms) SysVarSet(kSysLastKey, kKeyEscape);
    if (!RunStatement(kParmOnCancel)) return 0;
    // Closed right after a confirming key: what was typed is kept for the answer.
    if (confirms) ScreenStoreControls();
    return kResultClose | 16;
}

std::uint16_t Help() {
    ScreenWin* w = ScreenCurrentWin();
    const std::uint16_t field = w != nullptr ? w->current : 0;
    if (g_help != nullptr) return g_help(field);
    DynScope scope;
    StrDesc page = StrCopy(ScreenParm(kParmHelp, 0));
    const ErrCode r = HelpTopic(StrJoin(page, S(","), Format(8, "%u", static_cast<unsigned>(field))));
    if (r >= kErrFirstFailure) ErrShow(r);
    return 0;
}

// The dialog's key handler.
std::uint16_t AcceptHandler(std::uint16_t code) {
    switch (code) {
        case kActHelp: return Help();
        case kActCancel:
        case kActCloseRequest: return Cancel(code);
        case kActConfirm: return Confirm();
        case kActAlarmFailed: return kErrBadData;
        default: break;
    }
    if ((code & 0xFF) == kActButton) {
        // Page keys refresh the current field's dependents; the other function keys do nothing.
        const std::uint16_t last = static_cast<std::uint16_t>(SysVar(kSysLastKey));
        ScreenWin* w = ScreenCurrentWin();
        ScreenField* f = w != nullptr ? ScreenFieldAt(w->current) : nullptr;
        if (KeyIsPage(last) && f != nullptr && f->update.length != 0) {
            SysBitsSet(kSysScrStat, static_cast<std::uint16_t>(SysBits(kSysScrStat) | kScrStatUpdating));
            const ErrCode r = ScreenFieldUpdate(w->current, kRefreshDependents);
            SysBitsSet(kSysScrStat, static_cast<std::uint16_t>(SysBits(kSysScrStat) & ~kScrStatUpdating));
            if (r >= kErrFirstFailure) return r;
        }
        return 0;
    }
    const std::uint16_t r = ScreenNavigate(code);
    if (r == kResultEndOfScreen) return Confirm();
    if (r == kActAlarmFailed) return kErrBadData;
    return r;
}

// The screen tag: the labels' last parts, each cut to 8 / fields characters, joined, cut at 8.
std::string Tag(const std::vector<AcceptItem>& items) {
    std::string tag;
    if (items.empty()) return tag;
    const std::size_t each = std::max<std::size_t>(1, kTagLength / items.size());
    for (const AcceptItem& item : items) {
        std::string last = item.label;
        const std::size_t blank = last.find_last_of(' ', last.size() > 1 ? last.size() - 2 : 0);
        if (blank != std::string::npos && blank + 1 < last.size()) last = last.substr(blank + 1);
        tag += last.substr(0, each);
    }
    return tag.substr(0, kTagLength);
}

bool IsBlank(StrDesc t) { return Trim(t, kTrimBoth).len == 0; }

}  // namespace

void AcceptHelpHookSet(AcceptHelpHook hook) { g_help = hook; }

ErrCode AcceptWinSelect(StrDesc form, std::uint16_t flags) {
    DynScope scope;
    std::string list, block;
    AcceptSplit(form, &list, &block);
    if (ErrCode e = SlotPush(kParmStackGroup, View(block))) return e;
    GridSetOrigin(kDialogOriginColumn, kDialogOriginRow);

    ErrCode result = 0;
    const std::vector<AcceptItem> items = AcceptParse(list);
    for (const AcceptItem& item : items)
        if (item.status != 0) result = item.status;

    // Placement: field i on row i, the inputs after the longest label, each label ending at its input.
    std::vector<ScreenField> fields(items.size());
    std::vector<int> label_cols(items.size());
    std::size_t longest = 1;
    for (const AcceptItem& item : items) longest = std::max(longest, item.label.size());
    Extent extent;
    int side_by_side = 0;
    for (std::size_t i = 0; i < items.size() && result == 0; ++i) {
        const AcceptItem& item = items[i];
        ScreenField& f = fields[i];
        f.type = item.type;
        f.width = item.width;
        f.storage = item.type == 'D' ? std::min<std::uint16_t>(item.width, 8) : item.width;
        f.limit = item.width;
        f.edit_order = static_cast<std::uint16_t>(i + 1);
        if (item.binding_kind == AcceptBinding::kField) {
            f.file = item.file;
            f.field = item.field;
        }
        if (flags & kAcceptNoLabels) {
            f.row = static_cast<std::uint16_t>(item.row > 0 ? item.row : 1);
            f.column = static_cast<std::uint16_t>(item.col > 0 ? item.col : side_by_side);
            side_by_side = f.column + item.width + 1;
        } else if (item.label_row >= 0) {
            f.row = static_cast<std::uint16_t>(item.label_row);
            f.column = static_cast<std::uint16_t>(item.label_col + static_cast<int>(item.label.size()));
            label_cols[i] = item.label_col;
        } else {
            f.row = static_cast<std::uint16_t>(item.row > 0 ? item.row : static_cast<int>(i + 1));
            f.column = static_cast<std::uint16_t>(item.col > 0 ? item.col : static_cast<int>(longest));
            label_cols[i] = f.column - static_cast<int>(item.label.size());
        }
        extent.rows = std::max<int>(extent.rows, f.row);
        extent.columns = std::max<int>(extent.columns, f.column + (ScreenIsCheckBox(f) ? 4 : item.width));
    }

    if (result == 0) {
        ScreenCtrl templ;
        templ.count = static_cast<std::uint16_t>(items.size());
        const std::string tag = Tag(items);
        result = ScreenCreate(templ, fields.data(), View(tag));
        if (result == 0) {
            result = ScreenWinCreate();
            if (result != 0) ScreenDestroy(kScreenCurrent);
        }
    }
    if (result == 0) {
        ScreenCtrl* s = ScreenCurrent();
        s->users += 1;
        GridSetScreenSize(ScreenParm(kParmScreenSize, 0));
        if (GridGet().spacing == 0) GridSetSpacing(kDialogSpacing);
        if (flags & kAcceptSizeToFields) {
            const CellGrid& grid = GridGet();
            g_extent.columns = std::min<int>(std::max(kMinColumns, extent.columns + 1), grid.columns);
            g_extent.rows = extent.rows;
        }
        Desktop* d = DesktopGet();
        const WinHandle window = ScreenCurrentWin()->window;
        if (!(flags & kAcceptNoLabels) && d != nullptr && window != kNoWindow) {
            const FontRequest font = UiControlFont();
            for (std::size_t i = 0; i < items.size(); ++i) {
                const ScreenField& f = s->fields[i];
                ControlRequest r;
                r.parent = window;
                r.kind = ControlKind::kLabel;
                r.id = static_cast<std::uint16_t>(kIdLabelBase + label_cols[i] + f.row * GridGet().columns);
                r.text = UiText(View(items[i].label));
                r.style = kStyleRightAlign;
                r.rect = WinRect{CellX(label_cols[i]), CellY(f.row),
                                 std::max(1, CellsWide(static_cast<int>(items[i].label.size())) - kLabelGap), CellHeightPx()};
                d->ControlSetFont(d->ControlCreate(r), font);
            }
        }
        // A dialog with another form than the last one forgets the values remembered for it.
        if (!StrEq(SlotGet(kRunTextsGroup, kSlotAcceptForm), form)) SlotSet(kRunTextsGroup, kSlotAcceptValues, StrEmpty());
        SlotSet(kRunTextsGroup, kSlotAcceptForm, form);
    }
    ParmPop();
    return result;
}

AcceptResult Accept(StrDesc caption, StrDesc form) {
    AcceptResult result;
    const std::uint16_t mark = DynMark();
    const WinHandle owner = WinTop();
    const std::int16_t saved_field = SysVar(kSysCurEdFld);
    result.values = StrEmpty();
    result.condition = StrEmpty();

    // Batch input: a line of _INHND is the answer.
    if (const std::int16_t in = SysVar(kSysInHnd); in > 0) {
        StrDesc line = StreamReadDyn(static_cast<std::uint16_t>(in), kStreamHere, kStreamLine);
        if (!line.IsError() && line.len != 0) {
            result.values = DynKeep(mark, line);
            return result;
        }
        DynRelease(mark);
    }

    Desktop* d = DesktopGet();
    const WinHandle window = WinCreateKind(kWinKindDialog, caption, kAcceptWindowStyle,
                                           WinRect{kWinDefault, kWinDefault, kWinDefault, kWinDefault}, nullptr);
    if (window == kNoWindow || d == nullptr) {
        result.status = kNone;
        return result;
    }
    ErrCode status = AcceptWinSelect(form, kAcceptSizeToFields);
    const bool screen_made = status == 0;
    if (status == 0) status = ScreenSetWin(2);
    if (status == 0) {
        // Initial values: the default, else what was confirmed last time with this form.
        std::string list, block;
        AcceptSplit(form, &list, &block);
        const std::vector<AcceptItem> items = AcceptParse(list);
        for (std::uint16_t i = 1; i <= items.size() && status == 0; ++i) {
            DynScope scope;
            const std::string& def = items[i - 1].default_expr;
            StrDesc value = def.empty() ? Unquote(Trim(Item(SlotGet(kRunTextsGroup, kSlotAcceptValues), ',', i), kTrimBoth))
                                        : ExpText(View(def));
            if (value.IsError()) status = value.len;
            else status = ScreenFieldStore(kRefreshFound, i, StrCopy(value));
        }
    }
    if (status == 0) {
        ScreenActionSet(AcceptHandler);
        // The window: the fields' extent, the "Ok" button below the last row, 14 columns in from
        // the right edge.
        const int ok_row = g_extent.rows + 2;
        const int width = CellX(g_extent.columns) + CellWidthPx();
        const int height = CellY(ok_row) + CellHeightPx() + CellHeightPx() / 2;
        d->WindowSetRect(window, WinDialogRect(owner, width, height));
        ControlRequest ok;
        ok.parent = window;
        ok.kind = ControlKind::kButton;
        ok.id = kIdOk;
        ok.text = u"Ok";
        ok.rect = WinRect{CellX(g_extent.columns - kOkFromRight), CellY(ok_row), CellsWide(kOkWidthChars), CellHeightPx()};
        if (d->ControlCreate(ok) == kNoWindow) status = kErrWindowsControl;
    }
    if (status != 0) {
        if (screen_made) ScreenDestroy(kScreenCurrent);
        if (WinOnStack(window)) WinDestroy(window);
        GridReset();
        DynRelease(mark);
        result.status = status;
        return result;
    }

    SysVarSet(kSysLastKey, kKeyNone);
    WinRunModal(window);
    if (WinOnStack(window)) WinDestroy(window);
    if (owner != kNoWindow && WinOnStack(owner)) {
        d->WindowEnable(owner, true);
        d->WindowFocus(owner);
    }

    // What was confirmed.
    result.key = static_cast<std::uint16_t>(SysVar(kSysLastKey));
    result.status = KeyIsAccept(result.key) ? 0 : kErrCancelled;
    StrDesc values = StrEmpty();
    StrDesc condition = StrEmpty();
    if (result.status == 0) {
        std::string list, block;
        AcceptSplit(form, &list, &block);
        const std::vector<AcceptItem> items = AcceptParse(list);
        for (std::uint16_t i = 1; i <= items.size() && result.status == 0; ++i) {
            const AcceptItem& item = items[i - 1];
            if (item.binding_kind == AcceptBinding::kNone) {
                result.status = kErrData;
                break;
            }
            StrDesc value = ScreenFieldText(i);
            if (!item.target.empty()) {
                if (item.text_kind) VarSetText(View(item.target), value);
                else VarSetNumber(View(item.target), NumRead(NumClean(value)));
            }
            if (item.text_kind) value = Trim(value, kTrimRight);
            StrDesc quoted = QuoteAuto(value, '\'');
            if (quoted.IsError()) {
                result.status = kErrData;
                break;
            }
            values = i == 1 ? quoted : StrJoin(values, S(","), quoted);
            if (item.binding_kind == AcceptBinding::kField && !IsBlank(value)) {
                StrDesc shown = item.text_kind ? quoted : Trim(value, kTrimLeft);
                StrDesc part = StrAssemble({View(item.binding), View(item.op), shown});
                condition = condition.len == 0 ? part : StrJoin(condition, S("&&"), part);
            }
        }
    }
    ScreenDestroy(kScreenCurrent);
    if (result.key == kKeyCtrlEnd) result.key = kKeyEnter;
    if (result.status == 0) {
        SlotSet(kRunTextsGroup, kSlotAcceptValues, values);
        SlotSet(kRunTextsGroup, kSlotAcceptCondition, condition);
        DynScope scope;
        StrDesc output = OptGet(kOptOutput);
        if (output.len != 0) FileAppendText(output, kStreamHere, StrConcat(values, S("\r\n")));
    } else {
        values = StrEmpty();
        condition = StrEmpty();
    }
    SysVarSet(kSysCurEdFld, saved_field);
    DynCompact(mark, {&values, &condition});
    result.values = values;
    result.condition = condition;
    return result;
}

}  // namespace rt
