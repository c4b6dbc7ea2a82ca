// The file dialogs and the table of the runtime's file kinds.
#include "runtime/ui/file_select.h"

#include <string>
#include <vector>

#include "platform/desktop.h"
#include "platform/process.h"
#include "runtime/env/catalog.h"
#include "runtime/env/paths.h"
#include "runtime/text/dyn_strings.h"
#include "runtime/text/slot_table.h"
#include "runtime/text/str_bridge.h"
#include "runtime/text/text_build.h"
#include "runtime/text/text_lists.h"
#include "runtime/ui/ui_text.h"

namespace rt {

namespace {

constexpr char kExtensions[] = "PPN,PAN,STP,DAT,DAT,PDC,PRX,KVA,PMT,PDF,TXT,PDI,HLP,CFG";

struct KindRow {
    const char* caption;     // catalog code, null for none
    std::uint16_t ext;       // extension number
    const char* initial;     // initial name after the prefix
};

// Kinds 0 to 10; every other kind reads as kind 0.
constexpr KindRow kKinds[] = {
    {nullptr, 0, "*"},
    {"0061", 5, "DICC.DAT"},
    {"0062", 2, "*.PAN"},
    {"0063", 6, "*.PDC"},
    {"0064", 7, "*.PRX"},
    {"0065", 8, "*.KVA"},
    {"0066", 1, "MENU.PPN"},
    {"0067", 10, "*.PDF"},
    {"0068", 11, "*.TXT"},
    {nullptr, 0, "*"},
    {"0061", 5, "*.DAT"},
};

const KindRow& KindOf(std::uint16_t flags) {
    const std::uint16_t kind = flags & kFileKindMask;
    return kKinds[kind < std::size(kKinds) ? kind : 0];
}

// The file-name prefix: the application code's two letters with flag 0x40; without it, or without a
// code, "??" for kinds 1 and 6 and nothing for the others.
StrDesc Prefix(std::uint16_t flags) {
    StrDesc code = Item(SlotGet(kRunGroup, kSlotIdentity), ':', 1);
    if ((flags & kFileAppPrefix) && code.len >= 2) return StrCopy(StrDesc{code.ptr, 2});
    const std::uint16_t kind = flags & kFileKindMask;
    return (kind == 1 || kind == 6) ? S("??") : StrEmpty();
}

// Plain comma items (the dialog's pairs hold no quoted texts).
std::vector<std::u16string> Pairs(StrDesc filters) {
    std::vector<std::u16string> out;
    if (filters.IsError() || filters.len == 0) return out;
    std::uint16_t start = 0;
    for (std::uint16_t i = 0; i <= filters.len; ++i) {
        if (i == filters.len || filters.ptr[i] == ',') {
            out.push_back(UiText(StrDesc{filters.ptr + start, static_cast<std::uint16_t>(i - start)}));
            start = static_cast<std::uint16_t>(i + 1);
        }
    }
    return out;
}

}  // namespace

StrDesc FileExtByNumber(std::uint16_t number) { return number == 0 ? StrEmpty() : Item(S(kExtensions), ',', number); }

StrDesc FileWithExt(StrDesc name, std::uint16_t number) {
    DynScope scope;
    StrDesc ext = FileExtByNumber(number);
    if (ext.len == 0) return scope.Keep(StrCopy(name));
    return scope.Keep(StrAssemble({name, S("."), ext}));
}

StrDesc FileDialog(bool save, StrDesc default_ext, StrDesc initial, std::uint16_t, StrDesc filters, StrDesc title) {
    Desktop* desktop = DesktopGet();
    if (desktop == nullptr) return StrEmpty();
    DynScope scope;
    FileDialogRequest request;
    request.save = save;
    request.title = UiText(title);
    request.initial = UiText(initial);
    request.default_suffix = UiText(default_ext);
    request.filters = Pairs(filters);
    std::u16string path;
    if (!desktop->RunFileDialog(request, &path) || path.empty() || path.size() > kPathMax) return StrEmpty();
    return scope.Keep(UiBytes(path));
}

StrDesc FileKindFilters(std::uint16_t flags) {
    DynScope scope;
    const KindRow& row = KindOf(flags);
    StrDesc all = FormatText(400, MsgText("0060"), "*.*", "*.*");
    if (row.caption == nullptr) return scope.Keep(all);
    const std::string pattern = "*." + StrToStd(FileExtByNumber(row.ext));
    StrDesc own = FormatText(400, MsgText(row.caption), pattern.c_str(), pattern.c_str());
    return scope.Keep(StrJoin(own, S(","), all));
}

StrDesc FileKindInitial(std::uint16_t flags) {
    DynScope scope;
    return scope.Keep(StrConcat(Prefix(flags), StrFromC(KindOf(flags).initial)));
}

StrDesc FileSelectKind(bool save, std::uint16_t flags) {
    DynScope scope;
    const std::string folder = PlatformCurrentFolder();
    const KindRow& row = KindOf(flags);
    StrDesc ext = save && row.caption != nullptr ? FileExtByNumber(row.ext) : StrEmpty();
    StrDesc path = FileDialog(save, ext, FileKindInitial(flags), 0, FileKindFilters(flags), StrEmpty());
    if (flags & kFileRestoreFolder) PlatformSetCurrentFolder(folder);
    return scope.Keep(path);
}

}  // namespace rt
