// Writing a file's record buffer back to its table. The row to update or delete is the one whose key 1
// equals key 1 of the reference record (the record as read), so that a record whose key was edited
// still finds its row; a key-1 value several rows share goes through a cursor instead. A save never
// silently loses: an update whose row is gone, or one of whose changed fields another user changed
// since the record was read, answers 7 and writes nothing.
#pragma once
#include <cstdint>
#include "runtime/text/str_desc.h"

namespace rt {

// Flag of FileUpdate and FileDelete: read the file again after a successful write.
constexpr std::uint8_t kWriteReread = 0x02;

// Inserts the current record (fields 1 to the last one not named NUL, NULL, OTHER or AVOID):
// 0, 183 for an existing key, 162 otherwise.
ErrCode FileInsert(std::uint8_t file);
// Updates the changed fields of the record's row: 0 (also when nothing changed), 7 when the row is
// gone or a changed field no longer holds its reference value, 0xFFFF when the server refused it
// (its code in the first-error note and the detail).
ErrCode FileUpdate(std::uint8_t file, std::uint8_t flags);
// Deletes the record's row: the statement's code (a row already gone is 0). With kWriteReread the
// record at or after the deleted key is read.
ErrCode FileDelete(std::uint8_t file, std::uint8_t flags);
ErrCode FileDeleteAll(std::uint8_t file);
// Updates the rows of a key range and condition with a SET list (with exprList, the ';' list of
// field==value items of SqlWhereList). The number of rows updated, or 0xFFFF on failure.
ErrCode SqlUpdateWhere(std::uint8_t file, std::uint16_t key, StrDesc low, StrDesc high, StrDesc setList,
                       StrDesc condition, bool exprList);
// Commits an open transaction: result unless it is 0, else the commit's code.
ErrCode FileEndTransaction(std::uint8_t file, ErrCode result);
// START TRANSACTION (open) or COMMIT; closing without an open transaction sends nothing.
ErrCode SqlTransaction(bool open);

// The SET list of the file's changed fields ("\"F\" = literal" items joined with ','), on DynStrings.
StrDesc SqlSetList(std::uint8_t file);

// Record access lives above this layer; the re-read after a delete finds through it.
using SqlFileFind = ErrCode (*)(std::uint8_t file, std::uint16_t key, StrDesc value, std::uint8_t flags);
// Installs the find (null: none, the re-read then finds nothing) and gives the previous one.
SqlFileFind SqlFileFindSet(SqlFileFind find);

}  // namespace rt
