// The values of screen fields: where a field's value comes from in each refresh mode, how a typed or
// computed text is stored and shown, the ALARM$ check, SET$ events, and the screen-field hook through
// which expressions read and assign fields by name.
#include <algorithm>
#include <cstring>

#include "platform/desktop.h"
#include "runtime/data/fields.h"
#include "runtime/data/file_table.h"
#include "runtime/data/keys.h"
#include "runtime/env/catalog.h"
#include "runtime/env/errors.h"
#include "runtime/expr/evaluator.h"
#include "runtime/text/dyn_strings.h"
#include "runtime/text/err_codes.h"
#include "runtime/text/text_build.h"
#include "runtime/text/text_clean.h"
#include "runtime/text/text_lists.h"
#include "runtime/text/text_search.h"
#include "runtime/ui/error_box.h"
#include "runtime/ui/screen_internal.h"
#include "runtime/ui/ui_text.h"
#include "runtime/vars/format_desc.h"
#include "runtime/vars/masks.h"
#include "runtime/vars/var_system.h"
#include "runtime/vars/variables.h"

namespace rt {

namespace {

ScreenWin* Win() { return ScreenCurrentWin(); }

StrDesc ValueAt(std::uint16_t index, bool reference) {
    ScreenCtrl* s = ScreenCurrent();
    ScreenWin* w = Win();
    ScreenField* f = ScreenFieldAt(index);
    if (s == nullptr || w == nullptr || f == nullptr || w->values == nullptr) return StrEmpty();
    const std::uint32_t at = (reference ? s->value_size : 0u) + f->value_offset;
    if (at + f->storage > w->values_size) return StrEmpty();
    return StrDesc{w->values + at, f->storage};
}

// A record field shown as a screen field shows it.
StrDesc RecordText(const ScreenField& f) {
    return FieldToShow(ScreenStoreType(f), FieldGet(f.file, f.field), f.width);
}

// The "0017" detail of a field whose value cannot be had.
StrDesc ValueFailure(std::uint16_t index, StrDesc expression, ErrCode code) {
    DynScope scope;
    StrDesc number = Format(8, "%u", static_cast<unsigned>(index));
    ErrSetText(code, FormatText(1024, MsgText("0017"), StrToC(number), StrToC(expression)));
    return StrError(code);
}

// The condition of an ALARM$ item, and the text after its first ';' outside quotes and parentheses.
void SplitAlarm(StrDesc item, StrDesc* condition, StrDesc* message) {
    int depth = 0;
    unsigned char quote = 0;
    for (std::uint16_t i = 0; i < item.len; ++i) {
        const unsigned char c = item.bytes()[i];
        if (quote != 0) {
            if (c == quote) quote = 0;
        } else if (c == '\'' || c == '"') {
            quote = c;
        } else if (c == '(') {
            ++depth;
        } else if (c == ')') {
            --depth;
        } else if (c == ';' && depth == 0) {
            *condition = StrDesc{item.ptr, i};
            *message = StrDesc{item.ptr + i + 1, static_cast<std::uint16_t>(item.len - i - 1)};
            return;
        }
    }
    *condition = item;
    *message = StrEmpty();
}

// Refreshes the fields named in a list with mode.
ErrCode RefreshNamed(std::uint16_t mode, StrDesc names) {
    ScreenCtrl* s = ScreenCurrent();
    if (s == nullptr) return 0;
    ItemCursor cursor(names, ',');
    for (StrDesc name; cursor.Next(&name);) {
        name = Trim(name, kTrimBoth);
        for (std::uint16_t i = 1; i <= s->count; ++i) {
            if (!StrEq(ScreenTextOf(s->fields[i - 1].name), name)) continue;
            std::uint16_t one = i;
            if (ErrCode e = ScreenRefresh(mode, &one, 1)) return e;
        }
    }
    return 0;
}

}  // namespace

bool ScreenIsCheckBox(const ScreenField& f) { return f.type == 'L' && (SysBits(kSysAuxStat) & kAuxCheckBoxes) != 0; }

char ScreenStoreType(const ScreenField& f) { return f.type == 'P' ? 'A' : f.type; }

bool ScreenLogical(StrDesc text) {
    StrDesc t = Trim(text, kTrimBoth);
    if (t.IsError() || t.len == 0) return false;
    const unsigned char c = t.bytes()[0];
    if (c >= '0' && c <= '9') return (StrToNum(t) & 1) != 0;
    if (IsYes(t)) return true;
    const FormatDescriptor f = FormatCurrent();
    const unsigned char upper = c >= 'a' && c <= 'z' ? static_cast<unsigned char>(c - 32) : c;
    return upper == static_cast<unsigned char>(f.letters[2]);
}

std::uint16_t ScreenFieldOfControl(WinHandle control) {
    ScreenCtrl* s = ScreenCurrent();
    if (s == nullptr || control == kNoWindow) return 0;
    for (std::uint16_t i = 1; i <= s->count; ++i)
        if (s->fields[i - 1].control == control) return i;
    return 0;
}

StrDesc ScreenCurrentValue(std::uint16_t index) { return ValueAt(index, false); }
StrDesc ScreenReferenceValue(std::uint16_t index) { return ValueAt(index, true); }

StrDesc ScreenFieldValue(std::uint16_t mode, std::uint16_t index) {
    ScreenField* f = ScreenFieldAt(index);
    if (f == nullptr) return StrError(kErrData);
    DynScope scope;
    if (mode == 0) return scope.Keep(StrCopy(ScreenCurrentValue(index)));
    if (mode & kRefreshReference) return scope.Keep(StrCopy(ScreenReferenceValue(index)));
    const std::uint8_t current = FileResolve(kCurrentFile);
    StrDesc v;
    StrDesc expression = StrEmpty();
    if ((mode & kRefreshFromFile) && (f->attrs & kAttrBound) && f->file == current) {
        v = RecordText(*f);
    } else if ((mode & kRefreshAssign) && (f->attrs & kAttrAssign)) {
        expression = ScreenTextOf(f->assign);
        v = ExpText(expression);
    } else if (!(mode & kRefreshRaw) && (f->attrs & kAttrBound) && f->file != current) {
        v = RecordText(*f);
    } else {
        v = StrCopy(ScreenCurrentValue(index));
    }
    if (v.IsError()) return scope.Keep(ValueFailure(index, expression, v.len));
    return scope.Keep(v);
}

StrDesc ScreenFieldText(std::uint16_t index) {
    ScreenField* f = ScreenFieldAt(index);
    if (f == nullptr) return StrEmpty();
    DynScope scope;
    StrDesc stored = ScreenCurrentValue(index);
    if (ScreenIsCheckBox(*f)) {
        if (!ScreenLogical(stored)) return scope.Keep(StrEmpty());
        return scope.Keep(StrCopy(Trim(FieldToShow('L', S("1"), 1), kTrimBoth)));
    }
    StrDesc shown = FieldToShow(ScreenStoreType(*f), stored, f->type == 'D' ? f->width : f->storage);
    if (shown.IsError()) return scope.Keep(shown);
    if (f->type != 'F') shown = Trim(shown, kTrimRight);
    return scope.Keep(StrCopy(shown));
}

ErrCode ScreenFieldStore(std::uint16_t mode, std::uint16_t index, StrDesc text) {
    ScreenField* f = ScreenFieldAt(index);
    ScreenWin* w = Win();
    if (text.IsError()) return text.len;
    if (f == nullptr || w == nullptr) return kErrData;
    DynScope scope;
    const char type = ScreenStoreType(*f);
    StrDesc stored;
    if ((mode & kRefreshRaw) && (f->attrs & kAttrRaw)) {
        stored = FieldFit('A', text, f->storage);
    } else if (ScreenIsCheckBox(*f)) {
        stored = FieldFit('L', ScreenLogical(text) ? S("1") : S("0"), f->storage);
    } else {
        stored = FieldToStore(type, text, f->storage);
    }
    if (stored.IsError()) return stored.len;
    if (stored.len != f->storage) stored = FieldFit('A', stored, f->storage);

    // What the control shows.
    if (f->edit_order != kEditHidden && f->control != kNoWindow) {
        if (Desktop* d = DesktopGet()) {
            if (ScreenIsCheckBox(*f)) {
                d->ControlSetChecked(f->control, ScreenLogical(stored));
            } else {
                StrDesc shown = FieldToShow(type, stored, f->type == 'D' ? f->width : f->storage);
                if (!shown.IsError()) {
                    if (f->type != 'F') shown = Trim(shown, kTrimRight);
                    d->ControlSetText(f->control, UiText(shown));
                }
            }
        }
    }

    StrDesc current = ScreenCurrentValue(index);
    if ((mode & kRefreshAlways) || !StrEq(current, stored)) {
        if (current.len == stored.len) std::memcpy(const_cast<char*>(current.ptr), stored.ptr, stored.len);
        if ((mode & kRefreshWriteBack) && (f->attrs & kAttrOwnFile)) {
            if (ErrCode e = FieldSet(f->file, f->field, stored)) return e;
        }
        if ((mode & (kRefreshPerform | kRefreshUpdate)) && (f->attrs & (kAttrPerform | kAttrUpdate))) {
            // Copies: the statement may change the screen's fields, the update list is in the block.
            const StrDesc perform = StrCopy(ScreenTextOf(f->perform));
            const StrDesc update = StrCopy(ScreenTextOf(f->update));
            if (perform.len != 0) {
                if (ErrCode e = ExpRun(perform)) return e;
            }
            if ((mode & kRefreshUpdate) && update.len != 0) {
                if (ErrCode e = RefreshNamed(static_cast<std::uint16_t>(mode & ~kRefreshUpdate), update)) return e;
            }
        }
    }
    return 0;
}

ErrCode ScreenFieldUpdate(std::uint16_t index, std::uint16_t mode) {
    ScreenField* f = ScreenFieldAt(index);
    if (f == nullptr || f->update.length == 0) return 0;
    DynScope scope;
    return RefreshNamed(mode, StrCopy(ScreenTextOf(f->update)));
}

ErrCode ScreenRefresh(std::uint16_t mode, const std::uint16_t* list, std::uint16_t count) {
    ScreenCtrl* s = ScreenCurrent();
    if (s == nullptr) return 0;
    const std::uint16_t n = list != nullptr ? count : s->count;
    for (std::uint16_t k = 0; k < n; ++k) {
        const std::uint16_t i = list != nullptr ? list[k] : static_cast<std::uint16_t>(k + 1);
        DynScope scope;
        StrDesc v = ScreenFieldValue(mode, i);
        if (v.IsError()) return v.len;
        if (ErrCode e = ScreenFieldStore(mode, i, v)) return e;
    }
    return 0;
}

ErrCode ScreenStoreControls() {
    ScreenCtrl* s = ScreenCurrent();
    Desktop* d = DesktopGet();
    if (s == nullptr || d == nullptr) return 0;
    for (std::uint16_t i = 1; i <= s->count; ++i) {
        const ScreenField& f = s->fields[i - 1];
        if (f.control == kNoWindow) continue;
        DynScope scope;
        StrDesc text = ScreenIsCheckBox(f) ? (d->ControlChecked(f.control) ? S("1") : S(""))
                                           : UiBytes(d->ControlText(f.control));
        if (ErrCode e = ScreenFieldStore(kRefreshFound, i, text)) return e;
    }
    return 0;
}

std::uint16_t ScreenKeyFields(std::uint16_t key, std::uint16_t* out, std::uint16_t max) {
    ScreenCtrl* s = ScreenCurrent();
    if (s == nullptr || s->file == 0) return 0;
    const KeyFieldList k = KeyFields(s->file, key);
    std::uint16_t n = 0;
    for (std::uint16_t seg = 0; seg < k.count; ++seg)
        for (std::uint16_t i = 1; i <= s->count && n < max; ++i)
            if (s->fields[i - 1].file == s->file && s->fields[i - 1].field == k.fields[seg]) out[n++] = i;
    return n;
}

ErrCode ScreenSnapshot() {
    ScreenCtrl* s = ScreenCurrent();
    ScreenWin* w = Win();
    if (s == nullptr || w == nullptr || w->values == nullptr) return 0;
    std::memcpy(w->values + s->value_size, w->values, s->value_size);
    return 0;
}

namespace {

// "SCRBACK=<text variable>", or empty when the statement has another form.
StrDesc ScrBackVariable(StrDesc statement) {
    StrDesc t = Trim(statement, kTrimBoth);
    if (t.len < 9 || !StrEq(CaseFold(StrDesc{t.ptr, 7}, kCaseUpper), S("SCRBACK"))) return StrEmpty();
    StrDesc rest = Trim(StrDesc{t.ptr + 7, static_cast<std::uint16_t>(t.len - 7)}, kTrimBoth);
    if (rest.len < 2 || rest.ptr[0] != '=') return StrEmpty();
    StrDesc name = Trim(StrDesc{rest.ptr + 1, static_cast<std::uint16_t>(rest.len - 1)}, kTrimBoth);
    return VarKindOf(name) == kVarText ? name : StrEmpty();
}

StrDesc EventStatement(std::uint16_t n) {
    ScreenCtrl* s = ScreenCurrent();
    if (s == nullptr) return StrEmpty();
    StrDesc set = ScreenTextOf(s->set);
    return ItemCount(set, ',') == 1 ? set : Item(set, ',', n);
}

}  // namespace

ErrCode ScreenEvent(std::uint16_t n) {
    DynScope scope;
    StrDesc statement = StrCopy(EventStatement(n));
    if (statement.len == 0) return 0;
    if (n == 1) {
        // The loading form copies the variable over the reference values.
        StrDesc var = ScrBackVariable(statement);
        if (var.len == 0) return 0;
        ScreenCtrl* s = ScreenCurrent();
        ScreenWin* w = Win();
        StrDesc saved = VarGetText(var);
        if (s != nullptr && w != nullptr && !saved.IsError() && saved.len <= s->value_size)
            std::memcpy(w->values + s->value_size, saved.ptr, saved.len);
        return 0;
    }
    return ExpRun(statement);
}

ErrCode ScreenEventSave() {
    DynScope scope;
    StrDesc var = StrCopy(ScrBackVariable(EventStatement(1)));
    ScreenCtrl* s = ScreenCurrent();
    ScreenWin* w = Win();
    if (var.len == 0 || s == nullptr || w == nullptr) return 0;
    return VarSetText(var, StrDesc{w->values, s->value_size});
}

ErrCode ScreenAlarmCheck(std::uint16_t index) {
    ScreenField* f = ScreenFieldAt(index);
    if (f == nullptr || f->alarm.length == 0) return 1;
    DynScope scope;
    StrDesc condition, message;
    SplitAlarm(StrCopy(ScreenTextOf(f->alarm)), &condition, &message);
    const ErrCode r = ExpCondition(condition);
    if (r == 1) return 1;
    if (r != 0) {
        ErrShow(r);
        return r;
    }
    if (message.len != 0) ErrSetText(kErrBadData, ExpText(message));
    return kErrBadData;
}

// ---- The screen-field hook ----

ErrCode ScreenFieldHook(StrDesc names, std::uint16_t mode, StrDesc value, StrDesc* answer) {
    ScreenCtrl* s = ScreenCurrent();
    if (s == nullptr || s->count == 0 || Win() == nullptr) return kErrData;
    bool found = false;
    ItemCursor cursor(names, ',');
    for (StrDesc name; cursor.Next(&name);) {
        name = Trim(name, kTrimBoth);
        for (std::uint16_t i = 1; i <= s->count; ++i) {
            const ScreenField& f = s->fields[i - 1];
            if (!StrEq(ScreenTextOf(f.name), name)) continue;
            if (mode == 5) {
                if (ErrCode e = ScreenFieldStore(kRefreshFound, i, value)) return e;
                found = true;
                continue;
            }
            if (mode != 1 && mode != 2) return kErrData;
            StrDesc v = mode == 2 ? ScreenReferenceValue(i) : ScreenCurrentValue(i);
            if (mode == 2 && f.type == 'L' && (v.len == 0 || v.ptr[0] == ' ')) v = S("0");
            // Text fields answer without their padding; numbers as their number text.
            *answer = StrCopy(IsNumericType(f.type) ? Trim(v, kTrimBoth) : Trim(v, kTrimRight));
            return 0;
        }
    }
    return found ? 0 : kErrData;
}

}  // namespace rt
