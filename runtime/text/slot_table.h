// StrSlots: the run's long-lived texts in one 65,535-byte area, addressed by (group, item).
// Groups 0..36 are addressed by item (stacks grow at the end); groups 37 and 38 are queues.
#pragma once
#include <cstdint>
#include "runtime/text/slot_map.h"
#include "runtime/text/str_desc.h"

namespace rt {

constexpr std::uint16_t kSlotGroups = 39;
constexpr std::uint16_t kSlotCapacity = 2048;
constexpr std::uint32_t kSlotAreaSize = 65535;
constexpr std::uint32_t kSlotByteCapacity = kSlotAreaSize - 2 * (kSlotGroups + kSlotCapacity);  // 61,361

// Calls MemInit, then sets the table up (145 when its area cannot be had).
ErrCode SlotInit();
// The slot's bytes in place (empty for an item the group lacks); valid until the next slot change.
StrDesc SlotGet(std::uint16_t group, std::uint16_t item);
// Stores a copy of text; grows the group with empty items as needed. 159 when out of range or full.
ErrCode SlotSet(std::uint16_t group, std::uint16_t item, StrDesc text);
ErrCode SlotDelete(std::uint16_t group, std::uint16_t item);
ErrCode SlotClear(std::uint16_t group);
ErrCode SlotPush(std::uint16_t group, StrDesc text);
StrDesc SlotPeek(std::uint16_t group);  // stack top, or queue head for groups 37 and 38
ErrCode SlotPop(std::uint16_t group);
// Items of the group; SlotCount(39) is the total of groups 30 to 38.
std::uint16_t SlotCount(std::uint16_t group);
ErrCode SlotTruncate(std::uint16_t group, std::uint16_t n);
// Group 0 only: keeps an existing non-empty text unless force.
ErrCode SlotSetIfEmpty(std::uint16_t item, StrDesc text, bool force);

// Totals, for tests and statistics.
std::uint16_t SlotsInUse();
std::uint32_t SlotBytesInUse();
bool SlotReady();
// A number that changes whenever an item of the group is set, deleted or truncated, and when the
// table is set up or forgotten: a cache kept beside a group knows from it whether to look again.
std::uint32_t SlotGroupStamp(std::uint16_t group);
// Called by MemShutdown after it released the table's area.
void SlotForget();

}  // namespace rt
