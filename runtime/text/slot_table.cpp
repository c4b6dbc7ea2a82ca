// The string-slot table: one area of group counts, slot lengths and slot bytes, with addressed
// groups, stacks and queues.
#include "runtime/text/slot_table.h"

#include <cstring>

#include "runtime/text/err_codes.h"
#include "runtime/text/error_note.h"
#include "runtime/text/dyn_strings.h"
#include "runtime/text/mem_areas.h"
#include "runtime/text/slot_map.h"

namespace rt {
namespace {

constexpr std::uint16_t kNoIndex = 0xFFFF;

// The area is laid out as group counts, then slot lengths, then slot bytes.
unsigned char* g_area = nullptr;
std::uint16_t* g_counts = nullptr;
std::uint16_t* g_lengths = nullptr;
char* g_bytes = nullptr;
std::uint16_t g_slotsInUse = 0;
// Each group's stamp takes the next value of the clock at every change of the group.
std::uint32_t g_clock = 0;
std::uint32_t g_stamps[kSlotGroups] = {};
void Stamp(std::uint16_t group) { g_stamps[group] = ++g_clock; }
void StampAll() {
    for (std::uint16_t g = 0; g < kSlotGroups; ++g) Stamp(g);
}
std::uint32_t g_bytesInUse = 0;

bool IsQueue(std::uint16_t group) { return group == kWorkQueueGroup || group == kSecondQueueGroup; }

// Global slot index of (group, item); none when out of range, noting 159 when asked to.
std::uint16_t GlobalIndex(std::uint16_t group, std::uint16_t item, bool note) {
    if (g_area != nullptr && group < kSlotGroups) {
        std::uint32_t k = item;
        for (std::uint16_t g = 0; g < group; ++g) k += g_counts[g];
        if (k < kSlotCapacity) return static_cast<std::uint16_t>(k);
    }
    if (note) ErrNote(kNoteFirst, kAreaDynStrings, kErrStrOutBound, kErrStrOutBound);
    return kNoIndex;
}

std::uint32_t ByteOffset(std::uint16_t k) {
    std::uint32_t off = 0;
    for (std::uint16_t i = 0; i < k; ++i) off += g_lengths[i];
    return off;
}

// The stored part of the table: bytes of all slots from global index k to the end.
std::uint32_t BytesFrom(std::uint32_t offset) { return g_bytesInUse - offset; }

ErrCode SetSlot(std::uint16_t group, std::uint16_t item, StrDesc text) {
    if (ErrCode e = StrCheck(text)) return e;
    if (g_area == nullptr || group >= kSlotGroups) return kErrStrOutBound;
    // The text may point into the slot bytes that are about to move: copy it first.
    StrDesc copy = StrCopy(text);
    if (copy.IsError()) return copy.len;
    int n = int(item) + 1 - int(g_counts[group]);
    std::uint16_t k = GlobalIndex(group, item, true);
    if (k == kNoIndex) return kErrStrOutBound;
    std::uint16_t oldLen = n > 0 ? 0 : g_lengths[k];
    int grow = n > 0 ? n : 0;
    if (g_slotsInUse + grow >= kSlotCapacity) return kErrStrOutBound;
    if (std::int64_t(g_bytesInUse) + copy.len - oldLen >= std::int64_t(kSlotByteCapacity)) return kErrStrOutBound;
    if (grow > 0) {
        std::uint16_t next = GlobalIndex(group + 1, 0, false);
        std::uint16_t total = g_slotsInUse;
        if (group + 1 < kSlotGroups && next != kNoIndex && next < total) {
            std::memmove(g_lengths + next + grow, g_lengths + next, (total - next) * sizeof(std::uint16_t));
        }
        std::uint16_t first = static_cast<std::uint16_t>(k + 1 - grow);
        std::memset(g_lengths + first, 0, grow * sizeof(std::uint16_t));
        g_slotsInUse = static_cast<std::uint16_t>(g_slotsInUse + grow);
        g_counts[group] = static_cast<std::uint16_t>(item + 1);
    }
    std::uint32_t off = ByteOffset(k);
    std::uint32_t tail = BytesFrom(off + oldLen);
    std::memmove(g_bytes + off + copy.len, g_bytes + off + oldLen, tail);
    if (copy.len) std::memcpy(g_bytes + off, copy.ptr, copy.len);
    g_lengths[k] = copy.len;
    g_bytesInUse = g_bytesInUse + copy.len - oldLen;
    Stamp(group);
    return 0;
}

}  // namespace

ErrCode SlotInit() {
    ErrCode e = MemInit();
    if (e != 0) return e;
    g_area = static_cast<unsigned char*>(AreaAllocPtr(kOwnerSlots, kSlotAreaSize));
    if (g_area == nullptr) return ErrNote(kNoteFirst, kAreaStringInit, kErrOutOfMemory, kErrOutOfMemory);
    g_counts = reinterpret_cast<std::uint16_t*>(g_area);
    g_lengths = g_counts + kSlotGroups;
    g_bytes = reinterpret_cast<char*>(g_lengths + kSlotCapacity);
    g_slotsInUse = 0;
    g_bytesInUse = 0;
    StampAll();
    return 0;
}

void SlotForget() {
    StampAll();
    g_area = nullptr;
    g_counts = g_lengths = nullptr;
    g_bytes = nullptr;
    g_slotsInUse = 0;
    g_bytesInUse = 0;
}

bool SlotReady() { return g_area != nullptr; }

std::uint32_t SlotGroupStamp(std::uint16_t group) { return group < kSlotGroups ? g_stamps[group] : 0; }

StrDesc SlotGet(std::uint16_t group, std::uint16_t item) {
    if (g_area == nullptr) return StrEmpty();
    if (group >= kSlotGroups || item >= g_counts[group]) return StrDesc{g_bytes, 0};
    std::uint16_t k = GlobalIndex(group, item, false);
    if (k == kNoIndex) return StrDesc{g_bytes, 0};
    return StrDesc{g_bytes + ByteOffset(k), g_lengths[k]};
}

ErrCode SlotSet(std::uint16_t group, std::uint16_t item, StrDesc text) {
    std::uint16_t m = DynMark();
    ErrCode e = SetSlot(group, item, text);
    if (e != 0 && !text.IsError()) ErrNote(kNoteFirst, kAreaStringAssign, kErrLoadStrError, e);
    DynRelease(m);
    return e;
}

ErrCode SlotDelete(std::uint16_t group, std::uint16_t item) {
    if (g_area == nullptr || group >= kSlotGroups || g_counts[group] == 0) return 0;
    if (item >= g_counts[group]) return 0;
    ErrCode e = SlotSet(group, item, StrEmpty());
    if (e != 0) return e;
    std::uint16_t k = GlobalIndex(group, item, false);
    std::memmove(g_lengths + k, g_lengths + k + 1, (g_slotsInUse - k - 1) * sizeof(std::uint16_t));
    g_lengths[g_slotsInUse - 1] = 0;
    --g_slotsInUse;
    --g_counts[group];
    Stamp(group);
    return 0;
}

ErrCode SlotClear(std::uint16_t group) {
    if (g_area == nullptr || group >= kSlotGroups) return 0;
    while (g_counts[group] > 0) {
        ErrCode e = SlotDelete(group, static_cast<std::uint16_t>(g_counts[group] - 1));
        if (e != 0) return e;
    }
    return 0;
}

ErrCode SlotPush(std::uint16_t group, StrDesc text) {
    if (g_area == nullptr || group >= kSlotGroups) return kErrStrOutBound;
    return SlotSet(group, g_counts[group], text);
}

namespace {
// The item that peek and pop work on: the stack top, or a queue's head.
int EndItem(std::uint16_t group) {
    if (g_area == nullptr || group >= kSlotGroups || g_counts[group] == 0) return -1;
    return IsQueue(group) ? 0 : g_counts[group] - 1;
}
}  // namespace

StrDesc SlotPeek(std::uint16_t group) {
    int item = EndItem(group);
    if (item < 0) return g_area ? StrDesc{g_bytes, 0} : StrEmpty();
    return SlotGet(group, static_cast<std::uint16_t>(item));
}

ErrCode SlotPop(std::uint16_t group) {
    int item = EndItem(group);
    if (item < 0) return 0;
    return SlotDelete(group, static_cast<std::uint16_t>(item));
}

std::uint16_t SlotCount(std::uint16_t group) {
    if (g_area == nullptr) return 0;
    if (group == kSlotGroups) {
        std::uint16_t total = 0;
        for (std::uint16_t g = kFirstStackGroup; g < kSlotGroups; ++g) total = static_cast<std::uint16_t>(total + g_counts[g]);
        return total;
    }
    if (group > kSlotGroups) return 0;
    return g_counts[group];
}

ErrCode SlotTruncate(std::uint16_t group, std::uint16_t n) {
    ErrCode e = 0;
    while (SlotCount(group) > n && group < kSlotGroups) {
        e = SlotPop(group);
        if (e != 0) break;
    }
    return e;
}

ErrCode SlotSetIfEmpty(std::uint16_t item, StrDesc text, bool force) {
    if (!force && SlotGet(kRunGroup, item).len != 0) return 0;
    return SlotSet(kRunGroup, item, text);
}

std::uint16_t SlotsInUse() { return g_slotsInUse; }
std::uint32_t SlotBytesInUse() { return g_bytesInUse; }

}  // namespace rt
