// The variable store: set-up and take-down, lookup by name, reads and assignments of the three
// kinds, and the screen-field hook asked first for names that begin with '_'.
#include "runtime/vars/variables.h"

#include <cstdio>
#include <cstring>

#include "runtime/env/errors.h"
#include "runtime/text/err_codes.h"
#include "runtime/vars/var_internal.h"
#include "runtime/vars/var_system.h"
#include "runtime/text/dyn_strings.h"
#include "runtime/text/mem_areas.h"
#include "runtime/text/slot_table.h"
#include "runtime/text/text_clean.h"

namespace rt {
namespace {

bool g_ready = false;
VarTable g_ints;  // 16-bit values, integer variable k at index k
VarTable g_nums;  // 64-bit values, number variable k at index k

ErrCode NotAScreenField(StrDesc, std::uint16_t, StrDesc, StrDesc*) { return kErrData; }
VarScreenHook g_hook = NotAScreenField;

struct SpecialText {
    StrDesc name;
    StrDesc text;
};
const SpecialText kSpecialTexts[] = {
    {S(".lf$"), S("\r\n")},
    {S(".tab$"), S("\t")},
    {S(".pchr$"), S("\\")},
    {S(".null$"), S("")},
};

bool HasByte(StrDesc name, char c) { return name.len != 0 && std::memchr(name.ptr, c, name.len) != nullptr; }

// The part of an array element's name before its '('.
StrDesc NamePart(StrDesc name) {
    const void* p = name.len ? std::memchr(name.ptr, '(', name.len) : nullptr;
    if (p == nullptr) return name;
    return StrMake(name.ptr, static_cast<std::uint16_t>(static_cast<const char*>(p) - name.ptr));
}

ErrCode SetThroughHookAndStore(StrDesc name, StrDesc value) {
    if (ErrCode e = StrCheck(name)) return e;
    if (ErrCode e = StrCheck(value)) return e;
    VarKind kind = VarKindOf(name);
    if (kind == kVarNone || kind == kVarArray) return kErrSintaxError;
    if (name.len == 0) return kErrVarNameError;
    if (name.ptr[0] == '_') {
        DynScope scope;
        StrDesc given = kind == kVarText ? value : NumText(VarNumFromEntry(value));
        if (given.IsError()) return given.len;
        StrDesc ignored{};
        ErrCode h = g_hook(name, 5, given, &ignored);
        if (h != kErrData) return h;
    }
    return VarStoreAssign(kind, name, value);
}

}  // namespace

VarKind VarKindOf(StrDesc name) {
    if (name.IsError() || HasByte(name, '@')) return kVarNone;
    if (HasByte(name, '(')) return kVarArray;
    if (HasByte(name, '$')) return kVarText;
    if (HasByte(name, '#')) return kVarNumber;
    return kVarInteger;
}

ErrCode VarInit() {
    if (g_ready) return kErrUndefinedWarning;
    if (!SlotReady()) return kErrOutOfMemory;
    SlotTruncate(kVarNamesGroup, 0);
    SlotTruncate(kVarTextsGroup, 0);
    if (ErrCode e = SlotSet(kVarNamesGroup, kVarArray, StrEmpty())) return e;
    ErrCode e = VarTableEnsure(g_ints, kOwnerVarTables, 2u * 64);
    if (e == 0) e = VarTableEnsure(g_nums, kOwnerVarTables, 8u * 16);
    if (e == 0) e = VarArraysSetUp();
    if (e != 0) {
        VarShutdown();
        return e;
    }
    g_ready = true;
    return SysVarSeed();
}

void VarShutdown() {
    VarArraysRelease();
    VarTableRelease(g_ints, kOwnerVarTables);
    VarTableRelease(g_nums, kOwnerVarTables);
    VarListForget();
    g_hook = NotAScreenField;
    g_ready = false;
}

bool VarReady() { return g_ready; }

VarScreenHook VarScreenHookSet(VarScreenHook hook) {
    VarScreenHook old = g_hook;
    g_hook = hook ? hook : NotAScreenField;
    return old == NotAScreenField ? nullptr : old;
}

ErrCode VarScreenHookAsk(StrDesc name, std::uint16_t mode, StrDesc value, StrDesc* answer) {
    StrDesc ignored{};
    return g_hook(name, mode, value, answer ? answer : &ignored);
}

ErrCode VarGet(StrDesc name, VarKind* kindOut) {
    if (ErrCode e = StrCheck(name)) return e;
    VarKind kind = VarKindOf(name);
    if (kindOut) *kindOut = kind;
    if (kind == kVarNone || kind == kVarArray || name.len == 0) return kErrSintaxError;
    if (name.ptr[0] == '_') {
        std::uint16_t mark = DynMark();
        StrDesc answer{};
        ErrCode h = g_hook(name, 1, StrEmpty(), &answer);
        if (h != kErrData) {
            if (h == 0 && answer.IsError()) h = StrCheck(answer);
            if (h != 0) {
                DynRelease(mark);
                return h;
            }
            if (kind == kVarText) {
                StrDesc kept = DynKeep(mark, answer);
                return kept.IsError() ? kept.len : 0;
            }
            FixedNumber n = NumRead(answer);
            DynRelease(mark);
            return VarNumPush(n);
        }
        DynRelease(mark);
    }
    return VarStoreRead(kind, name);
}

ErrCode VarStoreRead(VarKind kind, StrDesc name) {
    VarRef ref = VarFind(name);
    switch (kind) {
        case kVarInteger:
            return VarNumPush(ref.slot == kNone ? 0 : VarIntSlotNumber(ref.slot));
        case kVarNumber:
            return VarNumPush(ref.slot == kNone ? 0 : VarNumSlot(ref.slot));
        case kVarText: {
            StrDesc special;
            if (VarSpecialText(name, &special)) return DynPush(special);
            return DynPush(ref.slot == kNone ? StrEmpty() : VarTextSlot(ref.slot));
        }
        default:
            return kErrSintaxError;
    }
}

ErrCode VarStoreAssign(VarKind kind, StrDesc name, StrDesc value) {
    if (kind > kVarText) return kErrSintaxError;
    // The name may lie in slot bytes that storing a text value moves: work on a copy.
    DynScope scope;
    name = StrCopy(name);
    if (name.IsError()) return name.len;
    std::uint16_t slot = VarListFind(kind, name);
    std::uint16_t before = VarListCount(VarNames(kind));
    std::uint16_t textsBefore = SlotCount(kVarTextsGroup);
    bool created = slot == kNone;
    if (created) slot = before;
    if (slot >= kNone - 1) return kErrVarNameError;
    ErrCode e = 0;
    switch (kind) {
        case kVarInteger:
            e = VarIntSlotSetNumber(slot, VarNumFromEntry(value));
            break;
        case kVarNumber:
            e = VarNumSlotSet(slot, VarNumFromEntry(value));
            break;
        default:
            e = VarTextSlotSet(slot, value);
            break;
    }
    if (e != 0 || !created) return e;
    if (VarListAppend(kind, name) == slot) return 0;
    // The name could not be placed: take the value back out so that the store stays unchanged.
    VarListTruncate(kind, before);
    if (kind == kVarInteger) VarIntSlotSet(slot, 0);
    else if (kind == kVarNumber) VarNumSlotSet(slot, 0);
    else SlotTruncate(kVarTextsGroup, textsBefore);
    return kErrVarNameError;
}

ErrCode VarSet(StrDesc name, StrDesc value) {
    ErrCode r = SetThroughHookAndStore(name, value);
    if (r >= kErrSerious) ErrNote(kNoteFirst, kAreaVarAssign, r, r);
    return r;
}

ErrCode VarSetNumber(StrDesc name, FixedNumber n) {
    DynScope scope;
    if (VarKindOf(name) == kVarText) return VarSet(name, NumText(n));
    if (ErrCode e = VarNumPush(n)) return e;
    return VarSet(name, DynTop());
}

ErrCode VarSetInteger(StrDesc name, std::int32_t n) {
    return VarSetNumber(name, NumFromInteger(n));
}

ErrCode VarSetText(StrDesc name, StrDesc text) {
    if (VarKindOf(name) == kVarText) return VarSet(name, text);
    if (ErrCode e = StrCheck(text)) return e;
    DynScope scope;
    if (ErrCode e = VarNumPush(NumRead(text))) return e;
    return VarSet(name, DynTop());
}

ErrCode VarGetNumber(StrDesc name, FixedNumber* out) {
    DynScope scope;
    VarKind kind = kVarNone;
    ErrCode e = VarGet(name, &kind);
    if (e != 0) return e;
    FixedNumber n = kind == kVarText ? NumRead(DynTop()) : VarNumFromEntry(DynTop());
    if (out) *out = n;
    return 0;
}

StrDesc VarGetText(StrDesc name) {
    std::uint16_t mark = DynMark();
    VarKind kind = kVarNone;
    ErrCode e = VarGet(name, &kind);
    if (e != 0) {
        DynRelease(mark);
        return StrError(e);
    }
    if (kind == kVarText) return DynTop();
    return DynKeep(mark, NumText(VarNumFromEntry(DynTop())));
}

VarRef VarFind(StrDesc name) {
    VarKind kind = VarKindOf(name);
    if (kind == kVarNone || !g_ready) return VarRef{kind, kNone};
    StrDesc key = kind == kVarArray ? NamePart(name) : name;
    return VarRef{kind, VarListFind(kind, key)};
}

std::uint16_t VarCount(VarKind kind) {
    if (!g_ready) return 0;
    if (kind <= kVarArray) return VarListCount(VarNames(kind));
    std::uint32_t total = 0;
    for (std::uint16_t k = kVarInteger; k <= kVarArray; ++k) total += VarListCount(VarNames(VarKind(k)));
    return total > 0xFFFF ? 0xFFFF : static_cast<std::uint16_t>(total);
}

std::int16_t VarIntSlot(std::uint16_t slot) {
    if (std::uint32_t(slot) * 2 + 2 > g_ints.size) return 0;
    std::int16_t v;
    std::memcpy(&v, static_cast<char*>(g_ints.block) + std::size_t(slot) * 2, 2);
    return v;
}

ErrCode VarIntSlotSet(std::uint16_t slot, std::int16_t value) {
    if (!g_ready) return kErrData;
    if (ErrCode e = VarTableEnsure(g_ints, kOwnerVarTables, std::uint32_t(slot) * 2 + 2)) return e;
    std::memcpy(static_cast<char*>(g_ints.block) + std::size_t(slot) * 2, &value, 2);
    return 0;
}

FixedNumber VarIntSlotNumber(std::uint16_t slot) { return NumFromInteger(VarIntSlot(slot)); }

ErrCode VarIntSlotSetNumber(std::uint16_t slot, FixedNumber n) {
    // Only the low 16 bits of the integer value are kept: 70000 becomes 4464.
    std::uint16_t low = static_cast<std::uint16_t>(static_cast<std::uint64_t>(NumInteger(n)) & 0xFFFF);
    return VarIntSlotSet(slot, static_cast<std::int16_t>(low));
}

FixedNumber VarNumSlot(std::uint16_t slot) {
    if (std::uint32_t(slot) * 8 + 8 > g_nums.size) return 0;
    FixedNumber v;
    std::memcpy(&v, static_cast<char*>(g_nums.block) + std::size_t(slot) * 8, 8);
    return v;
}

ErrCode VarNumSlotSet(std::uint16_t slot, FixedNumber n) {
    if (!g_ready) return kErrData;
    if (ErrCode e = VarTableEnsure(g_nums, kOwnerVarTables, std::uint32_t(slot) * 8 + 8)) return e;
    std::memcpy(static_cast<char*>(g_nums.block) + std::size_t(slot) * 8, &n, 8);
    return 0;
}

StrDesc VarTextSlot(std::uint16_t slot) { return SlotGet(kVarTextsGroup, slot); }

ErrCode VarTextSlotSet(std::uint16_t slot, StrDesc text) {
    if (!g_ready) return kErrData;
    return SlotSet(kVarTextsGroup, slot, text);
}

bool VarSpecialText(StrDesc name, StrDesc* text) {
    if (name.IsError() || name.len < 2 || name.ptr[0] != '.') return false;
    for (const SpecialText& s : kSpecialTexts) {
        if (StrEq(name, s.name)) {
            if (text) *text = s.text;
            return true;
        }
    }
    return false;
}

bool VarItemRedirect(std::uint16_t item, char* kind, std::uint16_t* number) {
    char buf[16];
    int n = std::snprintf(buf, sizeof buf, "_V%u$", unsigned(item));
    StrDesc name = StrMake(buf, static_cast<std::uint16_t>(n));
    if (VarFind(name).slot == kNone) return false;
    DynScope scope;
    StrDesc value = VarGetText(name);
    if (value.IsError() || value.len == 0) return false;
    std::uint32_t v = 0;
    for (std::uint16_t i = 1; i < value.len && value.ptr[i] >= '0' && value.ptr[i] <= '9'; ++i) {
        v = v * 10 + unsigned(value.ptr[i] - '0');
        if (v > 0xFFFF) v = 0xFFFF;
    }
    if (kind) *kind = value.ptr[0];
    if (number) *number = static_cast<std::uint16_t>(v);
    return true;
}

ErrCode VarSetFileNumber(StrDesc fileName, std::uint16_t fileNumber) {
    if (ErrCode e = StrCheck(fileName)) return e;
    DynScope scope;
    StrDesc lower = CaseFold(fileName, kCaseLower);
    if (lower.IsError()) return lower.len;
    return VarSetInteger(lower, fileNumber);
}

}  // namespace rt
