// Trimming, unquoting, case folding, byte mapping and the small readers of user numbers.
#include "runtime/text/text_clean.h"

#include <cstring>

#include "runtime/text/dyn_strings.h"

namespace rt {
namespace {

bool InSet(StrDesc set, unsigned char c) {
    return !set.IsError() && set.len != 0 && std::memchr(set.ptr, c, set.len) != nullptr;
}

unsigned char Upper(unsigned char c) { return (c >= 'a' && c <= 'z') ? c - 32 : c; }
unsigned char Lower(unsigned char c) { return (c >= 'A' && c <= 'Z') ? c + 32 : c; }

// Claims the first n bytes of the scratch result r as the operation's one allocation.
StrDesc KeepPrefix(std::uint16_t mark, StrDesc r, std::uint16_t n) {
    return DynKeep(mark, StrDesc{r.ptr, n});
}

}  // namespace

StrDesc TrimSet(StrDesc text, std::uint8_t ends, StrDesc set) {
    if (text.IsError()) return text;
    std::uint16_t b = 0, e = text.len;
    if (ends & kTrimLeft)
        while (b < e && InSet(set, text.bytes()[b])) ++b;
    if (ends & kTrimRight)
        while (e > b && InSet(set, text.bytes()[e - 1])) --e;
    return StrDesc{text.ptr + b, static_cast<std::uint16_t>(e - b)};
}

StrDesc Trim(StrDesc text, std::uint8_t ends) { return TrimSet(text, ends, S(" \t")); }

StrDesc Unquote(StrDesc text) {
    if (text.IsError() || text.len < 2) return text;
    unsigned char first = text.bytes()[0];
    if (IsQuote(first) && text.bytes()[text.len - 1] == first)
        return StrDesc{text.ptr + 1, static_cast<std::uint16_t>(text.len - 2)};
    return text;
}

StrDesc CleanValue(StrDesc text) {
    if (text.IsError()) return text;
    StrDesc v = Unquote(Trim(text, kTrimBoth));
    if (v.len == text.len) return CaseFold(v, kCaseUpper);
    return StrCopy(v);
}

StrDesc CaseFold(StrDesc text, int mode) {
    StrDesc r = StrCopy(text);
    if (r.IsError()) return r;
    char* p = r.mut();
    for (std::uint16_t i = 0; i < r.len; ++i) {
        unsigned char c = static_cast<unsigned char>(p[i]);
        p[i] = static_cast<char>(mode == 1 ? Upper(c) : Lower(c));
    }
    return r;
}

StrDesc Collapse(StrDesc text, unsigned char byte, SearchMode mode) {
    if (text.IsError()) return text;
    std::uint16_t m = DynMark();
    StrDesc r = DynAlloc(text.len);
    if (r.IsError()) return r;
    std::uint16_t n = 0;
    std::uint32_t from = 0;  // next byte still to copy
    std::uint16_t prevEnd = kNone;  // position right after the last occurrence kept
    for (std::uint16_t p = FindChar(text, 0, byte, mode); p != kNone;
         p = (p + 1u < text.len) ? FindChar(text, p + 1, byte, mode) : kNone) {
        if (p == prevEnd) {
            // Same run: copy what lies between (nothing), drop this occurrence.
            from = p + 1u;
            prevEnd = p + 1u;
            continue;
        }
        std::uint32_t count = p + 1u - from;
        std::memmove(r.mut() + n, text.ptr + from, count);
        n += count;
        from = p + 1u;
        prevEnd = p + 1u;
    }
    std::memmove(r.mut() + n, text.ptr + from, text.len - from);
    n += text.len - from;
    return KeepPrefix(m, r, n);
}

StrDesc KeepChars(StrDesc text, StrDesc set) {
    if (text.IsError()) return text;
    if (set.IsError()) return set;
    std::uint16_t m = DynMark();
    StrDesc r = DynAlloc(text.len);
    if (r.IsError()) return r;
    std::uint16_t n = 0;
    for (std::uint16_t i = 0; i < text.len; ++i)
        if (InSet(set, text.bytes()[i])) r.mut()[n++] = text.ptr[i];
    return KeepPrefix(m, r, n);
}

StrDesc MapChars(StrDesc text, StrDesc from, StrDesc to) {
    if (from.IsError()) return from;
    if (to.IsError()) return to;
    StrDesc r = StrCopy(text);
    if (r.IsError()) return r;
    for (std::uint16_t i = 0; i < r.len; ++i) {
        const void* hit = std::memchr(from.ptr, r.ptr[i], from.len);
        if (hit == nullptr) continue;
        std::size_t k = static_cast<const char*>(hit) - from.ptr;
        if (k < to.len) r.mut()[i] = to.ptr[k];
    }
    return r;
}

StrDesc MapSeqs(StrDesc text, StrDesc sequences, std::uint16_t n, StrDesc chars) {
    if (text.IsError()) return text;
    if (sequences.IsError()) return sequences;
    if (chars.IsError()) return chars;
    std::uint16_t seqLen = n ? sequences.len / n : 0;
    if (n > chars.len) n = chars.len;  // a sequence without a replacement byte stays as it is
    if (seqLen == 0 || n == 0) return StrCopy(text);
    std::uint16_t m = DynMark();
    StrDesc r = DynAlloc(text.len);
    if (r.IsError()) return r;
    std::uint16_t out = 0;
    std::uint32_t i = 0;
    while (i < text.len) {
        bool replaced = false;
        if (i + seqLen <= text.len) {
            for (std::uint16_t k = 0; k < n; ++k) {
                if (std::memcmp(text.ptr + i, sequences.ptr + std::size_t(k) * seqLen, seqLen) == 0) {
                    r.mut()[out++] = chars.ptr[k];
                    i += seqLen;
                    replaced = true;
                    break;
                }
            }
        }
        if (!replaced) r.mut()[out++] = text.ptr[i++];
    }
    return KeepPrefix(m, r, out);
}

bool IsYes(StrDesc text) {
    if (text.IsError() || text.len == 0 || text.len > 3) return false;
    static const char* const kYesWords[] = {"YES", "SI", "Y", "S", "ON"};
    for (const char* w : kYesWords) {
        if (std::strlen(w) != text.len) continue;
        bool same = true;
        for (std::uint16_t i = 0; i < text.len && same; ++i) same = Upper(text.bytes()[i]) == static_cast<unsigned char>(w[i]);
        if (same) return true;
    }
    return false;
}

std::int16_t StrToNum(StrDesc text) {
    if (text.IsError()) return 0;
    if (IsYes(text)) return 1;
    const unsigned char* b = text.bytes();
    std::uint16_t i = 0;
    while (i < text.len && (b[i] == ' ' || (b[i] >= '\t' && b[i] <= '\r'))) ++i;
    bool negative = false;
    if (i < text.len && (b[i] == '+' || b[i] == '-')) negative = b[i++] == '-';
    // Only the low 16 bits are kept, so unsigned wrap-around gives them exactly.
    std::uint32_t value = 0;
    while (i < text.len && b[i] >= '0' && b[i] <= '9') value = value * 10u + (b[i++] - '0');
    if (negative) value = 0u - value;
    return static_cast<std::int16_t>(static_cast<std::uint16_t>(value & 0xFFFFu));
}

}  // namespace rt
