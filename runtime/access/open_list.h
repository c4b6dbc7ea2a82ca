// Data-file open lists (behind FILESEL): "file;mode" items that open exactly the files they name and
// close every other one. FILESEL keeps each applied list on a stack (string-slot group 33) so that
// RESTORE goes back to the one before.
#pragma once
#include <cstdint>
#include <string>
#include "runtime/text/str_desc.h"

namespace rt {

// Mode bit that makes a file read its first record when it is opened.
constexpr std::uint8_t kOpenListReadFirst = 8;

// The mode byte of every registered file for list: an item without a mode is 1 (0 for the last item),
// and the last item's mode gets kOpenListReadFirst. 166 (detail: the item's file) for an unknown file.
ErrCode FileOpenVector(StrDesc list, std::string* modes);
// Opens the files with a non-zero byte and closes the others, from the last file down to file 1;
// the first failure of 128 or more ends it.
ErrCode FileApplyVector(const std::string& modes);
// Both: the list applied.
ErrCode FileOpenList(StrDesc list);

}  // namespace rt
