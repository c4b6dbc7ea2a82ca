// The write phase of a maintenance action and the relational-update statements that accompany a
// write. The statements of a file (string-slot group 7, from its relation mark on) run twice around a
// write: on the old record with _SGN = -1 and on the new one with _SGN = 1, so that a statement adding
// the record's amount times _SGN to a total undoes the old and applies the new.
#pragma once
#include <cstdint>
#include "runtime/text/str_desc.h"

namespace rt {

// Bits of an action code's write part (the high byte).
enum ActionWriteBits : std::uint16_t {
    kActAdd = 0x0100,       // an insert, or the adding half of an update
    kActRemove = 0x0200,    // a delete, or the removing half of an update
    kActSelect = 0x0400,    // with add and remove, selects the write operation
    kActKeyCheck = 0x0800,  // check the key before writing
    kActNoRelations = 0x1000,
    kActOperation = 0x0700,  // the bits that select the operation:
    kActInsert = 0x0500,
    kActDelete = 0x0600,
    kActUpdate = 0x0700,
};

// Bits of _UPSTAT read here.
enum UpStatBits : std::uint16_t {
    kUpRelational = 1,      // relational-update statements run
    kUpRelRunning = 32,     // a relational statement is running with an SQL connection open
    kUpNoInsertCheck = 64,  // an insert may meet an existing key
};
// Bits of _SCRSTAT read here.
enum ScrStatBits : std::uint16_t { kScrReadOn = 64 };

// The write phase of action code on file: the key check (0x0800), the insert, update or delete the
// code selects, and the relational statements chosen by selector. 5 when an insert-only code meets
// an existing key 1; a failing key check writes nothing and gives 0.
ErrCode FileWritePhase(std::uint16_t code, std::uint8_t file, StrDesc selector, StrDesc keyRange);
// 1 when the write must be skipped: key 1 of the current record is blank, or the key range gives
// the same text whatever the record holds.
ErrCode KeyCheck(std::uint8_t file, StrDesc keyRange);
// The selector of relational statements for an option text and a count n (on DynStrings).
StrDesc RelOption(StrDesc text, std::uint16_t n);
// The file's statements chosen by the selector ("0," first), joined with ';'; empty without any.
StrDesc RelStatements(std::uint8_t file, StrDesc selector);
// Runs statements for one half (kActAdd or kActRemove) of a write, when _UPSTAT bit 1 allows.
ErrCode RelRun(std::uint16_t half, std::uint8_t file, StrDesc statements);
// Loads the file's statements from <app>RELUPSQL.DAT (with an SQL connection) or <app>RELUP.DAT in
// the application folder, unless it has some or name is NONE.
ErrCode RelLoad(std::uint8_t file, StrDesc name);
// Forgets the statements from mark on.
ErrCode RelUnload(std::uint8_t file, std::uint16_t mark);

}  // namespace rt
