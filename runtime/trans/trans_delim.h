// Delimited values as the external files hold them. A value is quoted only when its first byte is
// '"'; inside it a doubled "" stands for one '"' and the delimiter is an ordinary byte. Any other
// value, apostrophes included, runs to the next delimiter as it is. Writing doubles every quote
// inside a quoted value, so every value read back is the value written.
#pragma once
#include <cstdint>
#include <string>
#include "runtime/text/str_desc.h"

namespace rt {

constexpr unsigned char kDelimQuote = '"';

// Walks the values of one delimited record. A record that ends in the delimiter has an empty last
// value; an empty record has none.
class DelimCursor {
public:
    DelimCursor(StrDesc record, unsigned char delimiter)
        : record_(record), delimiter_(delimiter), done_(record.IsError() || record.len == 0) {}
    // The next value: a view into the record for an unquoted value; for a quoted one its bytes
    // without the quotes and with each "" made one '"', in *scratch (which the view then points into).
    bool Next(StrDesc* value, std::string* scratch);
    // Number of the value given last (1-based).
    std::uint16_t number() const { return number_; }
private:
    StrDesc record_;
    unsigned char delimiter_;
    bool done_;
    std::uint32_t pos_ = 0;
    std::uint16_t number_ = 0;
};

// Appends value to out enclosed in quote, each quote inside it doubled.
void DelimAppendQuoted(StrDesc value, unsigned char quote, std::string* out);

}  // namespace rt
