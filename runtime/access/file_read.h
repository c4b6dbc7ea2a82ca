// Record access: reading a data file's record in the order of its active key (next, previous,
// first, last, by key value), finding a record by a key value, and starting a new blank record.
// Every read sets the file's access status and leaves the record buffer holding one row in both
// records, or blank:
//   0 a record was read (its key starts with the sought value)
//   1 another key was found, or a previous read found nothing before the current key
//   2 no record: end of file, or nothing at or after the sought value
//   3 a new blank record
// or an ErrCode of 122 and up. A read that lands on a key value several rows share hands over to
// the multi-read, which steps through those rows one by one.
#pragma once
#include <cstdint>
#include "runtime/text/str_desc.h"

namespace rt {

// Flags of FileFind.
enum FindFlags : std::uint8_t {
    kFindNewWhenMissing = 0x01,  // nothing found: a new blank record carrying the sought key
    kFindAtOrAfter = 0x02,       // the first key at or after the value
};
// Flags of FileSeek: where the row goes (0x02 also searches at or after).
enum SeekFlags : std::uint8_t { kSeekCurrent = 0x01, kSeekReference = 0x02 };

// Reads in read mode (ReadMode of runtime/sql/sql_read.h), bounded by the high key value and the SQL
// condition extra for next and previous. A previous read at the end of the file reads the last record.
ErrCode FileRead(std::uint8_t file, std::uint8_t mode, StrDesc high = StrEmpty(), StrDesc extra = StrEmpty());
// Makes key active and finds value (equal, or at or after): 0 when the record's key starts with
// value, 1 when it does not, 2 when nothing was found (the record buffer then keeps its content,
// unless kFindNewWhenMissing asks for a new record).
ErrCode FileFind(std::uint8_t file, std::uint16_t key, StrDesc value, std::uint8_t flags);
// The find without its checks: the row goes into the current or reference record (SeekFlags), or
// nowhere with flags 0 (a test for existence).
ErrCode FileSeek(std::uint8_t file, std::uint16_t key, StrDesc value, std::uint8_t flags);
// Stores a key value into the key's fields of the current record, from the left, as far as it reaches.
ErrCode KeySet(std::uint8_t file, std::uint16_t key, StrDesc value);

// Installs record access into the layers below: the data files' reads (FileOpen's first read and
// FileClose), and the SQL layer's re-read after a delete.
void AccessInstall();

}  // namespace rt
