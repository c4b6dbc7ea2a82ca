// The imports' common run: the parameter texts (unique key, merge list, field specs) and the two
// passes over one source, first updating the records whose field 1 exists, then adding the rest.
#pragma once
#include <cstdint>
#include <string>
#include "runtime/text/str_desc.h"
#include "runtime/trans/trans_run.h"

namespace rt {

// The first pass rewrites only records whose unique key exists; the second adds the others.
constexpr TransMode kImportUpdatePass =
    kTransImport | kTransExternFile | kTransStream | kTransDelimited | kTransBatch | kTransOverwrite;  // 821
constexpr TransMode kImportAddPass = kImportUpdatePass & ~kTransOverwrite;                            // 309

// The merge list of file: one item per field in field order copying the field from the incoming
// record; with onlyMapped, only the fields the column map assigns (the others keep what they hold).
std::string ImportMergeList(std::uint8_t file, const std::string* columnMap);
// The parameter texts of the standard import (every field, in order) and of the external one.
std::string ImportStandardParms(std::uint8_t file);
std::string ImportExternalParms(std::uint8_t file, const std::string& header, const std::string& map);

// Both passes on source into the current file with parms as the top parameter block. Gives the
// failing pass's code, or 121 with the count message (the total of both passes and the file's name)
// as the error detail.
ErrCode ImportRunBatch(StrDesc source, const std::string& parms, const TransHooks& hooks);
// ImportRunBatch, its outcome shown to the user (the count as information, a failure as an error).
ErrCode ImportRun(StrDesc source, const std::string& parms);

}  // namespace rt
