// The Windows-1252 code page table and the conversions to UTF-16 and UTF-8 built on it.
#include "platform/cp1252.h"

namespace rt {
namespace {

// Code points of the bytes 0x80..0x9F; the five bytes Windows-1252 leaves unassigned map to the C1
// control of the same value so that every byte survives a round trip.
constexpr char32_t kCp1252High[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

}  // namespace

char32_t Cp1252ToCodePoint(unsigned char b) { return (b >= 0x80 && b < 0xA0) ? kCp1252High[b - 0x80] : b; }

unsigned char CodePointToCp1252(char32_t c) {
    if (c < 0x80 || (c >= 0xA0 && c <= 0xFF)) return static_cast<unsigned char>(c);
    for (int i = 0; i < 32; ++i)
        if (kCp1252High[i] == c) return static_cast<unsigned char>(0x80 + i);
    return '?';
}

void AppendUtf8(std::string& out, char32_t c) {
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (c >> 18));
        out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

std::u32string DecodeUtf8(const std::string& s) {
    std::u32string out;
    std::size_t i = 0, n = s.size();
    while (i < n) {
        unsigned char b = static_cast<unsigned char>(s[i]);
        int extra = (b >= 0xC2 && b < 0xE0) ? 1 : (b >= 0xE0 && b < 0xF0) ? 2 : (b >= 0xF0 && b < 0xF5) ? 3 : 0;
        if (extra == 0 || i + extra >= n) {
            out += b;
            ++i;
            continue;
        }
        char32_t c = b & (0x3F >> extra);
        bool ok = true;
        for (int k = 1; k <= extra; ++k) {
            unsigned char t = static_cast<unsigned char>(s[i + k]);
            if ((t & 0xC0) != 0x80) { ok = false; break; }
            c = (c << 6) | (t & 0x3F);
        }
        if (!ok || (extra == 2 && c < 0x800) || (extra == 3 && (c < 0x10000 || c > 0x10FFFF))) {
            out += b;
            ++i;
            continue;
        }
        out += c;
        i += extra + 1;
    }
    return out;
}

std::string Utf8ToCp1252(const std::string& s) {
    std::string out;
    for (char32_t c : DecodeUtf8(s)) out += static_cast<char>(CodePointToCp1252(c));
    return out;
}

std::string Cp1252ToUtf8(const std::string& s) {
    std::string out;
    for (char ch : s) AppendUtf8(out, Cp1252ToCodePoint(static_cast<unsigned char>(ch)));
    return out;
}

}  // namespace rt
