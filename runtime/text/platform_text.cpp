// Conversions between runtime texts and UTF-16 platform texts, byte by byte.
#include "runtime/text/platform_text.h"

#include <cstring>

#include "platform/cp1252.h"
#include "runtime/text/dyn_strings.h"
#include "runtime/text/err_codes.h"

namespace rt {
namespace {

bool IsHighSurrogate(char16_t u) { return u >= 0xD800 && u <= 0xDBFF; }
bool IsLowSurrogate(char16_t u) { return u >= 0xDC00 && u <= 0xDFFF; }

// Narrows count units read by unit(i) into out; gives the bytes written (never more than count).
template <typename UnitAt>
std::size_t Narrow(std::size_t count, UnitAt unit, char* out) {
    std::size_t n = 0;
    for (std::size_t i = 0; i < count; ++i) {
        char16_t u = unit(i);
        if (IsHighSurrogate(u) && i + 1 < count && IsLowSurrogate(unit(i + 1))) ++i;  // one character
        out[n++] = static_cast<char>(UnitToCp1252(u));
    }
    return n;
}

}  // namespace

// Every Windows-1252 byte has a character in the Basic Multilingual Plane, so one code unit.
char16_t Cp1252ToUnit(unsigned char byte) { return static_cast<char16_t>(Cp1252ToCodePoint(byte)); }

unsigned char UnitToCp1252(char16_t unit) { return CodePointToCp1252(unit); }

const char16_t* ToPlatform(StrDesc text) {
    static const char16_t kEmpty[1] = {0};
    if (text.IsError()) return kEmpty;
    constexpr std::uint16_t kMaxUnits = 0xFFFF / 2 - 1;  // room for the terminator
    std::uint16_t len = text.len > kMaxUnits ? kMaxUnits : text.len;
    StrDesc r = DynAlloc(static_cast<std::uint16_t>((len + 1) * 2));
    if (r.IsError()) return kEmpty;
    // Arena allocations are 4-byte aligned, so the block can hold 16-bit units.
    char16_t* out = reinterpret_cast<char16_t*>(r.mut());
    for (std::uint16_t i = 0; i < len; ++i) out[i] = Cp1252ToUnit(text.bytes()[i]);
    out[len] = 0;
    return out;
}

StrDesc FromPlatform(const char16_t* units, std::size_t count) {
    if (units == nullptr) return StrError(kErrData);
    std::size_t bytes = 0;
    for (std::size_t i = 0; i < count; ++i) {
        if (IsHighSurrogate(units[i]) && i + 1 < count && IsLowSurrogate(units[i + 1])) ++i;
        ++bytes;
    }
    if (bytes > 0xFFFF) return StrError(kErrStringTooLong);
    StrDesc r = DynAlloc(static_cast<std::uint16_t>(bytes));
    if (r.IsError()) return r;
    Narrow(count, [units](std::size_t i) { return units[i]; }, r.mut());
    return r;
}

StrDesc FromPlatform(const char16_t* text) {
    if (text == nullptr) return StrError(kErrData);
    std::size_t n = 0;
    while (text[n] != 0) ++n;
    return FromPlatform(text, n);
}

StrDesc NarrowPairs(StrDesc units) {
    if (units.IsError()) return units;
    const unsigned char* in = units.bytes();
    auto unit = [in](std::size_t i) { return char16_t(in[2 * i] | (in[2 * i + 1] << 8)); };
    // Byte n of the output is written after unit n or later was read, so narrowing in place is safe.
    std::size_t n = Narrow(units.len / 2, unit, units.mut());
    return StrDesc{units.ptr, static_cast<std::uint16_t>(n)};
}

}  // namespace rt
