#include "runtime/text/platform_text.h"

#include <cstring>

#include "runtime/text/dyn_strings.h"

namespace rt {
namespace {

// Characters of the bytes 0x80-0x9F. The five bytes without a character (0x81, 0x8D, 0x8F, 0x90,
// 0x9D) keep their own value so that every byte survives a round trip.
constexpr char16_t kHighControls[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

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

char16_t Cp1252ToUnit(unsigned char byte) {
    if (byte >= 0x80 && byte <= 0x9F) return kHighControls[byte - 0x80];
    return byte;
}

unsigned char UnitToCp1252(char16_t unit) {
    if (unit < 0x80 || (unit >= 0xA0 && unit <= 0xFF)) return static_cast<unsigned char>(unit);
    for (unsigned i = 0; i < 32; ++i)
        if (kHighControls[i] == unit) return static_cast<unsigned char>(0x80 + i);
    return '?';
}

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
    if (units == nullptr) return StrError(163);
    std::size_t bytes = 0;
    for (std::size_t i = 0; i < count; ++i) {
        if (IsHighSurrogate(units[i]) && i + 1 < count && IsLowSurrogate(units[i + 1])) ++i;
        ++bytes;
    }
    if (bytes > 0xFFFF) return StrError(146);
    StrDesc r = DynAlloc(static_cast<std::uint16_t>(bytes));
    if (r.IsError()) return r;
    Narrow(count, [units](std::size_t i) { return units[i]; }, r.mut());
    return r;
}

StrDesc FromPlatform(const char16_t* text) {
    if (text == nullptr) return StrError(163);
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
