// Building texts: pieces, replacing, brackets and quoting, bounded formatting, text buffers.
// Substr and Between give a view into their input; the other text results are built on DynStrings
// and leave exactly that one allocation above the caller's mark. An error descriptor given as
// input is passed on as the result.
#pragma once
#include <cstddef>
#include <cstdarg>
#include <cstdint>
#include <initializer_list>
#include "runtime/text/mem_areas.h"
#include "runtime/text/str_desc.h"
#include "runtime/text/text_search.h"

namespace rt {

// The parts laid end to end in one allocation (146 when longer than a text can be).
StrDesc StrAssemble(std::initializer_list<StrDesc> parts);

// Bytes from start (a negative start counts from the end and takes the rest), count bytes or, when
// count is negative or runs past the end, up to the end; a start beyond the end gives an empty text.
StrDesc Substr(StrDesc text, int start, int count);
// Copy with every occurrence of find replaced; a single quote character is searched exactly.
// A failing allocation is noted as first error 160 (area "STRCONCAT").
StrDesc ReplaceAll(StrDesc text, StrDesc find, StrDesc replacement, SearchMode mode);
// Copies bytes into target at offset (negative: from the end), never past the target's length.
ErrCode PutAt(StrDesc target, int offset, StrDesc bytes);
// PutAt on a fresh copy of text, giving the copy.
StrDesc Overwrite(StrDesc text, int offset, StrDesc bytes);

// The closing bracket of [ ( { <; every other byte is its own closing byte.
unsigned char Closing(unsigned char open);
bool IsEnclosed(StrDesc text, unsigned char open);
// open, the text, Closing(open).
StrDesc Wrap(StrDesc text, unsigned char open);
// The text in quote if it lacks that quote, else in the other quote; 163 when it holds both.
StrDesc QuoteAuto(StrDesc text, unsigned char quote);
// The bytes between the first open bracket and its matching closing bracket (nesting counted);
// empty when there is no match.
StrDesc Between(StrDesc text, unsigned char open);

// printf-style formatting of at most max bytes; a longer result gives 146, noted as first error
// (area "FormatStrings").
StrDesc Format(std::uint16_t max, const char* format, ...) __attribute__((format(printf, 2, 3)));
StrDesc FormatV(std::uint16_t max, const char* format, va_list args);
// Fills a format held as a runtime text (catalog messages, which language files may replace) with
// texts: each %s takes the next text (an empty one when none is left) and %% gives '%'; every other
// '%' stands as it is. A language file can therefore never make the runtime read an argument it was
// not given. A result longer than max gives 146, as Format does.
StrDesc FormatTextList(std::uint16_t max, StrDesc format, const char* const* texts, std::size_t count);
template <typename... Texts>
StrDesc FormatText(std::uint16_t max, StrDesc format, Texts... texts) {
    const char* list[] = {static_cast<const char*>(texts)..., nullptr};
    return FormatTextList(max, format, list, sizeof...(texts));
}

// Writes text into buffer at position (0xFFFF: at its length), raising the length; gives the bytes
// in place. Once the buffer records an error (153 past the capacity) it gives empty texts.
StrDesc BufPut(TextBuffer& buffer, StrDesc text, std::uint16_t position);

}  // namespace rt
