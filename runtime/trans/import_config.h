// config.txt: the column maps the external import remembers, as pairs of lines (a header line as
// read from a source file, then its map), each line ending in CR LF.
#pragma once
#include <string>
#include "runtime/text/str_desc.h"

namespace rt {

// The file of remembered maps, in the current folder.
inline constexpr StrDesc kImportConfigFile = S("config.txt");

// Looks the header up from the start, two lines at a time: true with *map the second line of the
// first pair whose first line equals the header byte for byte. A missing file holds no maps.
bool ImportConfigFind(StrDesc path, const std::string& header, std::string* map);
// Remembers map for header: nothing is written when it is stored already; a new header is appended;
// a header stored with another map gets the new one, the file being rewritten through a temporary
// file of its own name and a rename so that a failure leaves the old file whole. The read, change and
// rename hold the advisory lock of the file, so that two runs remembering maps at once both keep
// theirs. 0, or 131 when a write fails or the file cannot be locked.
ErrCode ImportConfigRemember(StrDesc path, const std::string& header, const std::string& map);

}  // namespace rt
