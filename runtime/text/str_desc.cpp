// Making, checking, comparing and copying text descriptors.
#include "runtime/text/str_desc.h"

#include <cstring>

#include "runtime/text/dyn_strings.h"
#include "runtime/text/err_codes.h"

namespace rt {

StrDesc StrFromC(const char* text) {
    if (text == nullptr) return StrError(kErrData);
    std::size_t n = std::strlen(text);
    return StrDesc{text, static_cast<std::uint16_t>(n > 0xFFFF ? 0xFFFF : n)};
}

ErrCode StrCheck(StrDesc d) {
    if (d.ptr != nullptr) return 0;
    return d.len != 0 ? d.len : kNone;
}

std::uint16_t StrCompare(StrDesc a, StrDesc b) {
    if (a.ptr == nullptr || b.ptr == nullptr) return kErrStrOutBound;
    std::uint16_t n = a.len < b.len ? a.len : b.len;
    for (std::uint16_t i = 0; i < n; ++i) {
        unsigned char x = a.bytes()[i], y = b.bytes()[i];
        if (x != y) return x > y ? 1 : 0xFFFF;
    }
    if (a.len == b.len) return 0;
    return a.len > b.len ? 1 : 0xFFFF;
}

StrDesc StrPutAt(StrDesc d, char* buffer, std::uint16_t offset) {
    if (d.IsError()) return d;
    if (d.len) std::memmove(buffer + offset, d.ptr, d.len);
    return StrDesc{buffer, static_cast<std::uint16_t>(offset + d.len)};
}

StrDesc StrCopy(StrDesc d) {
    ErrCode e = DynPush(d);
    return e ? StrError(e) : DynTop();
}

StrDesc StrConcat(StrDesc a, StrDesc b) {
    if (ErrCode e = StrCheck(a)) return StrError(e);
    if (ErrCode e = StrCheck(b)) return StrError(e);
    std::uint32_t total = std::uint32_t(a.len) + b.len;
    if (total > 0xFFFF) return StrError(kErrStringTooLong);  // a text cannot be longer than its length field holds
    StrDesc r = DynAlloc(static_cast<std::uint16_t>(total));
    if (r.IsError()) return r;
    // Operands may lie on the arena below the new allocation; they are never overwritten.
    if (a.len) std::memmove(r.mut(), a.ptr, a.len);
    if (b.len) std::memmove(r.mut() + a.len, b.ptr, b.len);
    return r;
}

StrDesc StrJoin(StrDesc a, StrDesc sep, StrDesc b) {
    if (ErrCode e = StrCheck(a)) return StrError(e);
    if (ErrCode e = StrCheck(b)) return StrError(e);
    std::uint16_t m = DynMark();
    StrDesc r;
    if (a.len == 0) r = b;
    else if (b.len == 0) r = a;
    else r = StrConcat(StrConcat(a, sep), b);
    return DynKeep(m, r);
}

StrDesc StrFill(std::uint16_t n, unsigned char byte) {
    StrDesc r = DynAlloc(n);
    if (!r.IsError() && byte != 255 && n) std::memset(r.mut(), byte, n);
    return r;
}

StrDesc StrRepeat(StrDesc d, std::uint16_t count) {
    if (ErrCode e = StrCheck(d)) return StrError(e);
    std::uint32_t total = std::uint32_t(d.len) * count;
    if (total > 0xFFFF) return StrError(kErrStringTooLong);
    StrDesc r = DynAlloc(static_cast<std::uint16_t>(total));
    if (r.IsError()) return r;
    for (std::uint16_t i = 0; i < count; ++i)
        if (d.len) std::memmove(r.mut() + std::size_t(i) * d.len, d.ptr, d.len);
    return r;
}

const char* StrToC(StrDesc d) {
    if (d.IsError()) return "";
    StrDesc r = StrConcat(d, StrDesc{"\0", 1});
    return r.IsError() ? "" : r.ptr;
}

}  // namespace rt
