// Exact and quote-aware searches for bytes and texts.
#include "runtime/text/text_search.h"

#include <cstring>

namespace rt {
namespace {

// Membership table of a byte set, so that set searches cost one lookup per byte.
struct ByteSet {
    bool has[256] = {};
    explicit ByteSet(StrDesc set) {
        if (set.IsError()) return;
        for (std::uint16_t i = 0; i < set.len; ++i) has[set.bytes()[i]] = true;
    }
};

// Shared walk of the quote-aware searches: gives the first position at or after start whose byte
// satisfies match, skipping quoted sections.
template <typename Match>
std::uint16_t ScanQuoteAware(StrDesc text, std::uint16_t start, Match match) {
    const unsigned char* b = text.bytes();
    std::uint32_t i = start;
    while (i < text.len) {
        unsigned char c = b[i];
        if (IsQuote(c)) {
            const void* close = std::memchr(b + i + 1, c, text.len - i - 1);
            if (close == nullptr) return kNone;  // an unclosed quote hides the rest
            i = std::uint32_t(static_cast<const unsigned char*>(close) - b) + 1;
            continue;
        }
        if (match(c)) return static_cast<std::uint16_t>(i);
        ++i;
    }
    return kNone;
}

}  // namespace

std::uint16_t FindChar(StrDesc text, std::uint16_t start, unsigned char byte, SearchMode mode) {
    if (text.IsError() || start >= text.len) return kNone;
    if (mode == kExact) {
        const void* p = std::memchr(text.bytes() + start, byte, text.len - start);
        return p ? static_cast<std::uint16_t>(static_cast<const unsigned char*>(p) - text.bytes()) : kNone;
    }
    return ScanQuoteAware(text, start, [byte](unsigned char c) { return c == byte; });
}

std::uint16_t FindAny(StrDesc text, std::uint16_t start, StrDesc set, SearchMode mode) {
    if (text.IsError() || set.IsError() || set.len == 0 || start >= text.len) return kNone;
    ByteSet bs(set);
    auto match = [&bs](unsigned char c) { return bs.has[c]; };
    if (mode == kExact) {
        for (std::uint32_t i = start; i < text.len; ++i)
            if (match(text.bytes()[i])) return static_cast<std::uint16_t>(i);
        return kNone;
    }
    return ScanQuoteAware(text, start, match);
}

std::uint16_t FindTextFrom(StrDesc text, std::uint16_t start, StrDesc sub, SearchMode mode) {
    if (text.IsError() || sub.IsError() || sub.len == 0 || sub.len > text.len) return kNone;
    // Candidates are looked for only where sub still fits.
    StrDesc head{text.ptr, static_cast<std::uint16_t>(text.len - sub.len + 1)};
    std::uint32_t pos = start;
    while (pos < head.len) {
        std::uint16_t p = FindChar(head, static_cast<std::uint16_t>(pos), sub.bytes()[0], mode);
        if (p == kNone) return kNone;
        if (std::memcmp(text.ptr + p, sub.ptr, sub.len) == 0) return p;
        pos = std::uint32_t(p) + 1;
    }
    return kNone;
}

std::uint16_t FindText(StrDesc text, StrDesc sub, SearchMode mode) {
    return FindTextFrom(text, 0, sub, mode);
}

std::uint16_t FindLast(StrDesc text, unsigned char byte, SearchMode mode) {
    if (text.IsError() || text.len == 0) return kNone;
    if (mode == kExact) {
        for (std::uint32_t i = text.len; i-- > 0;)
            if (text.bytes()[i] == byte) return static_cast<std::uint16_t>(i);
        return kNone;
    }
    std::uint16_t last = kNone;
    for (std::uint16_t p = FindChar(text, 0, byte, mode); p != kNone; p = FindChar(text, p + 1, byte, mode)) {
        last = p;
        if (p == 0xFFFE) break;
    }
    return last;
}

std::uint16_t FindLastAny(StrDesc text, StrDesc set, SearchMode mode) {
    if (text.IsError() || set.IsError() || set.len == 0 || text.len == 0) return kNone;
    if (mode == kExact) {
        ByteSet bs(set);
        for (std::uint32_t i = text.len; i-- > 0;)
            if (bs.has[text.bytes()[i]]) return static_cast<std::uint16_t>(i);
        return kNone;
    }
    std::uint16_t last = kNone;
    for (std::uint16_t p = FindAny(text, 0, set, mode); p != kNone; p = FindAny(text, p + 1, set, mode)) {
        last = p;
        if (p == 0xFFFE) break;
    }
    return last;
}

std::uint16_t FindLastText(StrDesc text, StrDesc sub, SearchMode mode) {
    std::uint16_t last = kNone;
    for (std::uint16_t p = FindTextFrom(text, 0, sub, mode); p != kNone; p = FindTextFrom(text, p + 1, sub, mode)) {
        last = p;
        if (p == 0xFFFE) break;
    }
    return last;
}

std::uint16_t CountText(StrDesc text, StrDesc sub, SearchMode mode) {
    if (sub.IsError() || sub.len == 0) return 0;
    std::uint16_t n = 0;
    std::uint32_t pos = 0;
    while (pos < text.len) {
        std::uint16_t p = FindTextFrom(text, static_cast<std::uint16_t>(pos), sub, mode);
        if (p == kNone) break;
        ++n;
        pos = std::uint32_t(p) + sub.len;
    }
    return n;
}

std::uint16_t FindNul(StrDesc text) { return FindChar(text, 0, 0, kExact); }

std::uint16_t FindElement(const void* array, std::uint16_t count, std::uint16_t size, const void* element) {
    if (array == nullptr || element == nullptr || size == 0) return kNone;
    const unsigned char* a = static_cast<const unsigned char*>(array);
    for (std::uint16_t i = 0; i < count && i != kNone; ++i)
        if (std::memcmp(a + std::size_t(i) * size, element, size) == 0) return i;
    return kNone;
}

namespace {

// Position of the quote that closes the one at i, or len when it is not closed.
std::uint32_t QuoteEnd(const unsigned char* b, std::uint32_t i, std::uint32_t len) {
    const void* close = i + 1 < len ? std::memchr(b + i + 1, b[i], len - i - 1) : nullptr;
    return close ? std::uint32_t(static_cast<const unsigned char*>(close) - b) : len;
}

}  // namespace

std::uint16_t FindClosingParen(StrDesc text, std::uint16_t open) {
    if (text.IsError() || open >= text.len || text.ptr[open] != '(') return kNone;
    const unsigned char* b = text.bytes();
    std::uint32_t depth = 0;
    for (std::uint32_t i = open; i < text.len; ++i) {
        if (IsQuote(b[i])) {
            i = QuoteEnd(b, i, text.len);
        } else if (b[i] == '(') {
            ++depth;
        } else if (b[i] == ')' && --depth == 0) {
            return static_cast<std::uint16_t>(i);
        }
    }
    return kNone;
}

bool NextListPiece(StrDesc list, StrDesc separators, std::uint32_t* pos, StrDesc* piece) {
    if (list.IsError() || list.len == 0 || *pos > list.len) return false;
    const unsigned char* b = list.bytes();
    const std::uint32_t len = list.len;
    std::uint32_t depth = 0;
    std::uint32_t i = *pos;
    for (; i < len; ++i) {
        unsigned char c = b[i];
        if (IsQuote(c)) {
            i = QuoteEnd(b, i, len);
        } else if (c == '(') {
            ++depth;
        } else if (c == ')') {
            if (depth) --depth;
        } else if (depth == 0 && separators.len != 0 &&
                   std::memchr(separators.ptr, c, separators.len) != nullptr) {
            break;
        }
    }
    if (i > len) i = len;
    *piece = StrDesc{list.ptr + *pos, static_cast<std::uint16_t>(i - *pos)};
    *pos = i + 1;
    return true;
}

}  // namespace rt
