// Finding NAME:value and NAME=value assignments in option lines and parameter blocks.
#include "runtime/text/named_values.h"

#include "runtime/text/dyn_strings.h"
#include "runtime/text/text_search.h"

namespace rt {
namespace {

bool IsSeparator(unsigned char c) { return c == ':' || c == ' ' || c == '&' || c == '/'; }

// Position just after "name<assign>" at an acceptable place, or none.
std::uint16_t FindAssignment(StrDesc text, StrDesc name, char assign) {
    DynScope scope;
    StrDesc pattern = StrConcat(name, StrDesc{&assign, 1});
    if (pattern.IsError()) return kNone;
    std::uint16_t from = 0;
    while (from < text.len) {
        std::uint16_t at = FindTextFrom(text, from, pattern, kQuoteAware);
        if (at == kNone) return kNone;
        if (at == 0 || IsSeparator(text.bytes()[at - 1])) return static_cast<std::uint16_t>(at + pattern.len);
        from = static_cast<std::uint16_t>(at + 1);
    }
    return kNone;
}

}  // namespace

StrDesc NamedValueRaw(StrDesc text, StrDesc name, bool* found) {
    if (found) *found = false;
    if (text.IsError()) return text;
    if (name.IsError()) return name;
    if (name.len == 0 || text.len == 0) return StrDesc{text.ptr, 0};
    std::uint16_t start = FindAssignment(text, name, ':');
    if (start == kNone) start = FindAssignment(text, name, '=');
    if (start == kNone) return StrDesc{text.ptr, 0};
    if (found) *found = true;
    std::uint16_t end = FindAny(text, start, kNamedSeparators, kQuoteAware);
    if (end == kNone) end = text.len;
    return StrDesc{text.ptr + start, static_cast<std::uint16_t>(end - start)};
}

}  // namespace rt
