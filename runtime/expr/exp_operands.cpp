// Evaluating one operand: sub-expressions, built-in function calls, array elements, field
// references, variables, text literals, number literals and named constants.
#include <cstring>

#include "runtime/data/fields.h"
#include "runtime/env/errors.h"
#include "runtime/expr/builtin_functions.h"
#include "runtime/expr/exp_scan.h"
#include "runtime/expr/exp_value.h"
#include "runtime/text/err_codes.h"
#include "runtime/vars/var_arrays.h"
#include "runtime/vars/variables.h"
#include "runtime/text/dyn_strings.h"
#include "runtime/text/text_clean.h"

namespace rt {
namespace {

struct NamedConstant {
    StrDesc name;
    std::int32_t value;
};
// Item numbers of the runtime's lists, for the built-in function _$ and its friends.
const NamedConstant kConstants[] = {
    {S(".envron"), 0},    {S(".lang"), 0},       {S(".cmdline"), 1},    {S(".apname"), 2},
    {S(".apdesc"), 3},    {S(".langmodule"), 4}, {S(".docpath"), 5},    {S(".docroot"), 5},
    {S(".helppath"), 7},  {S(".funclist"), 8},   {S(".butlabels"), 9},  {S(".maskparms"), 10},
    {S(".datem"), 100},   {S(".datey"), 10000},  {S(".envvar"), 9},     {S(".maincond"), 1},
    {S(".pdfhead"), 3},   {S(".dialog"), 7},     {S(".aux"), 31},       {S(".scrbuf"), 32},
    {S(".fsel"), 33},     {S(".wret"), 34},      {S(".fnparm"), 35},    {S(".usrfil"), 36},
    {S(".fileln"), 37},   {S(".usrfif"), 38},    {S(".top"), 36},       {S(".next"), 16},
    {S(".previous"), 20}, {S(".bottom"), 32},    {S(".noprint"), 8192}, {S(".iscgi"), 16384},
};

bool IsLetter(unsigned char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }
bool IsDigit(unsigned char c) { return c >= '0' && c <= '9'; }

bool FindConstant(StrDesc name, std::int32_t* value) {
    if (name.len < 2 || name.ptr[0] != '.' || !IsLetter(name.bytes()[1])) return false;
    for (const NamedConstant& c : kConstants) {
        if (c.name.len == name.len && std::memcmp(c.name.ptr, name.ptr, name.len) == 0) {
            *value = c.value;
            return true;
        }
    }
    return false;
}

// Plain decimal literals ("12", "2.5") are read here without building any text; everything else
// (blanks, the D notation, foreign characters, long numbers) goes to the general reader.
FixedNumber ReadNumber(StrDesc t) {
    const int p = NumDecimals();
    const unsigned char* b = t.bytes();
    std::uint16_t i = 0, n = t.len;
    std::int64_t v = 0;
    int digits = 0;
    while (i < n && IsDigit(b[i]) && digits < 15) {
        v = v * 10 + (b[i++] - '0');
        ++digits;
    }
    if (p > 3 || (i < n && b[i] != '.') || digits == 15) return NumRead(t);
    v *= NumPow10(p);
    if (i < n) {
        ++i;  // the point
        std::int64_t unit = NumPow10(p);
        for (int k = 0; k < p; ++k) {
            unit /= 10;
            if (i < n && IsDigit(b[i])) v += std::int64_t(b[i++] - '0') * unit;
        }
        if (i < n && IsDigit(b[i]) && b[i] >= '5') v += 1;
        while (i < n && IsDigit(b[i])) ++i;
        if (i < n) return NumRead(t);
    }
    return v;
}

// The value of a literal: blanks trimmed, one pair of enclosing quotes removed; a literal that is not
// enclosed in a matching pair is taken in upper case.
StrDesc LiteralText(StrDesc t) {
    while (t.len && t.ptr[0] == ' ') {
        ++t.ptr;
        --t.len;
    }
    while (t.len && t.ptr[t.len - 1] == ' ') --t.len;
    if (t.len >= 2 && IsQuote(t.bytes()[0]) && t.ptr[t.len - 1] == t.ptr[0])
        return StrDesc{t.ptr + 1, static_cast<std::uint16_t>(t.len - 2)};
    return CaseFold(t, kCaseUpper);
}

// Reads the arena entries above mark as the result of a call or a read.
ErrCode TakeResult(std::uint16_t mark, bool text, ExpValue* out) {
    if (DynMark() == mark) {
        *out = text ? ExpValue::Text(StrEmpty()) : ExpValue::Number(0);
        return 0;
    }
    StrDesc top = DynTop();
    if (DynMark() != mark + 1) {
        top = DynKeep(mark, top);
        if (top.IsError()) return top.len;
    }
    if (text) {
        *out = ExpValue::Text(top);
    } else {
        *out = ExpValue::Number(VarNumFromEntry(top));
        DynRelease(mark);
    }
    return 0;
}

// CHK# or CHK$ chose a value of the other kind.
constexpr ErrCode kStatusOtherKind = kErrAtypicalType;

bool HasByte(StrDesc t, char c) { return t.len && std::memchr(t.ptr, c, t.len) != nullptr; }

ErrCode CallFunction(const ExpCursor& c, StrDesc name, StrDesc args, ExpValue* out) {
    std::uint16_t mark = DynMark();
    ErrCode r = FnCall(c.function, args);
    if (r >= kErrSerious) {
        DynRelease(mark);
        return r;
    }
    // A status instead of a kind: the kind follows the name ('$' gives a text).
    bool text = r == kExpText || (r != kExpNumber && HasByte(name, '$'));
    if (r == kStatusOtherKind) {
        // The chosen value is of the other kind; its bytes must not be read as this kind's value.
        DynRelease(mark);
        *out = text ? ExpValue::Text(StrEmpty()) : ExpValue::Number(0);
        return r;
    }
    if (ErrCode e = TakeResult(mark, text, out)) return e;
    return r <= kExpText ? 0 : r;
}

ErrCode ReadElement(StrDesc name, StrDesc list, ExpValue* out) {
    ExpIndexes idx;
    if (ErrCode e = ExpEvalIndexes(list, &idx)) return e;
    std::uint16_t mark = DynMark();
    ErrCode e = VarArrayGet(name, idx.index, idx.count);
    if (e != 0) {
        DynRelease(mark);
        return e;
    }
    return TakeResult(mark, VarKindOf(name) == kVarText, out);
}

ErrCode ReadField(const ExpCursor& c, ExpValue* out) {
    // {FILE} alone stands for the file itself: its number.
    if (c.field == 0) {
        *out = ExpValue::Number(NumFromInteger(c.file));
        return 0;
    }
    StrDesc raw = FieldGet(c.file, c.field);
    if (raw.IsError()) return raw.len;
    if (c.kind & kOpText) {
        // A copy: the record may change while the expression runs.
        if (ErrCode e = DynPush(raw)) return e;
        *out = ExpValue::Text(DynTop());
        return 0;
    }
    *out = ExpValue::Number(NumRead(raw));
    return 0;
}

ErrCode ReadVariable(StrDesc name, bool text, ExpValue* out) {
    std::uint16_t mark = DynMark();
    ErrCode e = VarGet(name);
    if (e != 0) {
        DynRelease(mark);
        return e;
    }
    return TakeResult(mark, text, out);
}

ErrCode Evaluate(const ExpCursor& c, ExpValue* out) {
    StrDesc name{c.text.ptr + c.start, c.operandLength};
    StrDesc inner{c.text.ptr + c.start + c.operandLength + 1, c.parenLength};
    const std::uint16_t kind = c.kind;
    if (kind & kOpParens) {
        ErrCode e = ExpEvalStatements(inner, out);
        return e == kErrNullExpression ? 0 : e;
    }
    if (kind & kOpFunction) return CallFunction(c, name, inner, out);
    if (kind & kOpArray) {
        if ((kind & kOpVariable) == 0) return kErrSintaxError;
        return ReadElement(name, inner, out);
    }
    if (kind & kOpField) return ReadField(c, out);
    if (kind & kOpVariable) return ReadVariable(name, (kind & kOpText) != 0, out);
    if (kind & kOpText) {
        StrDesc t = LiteralText(name);
        if (t.IsError()) return t.len;
        *out = ExpValue::Text(t);
        return 0;
    }
    std::int32_t constant = 0;
    *out = ExpValue::Number(FindConstant(name, &constant) ? NumFromInteger(constant) : ReadNumber(name));
    return 0;
}

}  // namespace

StrDesc ExpOperandText(const ExpCursor& c) {
    std::uint32_t len = c.operandLength;
    if (c.kind & (kOpParens | kOpFunction | kOpArray)) len += c.parenLength + 2u;
    if (c.start + len > c.text.len) len = c.text.len - c.start;
    return StrDesc{c.text.ptr + c.start, static_cast<std::uint16_t>(len)};
}

ErrCode ExpOperand(const ExpCursor& c, ExpValue* out) {
    *out = ExpValue::Number(0);
    out->kind = c.kind;
    if (c.status >= kErrSerious) {
        ExpCountReport();
        return ErrSetText(c.status, ExpOperandText(c));
    }
    if (c.status == kErrNullExpression) return kErrNullExpression;
    if (c.op == kOpAssign) return 0;  // an assignment's target is not read
    ErrCode e = Evaluate(c, out);
    if (e >= kErrSerious) {
        ExpCountReport();
        ErrSetText(e, ExpOperandText(c));
    }
    // What the operand was matters to the operator after it (number field references); a computed
    // value keeps only its text bit.
    out->kind = (c.kind & (kOpParens | kOpFunction)) ? (out->text ? kOpText : 0) : c.kind;
    return e;
}

ErrCode ExpEvalIndexes(StrDesc list, ExpIndexes* out) {
    *out = ExpIndexes{};
    std::uint32_t pos = 0;
    StrDesc piece;
    while (out->count < 5 && ExpNextArg(list, &pos, &piece)) {
        DynScope scope;
        ExpValue v;
        ErrCode e = ExpEvalPiece(piece, &v);
        if (e >= kErrSerious || e == kErrCancelled) return e;
        if (v.text) return kErrIncompatibleTypes;
        std::int64_t i = NumInteger(v.num);
        out->index[out->count++] = i > INT32_MAX ? INT32_MAX : i < INT32_MIN ? INT32_MIN : static_cast<std::int32_t>(i);
    }
    return 0;
}

}  // namespace rt
