// The source of an external import: opened read-only, a UTF-16 file converted first, its header line
// read (a ';'-separated one rewritten with ','), and the rest copied into the work file the transfer
// reads.
#pragma once
#include <cstdint>
#include <string>
#include "runtime/text/str_desc.h"

namespace rt {

struct ImportSource {
    std::uint16_t handle = 0xFFFF;  // the open stream, positioned after the header
    std::string header;             // the header line, ','-separated
    bool semicolon = false;         // the data lines are ';'-separated
    std::string converted;          // the temporary copy of a UTF-16 file, removed on close
};

// Opens path and reads its header. Files whose extension is CSV may be UTF-16 and ';'-separated;
// others are read as they are. 131 when the file cannot be opened or converted.
ErrCode ImportSourceOpen(StrDesc path, ImportSource* source);
void ImportSourceClose(ImportSource* source);

// Copies the rest of the source into a fresh file in the temporary folder, each line ending in CR
// LF and rewritten with ',' when the source is ';'-separated. *workPath is its path (runtime form).
ErrCode ImportWriteWorkFile(ImportSource* source, std::string* workPath);

}  // namespace rt
