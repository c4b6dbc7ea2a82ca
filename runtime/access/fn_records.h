// The data-file built-ins of the expression language that need record access: FILEFIND, FILEREL,
// FILESEL with an open list (and RESTORE), and FN#FLEN of a data file. Installed into the function
// table from start-up; FILELOCATE, which runs maintenance actions, comes from the layer above.
#pragma once
#include <cstdint>
#include "runtime/text/str_desc.h"

namespace rt {

struct FnArgs;

// FILEFIND(t [; file [; key [; flags]]]): a keyed find of t (key 0: the file's active key); with
// flag 8, t is a condition and the first record that meets it is read; with flag 4 and a key, a
// find that finds nothing looks again at or after t. The status as a number.
ErrCode FnFileFind(FnArgs& a);
// FILEREL(file; target; relation [; flags] text...): RelationalRead; the status as a number.
ErrCode FnFileRel(FnArgs& a);
// FILESEL(list) and FILESEL('RESTORE'): the open list applied and kept (string-slot group 33), or the
// previous one applied again (141 when none was kept).
ErrCode FnFileSelectList(FnArgs& a);
// FN#FLEN of a data file: its number of rows.
ErrCode FnFileRows(std::uint8_t file);

}  // namespace rt
