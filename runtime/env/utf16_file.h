// Unicode text files: files written as UTF-16 little-endian (mark FF FE) are turned into runtime
// text files before they are read line by line.
#pragma once
#include <cstdint>
#include "runtime/text/str_desc.h"

namespace rt {

// True when the first two bytes of the open stream are FF FE; its position is left unchanged.
bool IsUtf16File(std::uint16_t handle);
// The same for a file by name.
bool IsUtf16File(StrDesc path);
// The name (on DynStrings) of a new file in the temporary folder holding the file's content after
// its two-byte mark, one Windows-1252 byte per character ('?' for a character the code page lacks).
// 164 when the source cannot be opened or the new file cannot be created; 131 when a write fails
// (the partial file is removed).
StrDesc Utf16FileToTemp(StrDesc path);

}  // namespace rt
