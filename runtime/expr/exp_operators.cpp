// Number and text columns of the operators.
#include "runtime/expr/exp_operators.h"

#include <cstring>

#include "runtime/expr/exp_scan.h"
#include "runtime/text/err_codes.h"
#include "runtime/vars/var_system.h"
#include "runtime/text/dyn_strings.h"

namespace rt {
namespace {


inline unsigned char Upper(unsigned char c) { return (c >= 'a' && c <= 'z') ? static_cast<unsigned char>(c - 32) : c; }

bool SameIgnoringCase(const unsigned char* a, const unsigned char* b, std::uint16_t n) {
    for (std::uint16_t i = 0; i < n; ++i)
        if (Upper(a[i]) != Upper(b[i])) return false;
    return true;
}

bool ContainsIgnoringCase(StrDesc text, StrDesc sub) {
    if (sub.len == 0) return true;
    if (sub.len > text.len) return false;
    for (std::uint32_t i = 0; i + sub.len <= text.len; ++i)
        if (SameIgnoringCase(text.bytes() + i, sub.bytes(), sub.len)) return true;
    return false;
}

ErrCode NumberColumn(std::uint16_t op, FixedNumber a, FixedNumber b, FixedNumber* out) {
    const std::int64_t s = NumScale();
    const FixedNumber truth = s;
    // Integer parts for the bit operators (truncated).
    auto ia = [&] { return a / s; };
    auto ib = [&] { return b / s; };
    switch (op) {
        case kOpMul: *out = NumMul(a, b); break;
        case kOpDiv: *out = NumDiv(a, b); break;
        case kOpRound: *out = NumRoundTo(a, b); break;
        case kOpPercent: *out = NumPercent(a, b); break;
        case kOpLessPercent: *out = NumSub(a, NumPercent(a, b)); break;
        case kOpAdd: *out = NumAdd(a, b); break;
        case kOpSub: *out = NumSub(a, b); break;
        case kOpGreater: *out = a > b ? truth : 0; break;
        case kOpLess: *out = a < b ? truth : 0; break;
        case kOpEqual: *out = a == b ? truth : 0; break;
        case kOpGreaterEq: *out = a >= b ? truth : 0; break;
        case kOpLessEq: *out = a <= b ? truth : 0; break;
        case kOpNotEqual: *out = a != b ? truth : 0; break;
        case kOpBitAnd: *out = NumFromInteger(ia() & ib()); break;
        case kOpBitOr:
        case kOpBitOrAt: *out = (ia() & ib()) == 0 ? NumFromInteger(ia() | ib()) : 0; break;
        case kOpAnd: *out = (a != 0 && b != 0) ? truth : 0; break;
        case kOpOr: *out = (a != 0 || b != 0) ? truth : 0; break;
        case kOpXor: *out = ((ia() | ib()) != 0 && (ia() & ib()) == 0) ? truth : 0; break;
        default: return kErrSintaxError;
    }
    return 0;
}

ErrCode TextColumn(std::uint16_t op, StrDesc a, StrDesc b, ExpValue* out) {
    if (op == kOpAdd) {
        std::uint32_t total = std::uint32_t(a.len) + b.len;
        if (total > 0xFFFF) return kErrStringTooLong;
        StrDesc r = DynAlloc(static_cast<std::uint16_t>(total));
        if (r.IsError()) return r.len;
        if (a.len) std::memmove(r.mut(), a.ptr, a.len);
        if (b.len) std::memmove(r.mut() + a.len, b.ptr, b.len);
        *out = ExpValue::Text(r);
        out->kind = kOpText;
        return 0;
    }
    bool t;
    switch (op) {
        case kOpGreater: t = ExpCompareText(a, b) > 0; break;
        case kOpLess: t = ExpCompareText(a, b) < 0; break;
        case kOpEqual: t = ExpTextEquals(a, b); break;
        case kOpGreaterEq: t = ExpCompareText(a, b) >= 0; break;
        case kOpLessEq: t = ExpCompareText(a, b) <= 0; break;
        case kOpNotEqual: t = ExpCompareText(a, b) != 0; break;
        default: return kErrSintaxError;
    }
    *out = ExpValue::Number(t ? NumScale() : 0);
    return 0;
}

}  // namespace

int ExpCompareText(StrDesc a, StrDesc b) {
    std::uint16_t n = a.len < b.len ? a.len : b.len;
    int c = n ? std::memcmp(a.ptr, b.ptr, n) : 0;
    if (c != 0) return c < 0 ? -1 : 1;
    return a.len == b.len ? 0 : (a.len < b.len ? -1 : 1);
}

bool ExpTextEquals(StrDesc left, StrDesc pattern) {
    if (ExpCompareText(left, pattern) == 0) return true;
    if (SysBits(kSysAuxStat) & kAuxNoWildcards) return false;
    const void* star = pattern.len ? std::memchr(pattern.ptr, '*', pattern.len) : nullptr;
    if (star == nullptr) return false;
    std::uint16_t k = static_cast<std::uint16_t>(static_cast<const char*>(star) - pattern.ptr);
    if (k > 0) return left.len >= k && SameIgnoringCase(left.bytes(), pattern.bytes(), k);
    // "*TEXT*" or "*TEXT": TEXT anywhere in the left text.
    StrDesc rest{pattern.ptr + 1, static_cast<std::uint16_t>(pattern.len - 1)};
    const void* end = rest.len ? std::memchr(rest.ptr, '*', rest.len) : nullptr;
    if (end) rest.len = static_cast<std::uint16_t>(static_cast<const char*>(end) - rest.ptr);
    return ContainsIgnoringCase(left, rest);
}

ErrCode ExpCombine(std::uint16_t op, const ExpValue& left, const ExpValue& right, ExpValue* out) {
    if (left.text && right.text) return TextColumn(op, left.str, right.str, out);
    FixedNumber b = right.num;
    if (left.text != right.text) {
        // A number field on the left takes a text on the right as a number text.
        bool numberField = !left.text && (left.kind & kOpField) != 0;
        if (!numberField) return kErrIncompatibleTypes;
        b = NumRead(right.str);
    }
    FixedNumber r = 0;
    if (ErrCode e = NumberColumn(op, left.num, b, &r)) return e;
    *out = ExpValue::Number(r);
    return 0;
}

}  // namespace rt
