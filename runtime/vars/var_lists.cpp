// Name lists of the variable store (slot group 12) with the index that finds a name in them, and
// the store's growable value tables.
#include <cstring>
#include <functional>
#include <string>
#include <string_view>
#include <unordered_map>

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

namespace {

// The index of one kind's name list: name to slot, so that finding a variable costs the same among
// ten names or ten thousand. The store's own appends keep it in step; any other change of the lists
// (a truncation, a list written as a slot) changes the group's stamp, and the index is then checked
// against the list text it was built from and built again when they differ.
// Hashes and compares names as views, so that a lookup builds no string.
struct NameHash {
    using is_transparent = void;
    std::size_t operator()(std::string_view name) const { return std::hash<std::string_view>{}(name); }
};

struct NameIndex {
    std::unordered_map<std::string, std::uint16_t, NameHash, std::equal_to<>> slots;
    std::string list;            // the list text the index was built from
    std::uint32_t stamp = 0;     // the group's stamp when the index was last known to match
    bool built = false;
};
NameIndex g_index[kVarArray + 1];

std::string_view View(StrDesc d) { return d.IsError() ? std::string_view() : std::string_view(d.ptr, d.len); }

void Rebuild(NameIndex& ix, StrDesc list) {
    ix.slots.clear();
    ix.list.assign(View(list));
    std::uint16_t index = 0;
    std::size_t start = 0;
    for (std::size_t i = 0; i <= ix.list.size(); ++i) {
        if (i < ix.list.size() && ix.list[i] != ',') continue;
        // The first of two equal names is the one found; an empty name (a placeholder) never is.
        if (i > start) ix.slots.emplace(ix.list.substr(start, i - start), index);
        ++index;
        start = i + 1;
    }
    ix.built = true;
}

NameIndex& Synced(VarKind kind) {
    NameIndex& ix = g_index[kind];
    const std::uint32_t stamp = SlotGroupStamp(kVarNamesGroup);
    if (ix.built && ix.stamp == stamp) return ix;
    StrDesc list = VarNames(kind);
    if (!ix.built || View(list) != ix.list) Rebuild(ix, list);
    ix.stamp = stamp;
    return ix;
}

}  // namespace

std::uint16_t VarListFind(VarKind kind, StrDesc name) {
    if (kind > kVarArray || name.IsError() || name.len == 0) return kNone;
    NameIndex& ix = Synced(kind);
    auto found = ix.slots.find(View(name));
    return found == ix.slots.end() ? kNone : found->second;
}

void VarListForget() {
    for (NameIndex& ix : g_index) ix = NameIndex{};
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
    NameIndex& ix = Synced(kind);
    StrDesc list = VarNames(kind);
    std::uint16_t slot = VarListCount(list);
    if (slot >= kNone - 1 || (list.len == 0 && name.len == 0)) return kNone;
    const bool first = list.len == 0;
    StrDesc joined = first ? name : StrConcat(StrConcat(list, S(",")), name);
    if (joined.IsError()) return kNone;
    if (SlotSet(kVarNamesGroup, kind, joined) != 0) return kNone;
    // The index follows the append; it matched the list just before it.
    if (!first) ix.list += ',';
    ix.list.append(View(name));
    if (name.len != 0) ix.slots.emplace(std::string(View(name)), slot);
    ix.stamp = SlotGroupStamp(kVarNamesGroup);
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
