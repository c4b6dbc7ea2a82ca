#include "runtime/ui/cp1252_widen.h"

namespace rt {

namespace {

// Code points of the bytes 0x80 to 0x9F; the rest of the bytes equal their code point.
constexpr char16_t kHighControls[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

}  // namespace

std::u16string Cp1252ToUtf16(StrDesc text) {
    std::u16string out;
    if (text.IsError()) return out;
    out.reserve(text.len);
    for (std::uint16_t i = 0; i < text.len; ++i) {
        const unsigned char b = text.bytes()[i];
        out += (b >= 0x80 && b <= 0x9F) ? kHighControls[b - 0x80] : static_cast<char16_t>(b);
    }
    return out;
}

}  // namespace rt
