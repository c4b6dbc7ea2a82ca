// Runtime texts from std::string, with the length check every crossing needs.
#include "runtime/text/str_bridge.h"

#include "runtime/text/err_codes.h"

namespace rt {

StrDesc StrViewStd(const std::string& s) {
    if (s.size() > 0xFFFF) return StrError(kErrStringTooLong);
    return StrDesc{s.data(), static_cast<std::uint16_t>(s.size())};
}

StrDesc StrFromStd(const std::string& s) {
    StrDesc view = StrViewStd(s);
    return view.IsError() ? view : StrCopy(view);
}

}  // namespace rt
