// Positioned writes through SQL cursors: when key 1's value is shared by several rows, the row to
// update or delete is found by fetching the rows of that value until one equals the file's reference
// record, and written WHERE CURRENT OF the cursor. Cursors curs_0 to curs_29 live for one write; the
// outermost one opens the transaction that nested ones share.
#pragma once
#include <cstdint>
#include "runtime/text/str_desc.h"

namespace rt {

constexpr std::uint16_t kCursorCount = 30;
constexpr std::uint16_t kNoCursor = 0xFFFF;

// The write made once the row is found: the cursor's name is the text to write WHERE CURRENT OF.
enum class CursorWriteKind : std::uint8_t { kUpdate, kDelete };

// The whole procedure: open a cursor over the rows of value in key, fetch the first, locate the row
// equal to the reference record, write it, close. 0xFFFF without a free cursor, 2 when no row equals
// the reference record (nothing written), else the code of the first failing step.
ErrCode CursorWrite(std::uint8_t file, std::uint16_t key, StrDesc value, CursorWriteKind kind);

ErrCode CursorOpen(std::uint8_t file, StrDesc value, std::uint16_t key, std::uint16_t* cursor);
ErrCode CursorFetch(std::uint16_t cursor, std::uint8_t mode);
ErrCode CursorLocate(std::uint16_t cursor);
ErrCode CursorClose(std::uint16_t cursor);
// "curs_<n>", on DynStrings.
StrDesc CursorName(std::uint16_t cursor);
// Releases the cursor table (the end of the run).
void CursorShutdown();

}  // namespace rt
