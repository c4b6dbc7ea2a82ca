// Reading the language's number, logical and date conventions from the locale slot.
#include "runtime/vars/format_desc.h"

#include "runtime/env/catalog.h"
#include "runtime/text/slot_table.h"
#include "runtime/text/str_bridge.h"
#include "runtime/text/text_clean.h"
#include "runtime/text/text_lists.h"

namespace rt {
namespace {


// Part n (1 or 2) of the locale record, copied: the slot may move on its next change.
std::string LocalePart(std::uint16_t n) { return StrToStd(Item(SlotGet(kRunGroup, kSlotLocale), 0, n)); }

}  // namespace

FormatDescriptor FormatParse(StrDesc text) {
    FormatDescriptor f;
    if (text.IsError()) text = StrEmpty();
    if (text.len >= 1) f.decimal = text.ptr[0];
    if (text.len >= 2) f.thousands = text.ptr[1];
    StrDesc rest = text.len > 2 ? StrDesc{text.ptr + 2, static_cast<std::uint16_t>(text.len - 2)} : StrEmpty();
    f.number_chars = StrToStd(Unquote(Item(rest, ',', 1)));
    std::string letters = StrToStd(Unquote(Item(rest, ',', 2)));
    for (std::size_t i = 0; i < 3 && i < letters.size(); ++i) f.letters[i] = letters[i];
    std::string words = StrToStd(Unquote(Item(rest, ',', 3)));
    StrDesc w = StrViewStd(words);
    for (std::uint16_t i = 0; i < 3; ++i) f.words[i] = StrToStd(Item(w, ',', i + 1));
    return f;
}

const FormatDescriptor& FormatFixed() {
    static const FormatDescriptor fixed = FormatParse(StrFromC(kFormatDefaultText));
    return fixed;
}

FormatDescriptor FormatCurrent() {
    std::string part = LocalePart(1);
    if (part.empty()) return FormatFixed();
    return FormatParse(StrViewStd(part));
}

std::string FormatMonthName(int month) {
    static const char* const kEnglish[12] = {"January", "February", "March",     "April",   "May",      "June",
                                             "July",    "August",   "September", "October", "November", "December"};
    if (month < 1 || month > 12) return std::string();
    std::string part = LocalePart(2);
    std::string months = StrToStd(Unquote(Item(StrViewStd(part), ',', 1)));
    std::string name = StrToStd(Item(StrViewStd(months), ',', static_cast<std::uint16_t>(month)));
    if (months.empty()) return kEnglish[month - 1];
    return name;
}

std::string FormatLongDatePattern() {
    std::string part = LocalePart(2);
    std::string pattern = StrToStd(Unquote(Item(StrViewStd(part), ',', 2)));
    return pattern.empty() ? std::string("[D] [M] [Y]") : pattern;
}

bool FormatDayFirst() {
    std::uint16_t lang = LangIndex();  // position in "EN,ES,FR,DE,IT"
    // German writes the day first as well (11.12.2026).
    return lang == 2 || lang == 3 || lang == 4 || lang == 5;
}

}  // namespace rt
