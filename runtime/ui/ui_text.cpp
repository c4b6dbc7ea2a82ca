// Crossing of runtime texts to the desktop and back.
#include "runtime/ui/ui_text.h"

#include "runtime/text/platform_text.h"

namespace rt {

std::u16string UiText(StrDesc text) {
    std::u16string out;
    if (text.IsError()) return out;
    out.reserve(text.len);
    for (std::uint16_t i = 0; i < text.len; ++i) out += Cp1252ToUnit(text.bytes()[i]);
    return out;
}

StrDesc UiBytes(const std::u16string& text) { return FromPlatform(text.data(), text.size()); }

}  // namespace rt
