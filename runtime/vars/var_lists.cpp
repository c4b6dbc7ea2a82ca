// Name lists of the variable store (slot group 12) and its growable value tables.
#include <cstring>

#include "runtime/text/err_codes.h"
#include "runtime/vars/var_internal.h"
#include "runtime/text/dyn_strings.h"
#include "runtime/text/mem_areas.h"
#include "runtime/text/slot_table.h"

namespace rt {

ErrCode VarTableEnsure(VarTable& t, std::uint16_t owner, std::uint32_t bytes) {
    if (bytes <= t.size) return 0;
    std::uint32_t size = t.size ? t.size : 128;
    while (size < bytes) size = size > 0x7FFFFFFFu ? bytes : size * 2;
    void* grown = AreaGrow(owner, t.block, t.size, size);
    if (grown == nullptr) return kErrOutOfMemory;
    t.block = grown;
    t.size = size;
    return 0;
}

void VarTableRelease(VarTable& t, std::uint16_t owner) {
    if (t.block) AreaFree(owner, t.block);
    t = VarTable{};
}

std::uint16_t VarListFind(StrDesc list, StrDesc name) {
    if (list.IsError() || name.IsError() || name.len == 0) return kNone;
    std::uint16_t index = 0;
    std::uint32_t start = 0;
    for (std::uint32_t i = 0; i <= list.len; ++i) {
        if (i == list.len || list.ptr[i] == ',') {
            if (i - start == name.len && std::memcmp(list.ptr + start, name.ptr, name.len) == 0) return index;
            ++index;
            start = i + 1;
        }
    }
    return kNone;
}

std::uint16_t VarListCount(StrDesc list) {
    if (list.IsError() || list.len == 0) return 0;
    std::uint16_t n = 1;
    for (std::uint16_t i = 0; i < list.len; ++i)
        if (list.ptr[i] == ',') ++n;
    return n;
}

StrDesc VarNames(VarKind kind) { return SlotGet(kVarNamesGroup, kind); }

std::uint16_t VarListAppend(VarKind kind, StrDesc name) {
    if (kind > kVarArray || name.IsError()) return kNone;
    for (std::uint16_t i = 0; i < name.len; ++i)
        if (name.ptr[i] == ',') return kNone;  // a comma would split the name into two entries
    DynScope scope;
    StrDesc list = VarNames(kind);
    std::uint16_t slot = VarListCount(list);
    if (slot >= kNone - 1 || (list.len == 0 && name.len == 0)) return kNone;
    StrDesc joined = list.len == 0 ? name : StrConcat(StrConcat(list, S(",")), name);
    if (joined.IsError()) return kNone;
    if (SlotSet(kVarNamesGroup, kind, joined) != 0) return kNone;
    return slot;
}

void VarListTruncate(VarKind kind, std::uint16_t n) {
    StrDesc list = VarNames(kind);
    if (n == 0) {
        SlotSet(kVarNamesGroup, kind, StrEmpty());
        return;
    }
    std::uint16_t seen = 0;
    for (std::uint16_t i = 0; i < list.len; ++i) {
        if (list.ptr[i] == ',' && ++seen == n) {
            SlotSet(kVarNamesGroup, kind, StrMake(list.ptr, i));
            return;
        }
    }
}

}  // namespace rt
