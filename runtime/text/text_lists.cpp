// Separated lists: reading, counting, setting and joining items.
#include "runtime/text/text_lists.h"

#include <cstring>

#include "runtime/text/dyn_strings.h"
#include "runtime/text/err_codes.h"
#include "runtime/text/text_build.h"
#include "runtime/text/text_clean.h"

namespace rt {

bool ItemCursor::Next(StrDesc* item) {
    if (done_) return false;
    offset_ = static_cast<std::uint16_t>(pos_);
    std::uint16_t p = FindChar(list_, static_cast<std::uint16_t>(pos_), sep_, ListMode(sep_));
    if (p == kNone) {
        // The last item; after a separator at the very end it is the empty item at the end.
        *item = StrDesc{list_.ptr + pos_, static_cast<std::uint16_t>(list_.len - pos_)};
        done_ = true;
    } else {
        *item = StrDesc{list_.ptr + pos_, static_cast<std::uint16_t>(p - pos_)};
        pos_ = std::uint32_t(p) + 1;
    }
    return true;
}

std::uint16_t ItemCount(StrDesc list, unsigned char sep) {
    ItemCursor c(list, sep);
    StrDesc item;
    std::uint16_t n = 0;
    while (c.Next(&item) && n != 0xFFFE) ++n;
    return n;
}

ItemPos ItemSpan(StrDesc list, unsigned char sep, std::uint16_t n) {
    if (n == 0) return ItemPos{};
    ItemCursor c(list, sep);
    StrDesc item;
    for (std::uint16_t i = 1; c.Next(&item); ++i)
        if (i == n) return ItemPos{c.offset(), item.len};
    return ItemPos{};
}

StrDesc Item(StrDesc list, unsigned char sep, std::uint16_t n) {
    if (list.IsError()) return list;
    ItemPos p = ItemSpan(list, sep, n);
    if (p.offset == kNone) return StrDesc{list.ptr + list.len, 0};
    return StrDesc{list.ptr + p.offset, p.length};
}

StrDesc ItemRest(StrDesc list, unsigned char sep) {
    if (list.IsError()) return list;
    std::uint16_t p = FindChar(list, 0, sep, ListMode(sep));
    if (p == kNone) return StrDesc{list.ptr + list.len, 0};
    return StrDesc{list.ptr + p + 1, static_cast<std::uint16_t>(list.len - p - 1)};
}

std::uint16_t ItemIndex(StrDesc list, StrDesc item, unsigned char sep) {
    if (item.IsError()) return 0;
    ItemCursor c(list, sep);
    StrDesc it;
    for (std::uint16_t i = 1; c.Next(&it); ++i)
        if (StrEq(it, item)) return i;
    return 0;
}

std::int16_t ItemNum(StrDesc list, unsigned char sep, std::uint16_t n) {
    std::uint16_t m = DynMark();
    std::int16_t v = StrToNum(CleanValue(Item(list, sep, n)));
    DynRelease(m);
    return v;
}

StrDesc ItemSet(StrDesc list, unsigned char sep, int n, StrDesc text) {
    if (list.IsError()) return list;
    if (text.IsError()) return text;
    char s = static_cast<char>(sep);
    StrDesc sepText{&s, 1};
    std::uint16_t count = ItemCount(list, sep);

    if (n == 0) {
        if (list.len == 0) return StrCopy(text);
        return StrAssemble({list, sepText, text});
    }
    if (n > 0 && n <= count) {
        ItemPos p = ItemSpan(list, sep, static_cast<std::uint16_t>(n));
        StrDesc after{list.ptr + p.offset + p.length, static_cast<std::uint16_t>(list.len - p.offset - p.length)};
        return StrAssemble({StrDesc{list.ptr, p.offset}, text, after});
    }
    if (n > 0) {
        // Pad with empty items until item n exists, then fill it.
        std::uint32_t pads = count == 0 ? std::uint32_t(n) - 1 : std::uint32_t(n) - count;
        if (pads > 0xFFFF) return StrError(kErrStringTooLong);
        std::uint16_t m = DynMark();
        StrDesc padding = StrFill(static_cast<std::uint16_t>(pads), sep);
        return DynKeep(m, StrAssemble({list, padding, text}));
    }
    // n < 0: remove item |n| with the separator before it (after it for the first item).
    std::int64_t k = -std::int64_t(n);
    if (k > count) return StrCopy(list);
    ItemPos p = ItemSpan(list, sep, static_cast<std::uint16_t>(k));
    std::uint32_t cutFrom = p.offset, cutTo = std::uint32_t(p.offset) + p.length;
    if (k > 1) --cutFrom;
    else if (cutTo < list.len) ++cutTo;
    return StrAssemble({StrDesc{list.ptr, static_cast<std::uint16_t>(cutFrom)},
                        StrDesc{list.ptr + cutTo, static_cast<std::uint16_t>(list.len - cutTo)}});
}

std::uint16_t ItemWidth(StrDesc list, unsigned char sep, bool shortest) {
    if (list.IsError()) return 0;
    std::uint16_t width = shortest ? list.len : 0;
    ItemCursor c(list, sep);
    StrDesc item;
    while (c.Next(&item)) {
        std::uint16_t w = Unquote(item).len;
        if (shortest ? w < width : w > width) width = w;
    }
    return width;
}

StrDesc ListMerge(StrDesc a, unsigned char sepA, StrDesc b, unsigned char sepB) {
    if (a.IsError()) return a;
    if (b.IsError()) return b;
    std::uint16_t m = DynMark();
    char s = static_cast<char>(sepA);
    StrDesc result = StrCopy(a);
    ItemCursor c(b, sepB);
    StrDesc item;
    while (!result.IsError() && c.Next(&item)) {
        // Empty items are no members; the growing result is checked so that b adds each item once.
        if (item.len == 0 || ItemIndex(result, item, sepA) != 0) continue;
        StrDesc grown = result.len == 0 ? StrCopy(item) : StrAssemble({result, StrDesc{&s, 1}, item});
        result = DynKeep(m, grown);
    }
    return DynKeep(m, result);
}

StrDesc ListMinus(StrDesc a, unsigned char sepA, StrDesc b, unsigned char sepB) {
    if (a.IsError()) return a;
    if (b.IsError()) return b;
    std::uint16_t m = DynMark();
    // Kept items never outgrow a, so one buffer of its length holds the result.
    StrDesc r = DynAlloc(a.len);
    if (r.IsError()) return r;
    std::uint16_t n = 0;
    ItemCursor c(a, sepA);
    StrDesc item;
    while (c.Next(&item)) {
        if (item.len == 0 || ItemIndex(b, item, sepB) != 0) continue;
        if (n != 0) r.mut()[n++] = static_cast<char>(sepA);
        std::memmove(r.mut() + n, item.ptr, item.len);
        n += item.len;
    }
    return DynKeep(m, StrDesc{r.ptr, n});
}

namespace {

// Leading decimal integer as 64 bits (leading blanks, optional sign, digits; 0 when none).
std::int64_t ToInt64(StrDesc text) {
    const unsigned char* b = text.bytes();
    std::uint16_t i = 0;
    while (i < text.len && (b[i] == ' ' || b[i] == '\t')) ++i;
    bool negative = false;
    if (i < text.len && (b[i] == '+' || b[i] == '-')) negative = b[i++] == '-';
    std::uint64_t v = 0;
    while (i < text.len && b[i] >= '0' && b[i] <= '9') {
        if (v < 922337203685477580ull) v = v * 10 + (b[i] - '0');
        ++i;
    }
    return negative ? -std::int64_t(v) : std::int64_t(v);
}

}  // namespace

std::uint16_t RangeIndex(StrDesc list, std::int64_t value) {
    ItemCursor c(list, ',');
    StrDesc item;
    for (std::uint16_t i = 1; c.Next(&item); ++i) {
        std::uint16_t dash = FindLast(item, '-', kExact);
        std::int64_t low, high;
        StrDesc lowText{item.ptr, dash == kNone ? std::uint16_t(0) : dash};
        if (dash == kNone || Trim(lowText, kTrimBoth).len == 0) {
            low = high = ToInt64(item);  // a single value, possibly negative
        } else {
            low = ToInt64(lowText);
            high = ToInt64(StrDesc{item.ptr + dash + 1, static_cast<std::uint16_t>(item.len - dash - 1)});
        }
        if (low <= value && value <= high) return i;
    }
    return 0;
}

StrDesc JoinEq(StrDesc name, StrDesc value) {
    if (name.IsError()) return name;
    if (value.IsError()) return value;
    if (name.len == 0 || value.len == 0) return StrError(kErrData);
    return StrAssemble({name, S("="), value});
}

}  // namespace rt
