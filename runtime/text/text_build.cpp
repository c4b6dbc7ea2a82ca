// Building texts on DynStrings: concatenation, replacing, bracketing and quoting, bounded
// formatting and text buffers.
#include "runtime/text/text_build.h"

#include <cstdio>
#include <cstring>
#include <string>

#include "runtime/text/err_codes.h"
#include "runtime/text/error_note.h"
#include "runtime/text/dyn_strings.h"
#include "runtime/text/str_bridge.h"

namespace rt {

StrDesc StrAssemble(std::initializer_list<StrDesc> parts) {
    std::uint32_t total = 0;
    for (const StrDesc& p : parts) {
        if (ErrCode e = StrCheck(p)) return StrError(e);
        total += p.len;
    }
    if (total > 0xFFFF) return StrError(kErrStringTooLong);
    StrDesc r = DynAlloc(static_cast<std::uint16_t>(total));
    if (r.IsError()) return r;
    std::size_t at = 0;
    // Parts may lie on the arena below the new allocation; they are never overwritten.
    for (const StrDesc& p : parts) {
        if (p.len) std::memmove(r.mut() + at, p.ptr, p.len);
        at += p.len;
    }
    return r;
}

StrDesc Substr(StrDesc text, int start, int count) {
    if (text.IsError()) return text;
    int len = text.len;
    if (start < 0) {
        start = len + start;
        if (start < 0) start = 0;
        count = -1;
    }
    if (start >= len) return StrDesc{text.ptr + len, 0};
    int rest = len - start;
    if (count < 0 || count > rest) count = rest;
    return StrDesc{text.ptr + start, static_cast<std::uint16_t>(count)};
}

StrDesc ReplaceAll(StrDesc text, StrDesc find, StrDesc replacement, SearchMode mode) {
    if (text.IsError()) return text;
    if (find.IsError()) return find;
    if (replacement.IsError()) return replacement;
    if (find.len == 1 && IsQuote(find.bytes()[0])) mode = kExact;  // a quote is never seen otherwise
    std::uint32_t hits = CountText(text, find, mode);
    std::int64_t total = std::int64_t(text.len) - std::int64_t(hits) * (std::int64_t(find.len) - replacement.len);
    if (total > 0xFFFF) return ErrNoteDesc(kNoteFirst, kAreaStrConcat, kErrMemTestError, StrEmpty());
    StrDesc r = DynAlloc(static_cast<std::uint16_t>(total));
    if (r.IsError()) return ErrNoteDesc(kNoteFirst, kAreaStrConcat, kErrMemTestError, r);
    std::uint32_t from = 0, out = 0;
    for (std::uint32_t i = 0; i < hits; ++i) {
        std::uint16_t p = FindTextFrom(text, static_cast<std::uint16_t>(from), find, mode);
        std::memmove(r.mut() + out, text.ptr + from, p - from);
        out += p - from;
        if (replacement.len) std::memmove(r.mut() + out, replacement.ptr, replacement.len);
        out += replacement.len;
        from = std::uint32_t(p) + find.len;
    }
    std::memmove(r.mut() + out, text.ptr + from, text.len - from);
    return r;
}

ErrCode PutAt(StrDesc target, int offset, StrDesc bytes) {
    if (ErrCode e = StrCheck(target)) return e;
    if (ErrCode e = StrCheck(bytes)) return e;
    int len = target.len;
    if (offset < 0) {
        offset += len;
        if (offset < 0) offset = 0;
    }
    if (offset >= len) return 0;
    int n = bytes.len < len - offset ? bytes.len : len - offset;
    if (n > 0) std::memmove(target.mut() + offset, bytes.ptr, n);
    return 0;
}

StrDesc Overwrite(StrDesc text, int offset, StrDesc bytes) {
    if (bytes.IsError()) return bytes;
    StrDesc r = StrCopy(text);
    if (r.IsError()) return r;
    PutAt(r, offset, bytes);
    return r;
}

unsigned char Closing(unsigned char open) {
    switch (open) {
        case '[': return ']';
        case '(': return ')';
        case '{': return '}';
        case '<': return '>';
        default: return open;
    }
}

bool IsEnclosed(StrDesc text, unsigned char open) {
    return !text.IsError() && text.len >= 2 && text.bytes()[0] == open &&
           text.bytes()[text.len - 1] == Closing(open);
}

StrDesc Wrap(StrDesc text, unsigned char open) {
    char o = static_cast<char>(open), c = static_cast<char>(Closing(open));
    return StrAssemble({StrDesc{&o, 1}, text, StrDesc{&c, 1}});
}

StrDesc QuoteAuto(StrDesc text, unsigned char quote) {
    if (text.IsError()) return text;
    unsigned char other = quote == '"' ? '\'' : '"';
    for (unsigned char q : {quote, other}) {
        if (FindChar(text, 0, q, kExact) == kNone) return Wrap(text, q);
    }
    return StrError(kErrData);
}

StrDesc Between(StrDesc text, unsigned char open) {
    if (text.IsError()) return text;
    unsigned char close = Closing(open);
    std::uint16_t start = FindChar(text, 0, open, kExact);
    if (start == kNone) return StrDesc{text.ptr + text.len, 0};
    std::uint16_t end = FindChar(text, start + 1, close, kExact);
    if (open != close) {
        // Extend to the next closing bracket while the candidate's brackets do not balance.
        int depth = 0;
        for (std::uint32_t i = start; end != kNone && i <= end; ++i) {
            unsigned char c = text.bytes()[i];
            if (c == open) ++depth;
            else if (c == close) --depth;
            if (i == end && depth != 0) end = FindChar(text, end + 1, close, kExact);
        }
    }
    if (end == kNone) return StrDesc{text.ptr + text.len, 0};
    return StrDesc{text.ptr + start + 1, static_cast<std::uint16_t>(end - start - 1)};
}

StrDesc FormatV(std::uint16_t max, const char* format, va_list args) {
    if (format == nullptr) return StrError(kErrData);
    va_list measure;
    va_copy(measure, args);
    int n = std::vsnprintf(nullptr, 0, format, measure);
    va_end(measure);
    if (n < 0) return StrError(kErrData);
    // One more byte than the text is needed for the terminator vsnprintf writes.
    if (n > max || n >= 0xFFFF) return ErrNoteDesc(kNoteFirst, kAreaFormatStrings, kErrStringTooLong, StrEmpty());
    std::uint16_t m = DynMark();
    StrDesc r = DynAlloc(static_cast<std::uint16_t>(n + 1));
    if (r.IsError()) return r;
    std::vsnprintf(r.mut(), std::size_t(n) + 1, format, args);
    return DynKeep(m, StrDesc{r.ptr, static_cast<std::uint16_t>(n)});
}

StrDesc Format(std::uint16_t max, const char* format, ...) {
    va_list args;
    va_start(args, format);
    StrDesc r = FormatV(max, format, args);
    va_end(args);
    return r;
}

StrDesc FormatTextList(std::uint16_t max, StrDesc format, const char* const* texts, std::size_t count) {
    if (format.IsError()) return format;
    std::string out;
    std::size_t next = 0;
    for (std::size_t i = 0; i < format.len; ++i) {
        char c = format.ptr[i];
        char after = i + 1 < format.len ? format.ptr[i + 1] : '\0';
        if (c == '%' && after == 's') {
            if (next < count && texts[next] != nullptr) out += texts[next];
            ++next;
            ++i;
        } else if (c == '%' && after == '%') {
            out += '%';
            ++i;
        } else {
            out += c;
        }
        if (out.size() > max || out.size() >= 0xFFFF) break;
    }
    if (out.size() > max || out.size() >= 0xFFFF)
        return ErrNoteDesc(kNoteFirst, kAreaFormatStrings, kErrStringTooLong, StrEmpty());
    return StrFromStd(out);
}

StrDesc BufPut(TextBuffer& buffer, StrDesc text, std::uint16_t position) {
    if (text.IsError()) return text;
    if (buffer.error != 0) return StrEmpty();
    if (buffer.block == nullptr) {
        buffer.error = kErrOutOfMemory;
        return StrEmpty();
    }
    if (position == 0xFFFF) position = buffer.length;
    std::uint32_t end = std::uint32_t(position) + text.len;
    if (end > buffer.capacity) {
        buffer.error = kErrStrConcatErr;
        return StrEmpty();
    }
    if (end > buffer.length) buffer.length = static_cast<std::uint16_t>(end);
    if (text.len) std::memmove(buffer.block + position, text.ptr, text.len);
    return StrDesc{buffer.block + position, text.len};
}

}  // namespace rt
