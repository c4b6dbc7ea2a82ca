// The bridge between runtime texts and std::string, for the modules that do their work on
// std::string (paths, streams, masks, dates, the format descriptor). One place, one length rule.
#pragma once
#include <string>
#include "runtime/text/str_desc.h"

namespace rt {

// A copy of the text; an error descriptor gives the empty string.
inline std::string StrToStd(StrDesc d) { return d.IsError() ? std::string() : std::string(d.ptr, d.len); }

// The string as a runtime text on DynStrings; the error descriptor 146 when it is longer than a
// runtime text can be (65,535 bytes).
StrDesc StrFromStd(const std::string& s);

// The string's bytes as a runtime text without a copy, valid while s lives and is unchanged; the
// error descriptor 146 when it is too long.
StrDesc StrViewStd(const std::string& s);

}  // namespace rt
