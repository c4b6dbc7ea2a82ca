// The multi-read: when a read lands on a key value that several rows share, "next" by key would skip
// them all, so every row of that value is fetched at once and stepped through in the client. The
// state is the file's multi-read slot (the SqlControl slot holding the rows, 0xFFFF when none) and
// row (the row the record buffer holds).
#pragma once
#include <cstdint>
#include "runtime/text/str_desc.h"

namespace rt {

// Fetches every row whose active key equals value. The multi-read row becomes the first row, or the
// last one for a read toward the start (flags bit 0x04) or of the last record (0x20 alone). 141
// (detail "sqlMultiRead: key=<value>") when fewer than two rows came, a failure of 122 and up as it is.
ErrCode MultiReadStart(std::uint8_t file, StrDesc value, std::uint8_t flags);
// One step in read mode: starts a multi-read when none is active and the current record's key value
// is shared (its code), else moves one row (back with bit 0x04). Running out of rows, or a mode
// without the step bit, ends the multi-read. 0 when a row is set, 1 when the caller must read by SQL.
ErrCode MultiReadStep(std::uint8_t file, std::uint8_t mode);
// Releases the rows; no multi-read is active afterwards.
void MultiReadEnd(std::uint8_t file);
// After the current record was written: finds the written row among the rows of its key value (a new
// multi-read) by comparing each with the reference record. 0 when found, else the step's code.
ErrCode MultiReadLocate(std::uint8_t file);
// Loads the multi-read row into both records.
ErrCode MultiReadLoad(std::uint8_t file);
bool MultiReadActive(std::uint8_t file);

}  // namespace rt
