// Structure dictionaries: the pair of text files <prefix>DICC.DAT (files, fields, keys) and
// <prefix>REL.DAT (relation texts) that register data files at start-up.
//
// Each line starts with a two-digit code c; its type is (c - 1) / 30 and its step r is (c - 1) % 30.
//   type 0 with '*': a file line "cc*folder*kkname" (a folder holding '$' includes the dictionary of
//                    prefix "name" instead);
//   type 0 without:  a field line, width in columns 10-12, type letter in column 14, name from 15;
//   type 1:          a key line, groups of a four-digit start and a three-digit length after '<';
//   type 2:          a relation line, the text after the first ':'.
// Key and relation lines address file base + r + 1, base being the file count - 1 after an include.
#pragma once
#include <cstdint>
#include "runtime/text/str_desc.h"

namespace rt {

// Dictionary file kinds, the items of "DICC.DAT,REL.DAT,RELUP.DAT,RELUPSQL.DAT,MENU.PPN".
enum DictItem : std::uint16_t {
    kDictStructure = 1, kDictRelations = 2, kDictRelUpdates = 3, kDictRelUpdatesSql = 4, kDictMenu = 5,
};
// The first two characters of prefix followed by the item's file name, on DynStrings.
StrDesc DictFileName(StrDesc prefix, std::uint16_t item);

// Loads the structure and relation dictionaries of prefix from folder; files without a folder of
// their own get defaultFolder. A missing structure dictionary gives 164: the failed open notes it
// (area Streams, unless an error was noted before) and appends the path to the error detail, and
// "<name>[<folder>]" is appended after it; a missing relation dictionary is not an error. The first failing line ends the load; what it registered stays.
ErrCode DictLoad(StrDesc folder, StrDesc prefix, StrDesc defaultFolder);

// The dictionary load of start-up: DictLoad(folder, appCode, no default folder). On success every
// registered file whose name can name a variable gets its file-number variable (its name in lower
// case holding its number). When a load into an empty table fails, the files it registered are dropped,
// so that the start-up's second attempt (after the second folder mode) starts from an empty table.
ErrCode DictLoadForStart(StrDesc folder, StrDesc appCode);

}  // namespace rt
