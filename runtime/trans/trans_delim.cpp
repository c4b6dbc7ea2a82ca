// Cuts delimited records into values and quotes values for writing, with the one quoting rule that
// lets every value come back as it was written.
#include "runtime/trans/trans_delim.h"

namespace rt {

bool DelimCursor::Next(StrDesc* value, std::string* scratch) {
    if (done_) return false;
    const char* p = record_.ptr;
    std::uint32_t n = record_.len, at = pos_;
    ++number_;
    // A delimiter that is itself the quote leaves nothing to quote with: every value is plain.
    if (at < n && static_cast<unsigned char>(p[at]) == kDelimQuote && delimiter_ != kDelimQuote) {
        scratch->clear();
        ++at;
        while (at < n) {
            char c = p[at];
            if (static_cast<unsigned char>(c) == kDelimQuote) {
                if (at + 1 < n && static_cast<unsigned char>(p[at + 1]) == kDelimQuote) {
                    scratch->push_back(c);
                    at += 2;
                    continue;
                }
                ++at;  // the closing quote
                break;
            }
            scratch->push_back(c);
            ++at;
        }
        // Bytes between the closing quote and the delimiter are kept as they stand.
        while (at < n && static_cast<unsigned char>(p[at]) != delimiter_) scratch->push_back(p[at++]);
        *value = StrDesc{scratch->data(), static_cast<std::uint16_t>(scratch->size())};
    } else {
        std::uint32_t start = at;
        while (at < n && static_cast<unsigned char>(p[at]) != delimiter_) ++at;
        *value = StrDesc{p + start, static_cast<std::uint16_t>(at - start)};
    }
    if (at < n) {
        pos_ = at + 1;  // past the delimiter; a delimiter at the very end leaves an empty last value
    } else {
        done_ = true;
    }
    return true;
}

void DelimAppendQuoted(StrDesc value, unsigned char quote, std::string* out) {
    out->push_back(static_cast<char>(quote));
    if (!value.IsError()) {
        for (std::uint16_t i = 0; i < value.len; ++i) {
            out->push_back(value.ptr[i]);
            if (static_cast<unsigned char>(value.ptr[i]) == quote) out->push_back(static_cast<char>(quote));
        }
    }
    out->push_back(static_cast<char>(quote));
}

}  // namespace rt
