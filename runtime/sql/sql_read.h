// Keyed reads: every navigation step is one SELECT ... ORDER BY <key> LIMIT 1 whose condition
// compares the key's fields with a key value, and the loading of a result row into the record buffer.
// Also counts, and the limited block reads of the transfers with their result-slot stack.
#pragma once
#include <cstdint>
#include "runtime/text/str_desc.h"

namespace rt {

// Read modes (the low byte of an action code).
enum ReadMode : std::uint8_t {
    kReadNew = 0x01,        // a new blank record (no SQL)
    kReadAtOrAfter = 0x02,  // a read by key value compares with >= instead of =
    kReadBackward = 0x04,
    kReadStep = 0x10,
    kReadEnd = 0x20,
    kReadByKey = 0x00,
    kReadNext = 0x10,
    kReadPrevious = 0x14,
    kReadLast = 0x20,
    kReadFirstRecord = 0x24,
    kReadPositioning = 0x34,  // the bits that select the positioning
};

// Flags of SqlRowToRecord.
enum RowLoad : std::uint8_t {
    kLoadCurrent = 1,    // into the current record
    kLoadReference = 2,  // into the reference record
    kLoadBoth = 3,
};

// The positioning statement of a read in the file's active key from key value (next, previous,
// first, last, by key value), bounded by high and the SQL condition extra. The error descriptor 0xFFFF
// when the file has no active key or the mode positions nowhere. On DynStrings.
StrDesc SqlStepSelect(std::uint8_t file, StrDesc value, std::uint8_t mode, StrDesc high, StrDesc extra);
// Runs it: 0 with the row held in the home slot, 2 when none (1 for a previous read), 0xFFFF when
// nothing could be built, or the statement's failure.
ErrCode SqlRead(std::uint8_t file, StrDesc value, std::uint8_t mode, StrDesc high, StrDesc extra);
// The first row equal to value in key (at or after it with flags 0x02); 2 without a statement when
// neither that flag nor a condition is given.
ErrCode SqlFindSelect(std::uint8_t file, std::uint16_t key, StrDesc value, std::uint8_t flags);
// The count statement of a key range (no range with key 0). On DynStrings.
StrDesc SqlCountSelect(std::uint8_t file, std::uint16_t key, StrDesc low, StrDesc high, StrDesc extra);
// Runs a count statement in a result slot of its own; a failure counts 0.
std::uint32_t SqlCount(StrDesc statement);
// More than one row has value in key (false during a multi-read and for an empty value).
bool SqlDuplicates(std::uint8_t file, std::uint16_t key, StrDesc value);
// Loads a row of the slot's result into the current and/or reference record (RowLoad); dates lose
// their '-'. A NULL column leaves a blank field. The first failing field ends the load.
ErrCode SqlRowToRecord(std::uint8_t file, std::uint8_t flags, std::uint16_t row, std::uint16_t slot);
// Reads up to limit rows of a key range into a fresh result slot pushed on the file's result-slot
// stack (168 when three are stacked, 163 for a key without fields). The key becomes active.
ErrCode SqlBlockSelect(std::uint8_t file, std::uint16_t key, StrDesc low, StrDesc high, std::uint16_t limit,
                       std::uint8_t mode, StrDesc extra);
// Pops the top of the file's result-slot stack, releasing its rows.
void SqlBlockDrop(std::uint8_t file);

// The file's table name as a statement writes it.
StrDesc SqlTableName(std::uint8_t file);

}  // namespace rt
