// Fuzz target of the text and list utilities: an input is up to four parts separated by NUL bytes,
// a text, a separator or pattern, a number and a mask; the list, search, cleaning and formatting
// functions run over them and the properties their contracts promise are checked.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "runtime/text/dyn_strings.h"
#include "runtime/text/text_build.h"
#include "runtime/text/text_clean.h"
#include "runtime/text/text_lists.h"
#include "runtime/text/text_search.h"
#include "runtime/vars/masks.h"
#include "tests/fuzz/support/fuzz_runtime.h"

namespace {

using namespace rt;

// A plain negative number text of at least 1 in size: blanks, '-', digits with a non-zero one, an
// optional point and decimals, blanks.
bool PlainNegative(std::string_view t) {
    std::size_t i = t.find_first_not_of(' ');
    if (i == std::string_view::npos || t[i] != '-') return false;
    std::size_t digits = ++i;
    bool nonZero = false;
    while (i < t.size() && t[i] >= '0' && t[i] <= '9') nonZero |= t[i++] != '0';
    if (i == digits || !nonZero) return false;
    if (i < t.size() && t[i] == '.')
        for (++i; i < t.size() && t[i] >= '0' && t[i] <= '9';) ++i;
    return t.find_first_not_of(' ', i) == std::string_view::npos;
}

bool Inside(StrDesc part, StrDesc whole) {
    return part.len == 0 || (part.ptr >= whole.ptr && part.ptr + part.len <= whole.ptr + whole.len);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzz::FuzzInput input;
    auto parts = fuzz::SplitInput(data, size, std::string_view("\0", 1), 4);
    parts.resize(4);
    StrDesc text = fuzz::View(parts[0]), pattern = fuzz::View(parts[1]);
    const unsigned char sep = pattern.len ? pattern.bytes()[0] : ',';
    DynScope scope;

    // Lists: every item is a piece of the list, and item n + 1 past the count is empty.
    std::uint16_t count = ItemCount(text, sep);
    for (std::uint16_t n = 1; n <= count && n <= 64; ++n) {
        StrDesc item = Item(text, sep, n);
        fuzz::FuzzCheck(Inside(item, text), "an item lies inside its list");
        ItemIndex(text, item, sep);
    }
    fuzz::FuzzCheck(Item(text, sep, static_cast<std::uint16_t>(count + 1)).len == 0, "no item past the last");
    {
        DynScope each;
        ItemSet(text, sep, count > 2 ? 2 : 0, pattern);
        ItemSet(text, sep, -1, pattern);
        ListMerge(text, sep, pattern, ',');
        ListMinus(text, sep, pattern, ',');
    }

    // Searches: a position found holds what was looked for.
    for (SearchMode mode : {kExact, kQuoteAware}) {
        std::uint16_t at = FindText(text, pattern, mode);
        fuzz::FuzzCheck(at == kNone || (at + pattern.len <= text.len &&
                                        std::string_view(text.ptr + at, pattern.len) ==
                                            std::string_view(pattern.ptr, pattern.len)),
                        "FindText finds the pattern");
        std::uint16_t last = FindLastText(text, pattern, mode);
        fuzz::FuzzCheck((at == kNone) == (last == kNone), "FindText and FindLastText agree on absence");
        CountText(text, pattern, mode);
        FindAny(text, 0, pattern, mode);
    }
    std::uint32_t pos = 0;
    StrDesc piece;
    for (int i = 0; i < 64 && NextListPiece(text, pattern.len ? pattern : S(";"), &pos, &piece); ++i)
        fuzz::FuzzCheck(Inside(piece, text), "a list piece lies inside its list");

    // Cleaning and formatting.
    {
        DynScope each;
        CleanValue(text);
        Unquote(Trim(text, kTrimBoth));
        std::uint16_t max = static_cast<std::uint16_t>(std::strtoul(std::string(parts[2].substr(0, 8)).c_str(), nullptr, 10));
        StrDesc f = Format(max, "%.*s|%d", int(text.len), text.ptr, int(count));
        fuzz::FuzzCheck(f.IsError() || f.len <= max, "Format keeps within its maximum");
    }

    // Masks: a negative number never comes out without its sign.
    StrDesc mask = fuzz::View(parts[3]);
    StrDesc number = fuzz::View(parts[2]);
    for (std::uint16_t mode : {kMaskFixed, kMaskLanguage, kMaskChars}) {
        DynScope each;
        StrDesc shown = MaskApply(mask, number, mode);
        bool numberEdit = mode == kMaskFixed && FindAny(mask, 0, S("#0"), kQuoteAware) != kNone &&
                          FindAny(mask, 0, S("\\?"), kQuoteAware) == kNone;
        if (numberEdit && !shown.IsError() && PlainNegative(parts[2]))
            fuzz::FuzzCheck(FindChar(shown, 0, '-', kExact) != kNone, "a negative number keeps its sign in a mask");
    }
    return 0;
}
