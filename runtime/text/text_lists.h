// Separated lists: items numbered from 1, one separator byte. A separator other than NUL (or a quote)
// is searched quote-aware, so a separator inside quotes belongs to its item. A separator at the very
// end makes a last, empty item; the empty text has no items.
// Item, ItemRest and ItemCursor give views into the list; ItemSet, ListMerge, ListMinus and JoinEq
// build their result on DynStrings and leave exactly that allocation above the caller's mark.
#pragma once
#include <cstdint>
#include "runtime/text/str_desc.h"
#include "runtime/text/text_search.h"

namespace rt {

// How the separator is searched in a list.
inline SearchMode ListMode(unsigned char sep) {
    return (sep == 0 || IsQuote(sep)) ? kExact : kQuoteAware;
}

// Walks the items of a list in order without copying them.
class ItemCursor {
public:
    ItemCursor(StrDesc list, unsigned char sep)
        : list_(list), sep_(sep), done_(list.IsError() || list.len == 0) {}
    // The next item (a view into the list); false after the last one.
    bool Next(StrDesc* item);
    // Offset in the list of the item last given by Next.
    std::uint16_t offset() const { return offset_; }
private:
    StrDesc list_;
    unsigned char sep_;
    bool done_;
    std::uint32_t pos_ = 0;
    std::uint16_t offset_ = 0;
};

struct ItemPos {
    std::uint16_t offset = kNone;  // kNone: the list has no item of that number
    std::uint16_t length = 0;
};

std::uint16_t ItemCount(StrDesc list, unsigned char sep);
// Item n; n = 0 or beyond the last item gives an empty text.
StrDesc Item(StrDesc list, unsigned char sep, std::uint16_t n);
ItemPos ItemSpan(StrDesc list, unsigned char sep, std::uint16_t n);
// The text after the first separator (empty when there is none).
StrDesc ItemRest(StrDesc list, unsigned char sep);
// Number of the first item byte-equal to item, 0 when absent.
std::uint16_t ItemIndex(StrDesc list, StrDesc item, unsigned char sep);
// StrToNum(CleanValue(Item(list, sep, n))).
std::int16_t ItemNum(StrDesc list, unsigned char sep, std::uint16_t n);
// The list with item n replaced (n >= 1), appended after padding with empty items (n beyond the
// last), appended as a new last item (n = 0) or removed with one separator (n < 0).
StrDesc ItemSet(StrDesc list, unsigned char sep, int n, StrDesc text);
// The greatest item length after Unquote or, when shortest, the smallest (starting from the list length).
std::uint16_t ItemWidth(StrDesc list, unsigned char sep, bool shortest);
// a followed by each non-empty item of b that it does not hold yet, separated by sepA.
StrDesc ListMerge(StrDesc a, unsigned char sepA, StrDesc b, unsigned char sepB);
// The non-empty items of a that b lacks, joined by sepA.
StrDesc ListMinus(StrDesc a, unsigned char sepA, StrDesc b, unsigned char sepB);
// Number of the first item low-high of a comma list with low <= value <= high, else 0.
// An item without an inner '-' is a single value.
std::uint16_t RangeIndex(StrDesc list, std::int64_t value);
// name=value; 163 when either is empty.
StrDesc JoinEq(StrDesc name, StrDesc value);

}  // namespace rt
