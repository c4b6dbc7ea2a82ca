// The arrays of screens and screen windows: building a screen from its parameter text, its window
// record, selecting and destroying them, and the seams the screens install.
#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "runtime/data/fields.h"
#include "runtime/data/file_table.h"
#include "runtime/data/record_buffer.h"
#include "runtime/text/dyn_strings.h"
#include "runtime/text/err_codes.h"
#include "runtime/text/mem_areas.h"
#include "runtime/text/slot_table.h"
#include "runtime/text/text_build.h"
#include "runtime/text/text_clean.h"
#include "runtime/text/text_lists.h"
#include "runtime/ui/cell_geometry.h"
#include "runtime/ui/screen_internal.h"
#include "runtime/ui/win_procs.h"
#include "runtime/ui/win_stack.h"
#include "runtime/vars/parm_blocks.h"
#include "runtime/vars/parm_syntax.h"
#include "runtime/vars/run_log.h"
#include "runtime/vars/var_system.h"
#include "runtime/vars/variables.h"

namespace rt {

namespace {

std::vector<ScreenCtrl> g_screens;
std::vector<ScreenWin> g_wins;
std::uint16_t g_screen = kScreenCurrent;  // current screen
std::uint16_t g_win = kScreenCurrent;     // current window

// The text types: their generated screen variables end in '$'.
bool IsTextKind(char type) { return type == 'A' || type == 'B' || type == 'C' || type == 'D' || type == 'F' || type == 'P'; }

// Position (1-based) of a field in a name list: by FD$ name, or an item that is the field's number.
std::uint16_t ListedAt(StrDesc list, StrDesc name, std::uint16_t index) {
    std::uint16_t at = 0;
    ItemCursor cursor(list, ',');
    for (StrDesc item; cursor.Next(&item);) {
        ++at;
        StrDesc t = Trim(item, kTrimBoth);
        if (t.len == 0) continue;
        if (name.len != 0 && StrEq(t, name)) return at;
        if (t.bytes()[0] >= '0' && t.bytes()[0] <= '9' && StrToNum(t) == index) return at;
    }
    return 0;
}

// The texts of the fields are gathered in one string and addressed by offset.
struct Strings {
    std::string bytes;
    ErrCode error = 0;
    ScreenText Add(StrDesc t) {
        if (t.IsError() || t.len == 0) return {};
        if (bytes.size() + t.len > 0xFFFF) {
            error = kErrStringTooLong;
            return {};
        }
        ScreenText r{static_cast<std::uint16_t>(bytes.size()), t.len};
        bytes.append(t.ptr, t.len);
        return r;
    }
};

StrDesc FieldName(StrDesc fd, std::uint16_t i) { return Trim(Item(fd, ',', i), kTrimBoth); }

void FreeWindow(ScreenWin& w) {
    if (w.values != nullptr) AreaFree(kOwnerScreens, w.values);
    w.values = nullptr;
}

void FreeScreen(ScreenCtrl& s) {
    if (s.block != nullptr) AreaFree(kOwnerScreens, s.block);
    s.block = nullptr;
}

ErrCode WindowAction(WinHandle window, std::uint16_t code) {
    const std::int16_t index = WinScreenIndex(window);
    if (index != kNoScreenWin) ScreenWinSelect(static_cast<std::uint16_t>(index));
    return ScreenAction(code);
}

}  // namespace

ScreenCtrl* ScreenByIndex(std::uint16_t index) { return index < g_screens.size() ? &g_screens[index] : nullptr; }
ScreenWin* ScreenWinByIndex(std::uint16_t index) { return index < g_wins.size() ? &g_wins[index] : nullptr; }
std::uint16_t ScreenCurrentWinIndex() { return g_win < g_wins.size() ? g_win : kScreenCurrent; }
ScreenCtrl* ScreenCurrent() { return ScreenByIndex(g_screen); }
ScreenWin* ScreenCurrentWin() { return ScreenWinByIndex(g_win); }
std::uint16_t ScreenCount() { return static_cast<std::uint16_t>(g_screens.size()); }
std::uint16_t ScreenWinCount() { return static_cast<std::uint16_t>(g_wins.size()); }

ScreenField* ScreenFieldAt(std::uint16_t index) {
    ScreenCtrl* s = ScreenCurrent();
    if (s == nullptr || index == 0 || index > s->count) return nullptr;
    return &s->fields[index - 1];
}

StrDesc ScreenTextOf(ScreenText text) {
    ScreenCtrl* s = ScreenCurrent();
    if (s == nullptr || s->strings == nullptr || text.length == 0) return StrEmpty();
    return StrDesc{s->strings + text.offset, text.length};
}

StrDesc ScreenParm(std::uint16_t number, std::uint16_t item) {
    ScreenCtrl* s = ScreenCurrent();
    return ParmFrom(s != nullptr ? s->text : StrEmpty(), number, item);
}

ErrCode ScreenCreate(const ScreenCtrl& templ, const ScreenField* given, StrDesc tag) {
    DynScope scope;
    StrDesc text = StrCopy(ParmTopBlock());
    if (text.IsError()) return text.len;
    const StrDesc fd_name = StrCopy(ParmName(kParmFd));

    // More fields than FD$ names: the missing names are generated, and the completed list is put in
    // front of the parameter text.
    StrDesc fd = ParmFrom(text, kParmFd, 0);
    const std::uint16_t named = ItemCount(fd, ',');
    const std::uint16_t n = templ.count != 0 ? templ.count : named;
    if (templ.count > named) {
        StrDesc list = StrCopy(fd);
        for (std::uint16_t i = named + 1; i <= n; ++i) {
            const char type = given != nullptr ? given[i - 1].type : 'A';
            StrDesc name = Format(24, IsTextKind(type) ? "_SCRF%u$" : "_SCRF%u#", static_cast<unsigned>(i));
            list = i == 1 ? name : StrJoin(list, S(","), name);
        }
        StrDesc assignment = Format(0xFFFF, "%s=\"%s\"", StrToC(fd_name), StrToC(list));
        text = text.len != 0 ? StrJoin(assignment, S(":"), text) : assignment;
        if (text.IsError()) return text.len;
        fd = list;
    }

    ScreenCtrl s = templ;
    s.count = n;
    s.users = templ.users;
    s.var_count = VarCount();
    const std::int16_t begin = StrToNum(ParmFrom(text, kParmBeginFld, 0));
    s.begin_field = begin > 1 ? static_cast<std::uint16_t>(begin - 1) : 0;
    const StrDesc filedef = ParmFrom(text, kParmFileDef, 0);
    const std::uint8_t own_file = FileByName(Trim(Item(filedef, ',', static_cast<std::uint16_t>(n + 1)), kTrimBoth));
    if (Trim(Item(filedef, ',', static_cast<std::uint16_t>(n + 1)), kTrimBoth).len != 0 && own_file > s.file)
        s.file = own_file;
    const std::int16_t keymap = StrToNum(ParmFrom(text, kParmKeyMap, 0));
    s.key_map = static_cast<std::uint16_t>(keymap);
    SysVarSet(kSysKeyMap, keymap);
    s.attr_count = static_cast<std::uint32_t>(std::max<std::int16_t>(0, StrToNum(ParmFrom(text, kParmMaxIdsAttr, 0))));
    const std::int16_t index = StrToNum(ParmFrom(text, kParmIndex, 0));
    s.active_key = index > 1 ? static_cast<std::uint16_t>(index) : 1;

    // The bounded range, by the positions in FD$ of the names BOUNDS$ gives.
    if (s.count != 0 && s.range_first == 0) {
        const StrDesc bounds = ParmFrom(text, kParmBounds, 0);
        s.range_first = ItemIndex(fd, Trim(Item(bounds, ',', 1), kTrimBoth), ',');
        s.range_last = ItemIndex(fd, Trim(Item(bounds, ',', 2), kTrimBoth), ',');
        if (s.range_first == 0 || s.range_last < s.range_first) s.range_first = s.range_last = 0;
    }

    const bool has_perform = [&] {
        bool found = false;
        ParmValueList(text, ParmName(kParmPerform), &found);
        return found;
    }();
    const StrDesc edit = ParmFrom(text, kParmEdit, 0);
    const StrDesc noedit = ParmFrom(text, kParmNoEdit, 0);
    const StrDesc hidden = ParmFrom(text, kParmHidden, 0);
    const CellGrid& grid = GridGet();

    Strings strings;
    std::vector<ScreenField> fields(n);
    std::uint16_t offset = 0;
    for (std::uint16_t i = 1; i <= n; ++i) {
        ScreenField f = given != nullptr ? given[i - 1] : ScreenField{};
        f.status = 0;
        f.control = kNoWindow;
        const StrDesc name = FieldName(fd, i);
        f.name = strings.Add(name);
        f.assign = strings.Add(ParmFrom(text, kParmAssign, i));
        f.alarm = strings.Add(ParmFrom(text, kParmAlarm, i));
        f.windows = strings.Add(ParmFrom(text, kParmWindows, i));
        StrDesc perform = ParmFrom(text, kParmPerform, i);
        StrDesc update = ParmFrom(text, kParmUpdFields, i);
        if (!has_perform && name.len != 0) {
            // The field's own parameter NAME$ stands in: a value starting with '_' is its update list,
            // any other its statement followed by the update list.
            bool found = false;
            StrDesc own = Unquote(Trim(ParmValueList(text, StrConcat(name, S("$")), &found), kTrimBoth));
            if (found && own.len != 0) {
                if (own.bytes()[0] == '_') {
                    perform = StrEmpty();
                    update = own;
                } else {
                    perform = Item(own, ',', 1);
                    update = ItemRest(own, ',');
                }
            }
        }
        f.perform = strings.Add(perform);
        f.update = strings.Add(update);
        if (const std::int16_t w = StrToNum(ParmFrom(text, kParmWidths, i)); w > 0) f.width = static_cast<std::uint16_t>(w);
        if (const std::int16_t t = StrToNum(ParmFrom(text, kParmTypes, i)); t > 0 && t < 256) f.type = static_cast<char>(t);
        if (f.type == 0) f.type = 'A';

        // A binding from FILEDEF$ takes the field's width and type from the data file.
        bool filedef_bound = false;
        StrDesc bind = Trim(Item(filedef, ',', i), kTrimBoth);
        if (bind.len != 0) {
            FieldDesc d = FieldRef(bind);
            if (d.status == 0 && d.field != 0) {
                f.file = d.file;
                f.field = d.field;
                filedef_bound = true;
                if (f.storage == 0) {
                    f.storage = d.width;
                    f.type = d.type;
                }
            }
        }
        if (f.width == 0) f.width = f.storage != 0 ? DisplayWidth(f.type, f.storage) : 10;
        if (f.storage == 0) f.storage = f.type == 'D' ? std::min<std::uint16_t>(f.width, 8) : f.width;
        if (f.limit == 0) f.limit = f.width;
        if (f.row == 0 && given == nullptr) f.row = i;

        // Edit order: hidden, not editable, the position in EDIT$, else the field's own number.
        const bool own = f.file != 0 && f.file == s.file;
        if (ListedAt(hidden, name, i) != 0) {
            f.edit_order = kEditHidden;
        } else if ((ListedAt(noedit, name, i) != 0 || (filedef_bound && !own)) && i != s.begin_field) {
            f.edit_order = 0;
        } else if (const std::uint16_t at = ListedAt(edit, name, i); at != 0) {
            f.edit_order = at;
        } else if (f.edit_order == 0 || given == nullptr) {
            f.edit_order = i;
        }

        f.attrs = 0;
        const StrDesc clear = Trim(Item(ParmFrom(text, kParmClear, 0), ',', i), kTrimBoth);
        if (!(clear.len != 0 && StrToNum(clear) != 0)) f.attrs |= kAttrRaw;
        if (f.file != 0) f.attrs |= kAttrBound;
        if (f.assign.length != 0) f.attrs |= kAttrAssign;
        if (own) f.attrs |= kAttrOwnFile;
        if (f.perform.length != 0) f.attrs |= kAttrPerform;
        if (f.update.length != 0) f.attrs |= kAttrUpdate;
        if (f.windows.length != 0) {
            StrDesc windows = ParmFrom(text, kParmWindows, i);
            if (Item(windows, ';', ItemCount(windows, ';')).len != 0) f.attrs |= kAttrWindows;
        }
        if (f.edit_order != 0) f.attrs |= kAttrEditable;
        if (f.alarm.length != 0) f.attrs |= kAttrAlarm;

        // The display width never runs past the end of its row.
        if (f.column < grid.columns && f.column + f.width > grid.columns)
            f.width = static_cast<std::uint16_t>(grid.columns - f.column);
        f.value_offset = offset;
        if (offset + f.storage > 0x7FFF) return kErrStringTooLong;
        offset = static_cast<std::uint16_t>(offset + f.storage);
        fields[i - 1] = f;
    }
    if (strings.error != 0) return strings.error;
    s.value_size = offset;
    s.set = strings.Add(ParmFrom(text, kParmSet, 0));
    s.ik1 = strings.Add(ParmFrom(text, kParmIk1, 1));
    s.relopt = strings.Add(ParmFrom(text, kParmRelOpt, 0));
    if (strings.error != 0) return strings.error;

    // One block: the fields, the tag, the parameter text, the field texts and the attribute area.
    const std::uint32_t field_bytes = static_cast<std::uint32_t>(n) * sizeof(ScreenField);
    const std::uint16_t tag_len = tag.IsError() ? 0 : tag.len;
    const std::uint32_t size = field_bytes + tag_len + text.len + strings.bytes.size() + 2 * s.attr_count + 1;
    auto* block = static_cast<unsigned char*>(AreaAllocPtr(kOwnerScreens, size));
    if (block == nullptr) return kErrOutOfMemory;
    if (n != 0) std::memcpy(block, fields.data(), field_bytes);
    unsigned char* at = block + field_bytes;
    if (tag_len != 0) std::memcpy(at, tag.ptr, tag_len);
    s.tag = StrDesc{reinterpret_cast<const char*>(at), tag_len};
    at += tag_len;
    if (text.len != 0) std::memcpy(at, text.ptr, text.len);
    s.text = StrDesc{reinterpret_cast<const char*>(at), text.len};
    at += text.len;
    if (!strings.bytes.empty()) std::memcpy(at, strings.bytes.data(), strings.bytes.size());
    s.strings = reinterpret_cast<const char*>(at);
    s.block = block;
    s.fields = reinterpret_cast<ScreenField*>(block);

    g_screens.push_back(s);
    g_screen = static_cast<std::uint16_t>(g_screens.size() - 1);
    return 0;
}

ErrCode ScreenWinCreate() {
    ScreenCtrl* s = ScreenCurrent();
    if (s == nullptr) return kErrScreenStructErr;
    ScreenWin w;
    w.screen = g_screen;
    w.file = s->file;
    w.values_size = 2u * s->value_size + (s->file != 0 ? 2u * RecordLength(s->file) : 0u);
    auto* values = static_cast<char*>(AreaAllocPtr(kOwnerScreens, std::max<std::uint32_t>(1, w.values_size)));
    if (values == nullptr) return kErrOutOfMemory;
    std::memset(values, ' ', std::max<std::uint32_t>(1, w.values_size));
    w.values = values;
    w.window = WinTop();
    w.active_key = s->active_key;
    g_wins.push_back(w);
    g_win = static_cast<std::uint16_t>(g_wins.size() - 1);
    return 0;
}

ErrCode ScreenDestroy(std::uint16_t win) {
    const std::uint16_t index = win == kScreenCurrent ? g_win : win;
    if (index >= g_wins.size()) return kErrScreenStructErr;
    const std::uint16_t screen = g_wins[index].screen;
    FreeWindow(g_wins[index]);
    g_wins.erase(g_wins.begin() + index);
    if (g_win != kScreenCurrent && (g_win >= g_wins.size() || g_win > index)) {
        g_win = g_wins.empty() ? kScreenCurrent : static_cast<std::uint16_t>(std::min<std::size_t>(g_win, g_wins.size()) - 1);
    }
    if (screen < g_screens.size()) {
        ScreenCtrl& s = g_screens[screen];
        if (s.users > 0) --s.users;
        if (s.users == 0) {
            FreeScreen(s);
            g_screens.erase(g_screens.begin() + screen);
            for (ScreenWin& w : g_wins)
                if (w.screen > screen) --w.screen;
        }
    }
    const ScreenWin* current = ScreenCurrentWin();
    g_screen = current != nullptr ? current->screen
                                  : (g_screens.empty() ? kScreenCurrent : static_cast<std::uint16_t>(g_screens.size() - 1));
    if (current != nullptr) SysVarSet(kSysKeyMap, static_cast<std::int16_t>(g_screens[g_screen].key_map));
    GridReset();
    return 0;
}

std::uint16_t ScreenWinSelect(std::uint16_t win) {
    if (win == kScreenCurrent || win >= g_wins.size() || win == g_win) return ScreenCurrentWinIndex();
    // The window left keeps its file's current record in its first record image.
    if (ScreenWin* old = ScreenCurrentWin()) {
        ScreenCtrl* s = ScreenByIndex(old->screen);
        if (s != nullptr && s->file != 0 && old->values != nullptr) {
            StrDesc record = RecImage(s->file, kRecCurrent);
            const std::uint32_t at = 2u * s->value_size;
            if (!record.IsError() && at + record.len <= old->values_size) std::memcpy(old->values + at, record.ptr, record.len);
        }
    }
    g_win = win;
    g_screen = g_wins[win].screen;
    SysVarSet(kSysKeyMap, static_cast<std::int16_t>(g_screens[g_screen].key_map));
    return g_win;
}

ErrCode ScreenOpenPlain(std::uint8_t file) {
    // An empty block stands for "no parameters", whatever the stack holds.
    if (ErrCode e = SlotPush(kParmStackGroup, StrEmpty())) return e;
    ErrCode e = ScreenCreate(ScreenCtrl{}, nullptr, StrEmpty());
    ParmPop();
    if (e != 0) return e;
    if (ErrCode w = ScreenWinCreate()) {
        FreeScreen(g_screens.back());
        g_screens.pop_back();
        g_screen = g_screens.empty() ? kScreenCurrent : static_cast<std::uint16_t>(g_screens.size() - 1);
        return w;
    }
    ScreenCurrent()->file = file;
    ScreenCurrent()->users += 1;
    ScreenCurrentWin()->file = file;
    return 0;
}

void ScreenActionSet(ScreenHandler handler) {
    ScreenWin* w = ScreenCurrentWin();
    Assert(w != nullptr, "ScreenActionSet");
    w->handler = handler;
}

void ScreenInstall() {
    VarScreenHookSet(ScreenFieldHook);
    WinScreenHooks hooks;
    hooks.action = WindowAction;
    hooks.input = ScreenInput;
    hooks.select = ScreenWinSelect;
    WinScreenHooksSet(&hooks);
}

void ScreenReset() {
    for (ScreenWin& w : g_wins) FreeWindow(w);
    for (ScreenCtrl& s : g_screens) FreeScreen(s);
    g_wins.clear();
    g_screens.clear();
    g_screen = g_win = kScreenCurrent;
}

}  // namespace rt
