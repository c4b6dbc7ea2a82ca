// Scanning a prepared expression: one operand and the operator after it per step, in place, with
// byte tables so that each character costs one lookup.
#include "runtime/expr/exp_scan.h"

#include <cstring>

#include "runtime/data/fields.h"
#include "runtime/expr/builtin_functions.h"
#include "runtime/text/err_codes.h"
#include "runtime/text/text_search.h"

namespace rt {
namespace {

// Bit 1: operator character; bit 2: possible second character of a two-character operator;
// bit 4: quote.
struct CharTable {
    std::uint8_t bits[256] = {};
    constexpr CharTable() {
        const unsigned char ops[] = {'*', '/', '!', '%', kLessPercentChar, '+', '-', '(', ';',
                                     ',', ':', ')', '=', '>', '<', '&', '@', '|'};
        for (unsigned char c : ops) bits[c] |= 1;
        const unsigned char seconds[] = {'=', '>', '<', '&', '@', '|'};
        for (unsigned char c : seconds) bits[c] |= 2;
        bits[static_cast<unsigned char>('\'')] |= 4;
        bits[static_cast<unsigned char>('"')] |= 4;
    }
};
constexpr CharTable kChars;

constexpr std::uint16_t kPriority[kOpCount + 1] = {0, 4, 4, 4, 4, 4, 3, 3, 0, 2, 2, 2, 2, 2, 2, 1, 5, 1, 1, 1, 1};

// The end of the quoted section opened at i (the position of its closing quote), or len.
inline std::uint32_t SkipQuote(const unsigned char* b, std::uint32_t i, std::uint32_t len) {
    const void* close = std::memchr(b + i + 1, b[i], len - i - 1);
    return close ? std::uint32_t(static_cast<const unsigned char*>(close) - b) : len;
}

bool IsTextFieldType(char type) {
    switch (type) {
        case 'A': case 'B': case 'C': case 'D': case 'F': case 'P': return true;
        default: return false;
    }
}

// Reads the operator that starts at position at (or the end of the text) into the cursor.
void TakeOperator(ExpCursor& c, std::uint16_t at) {
    const StrDesc& t = c.text;
    if (at >= t.len) {
        c.next = t.len;
        return;
    }
    unsigned char ch = t.bytes()[at];
    if (ch == ';' || ch == ',') {
        c.next = static_cast<std::uint16_t>(at + 1);
        return;
    }
    std::uint16_t n = (at + 1 < t.len && ExpIsSecondChar(t.bytes()[at + 1])) ? 2 : 1;
    c.next = static_cast<std::uint16_t>(at + n);
    c.op = ExpOperatorOf(t.bytes() + at, n);
    c.priority = ExpPriority(c.op);
}

}  // namespace

bool ExpIsOperatorChar(unsigned char c) { return (kChars.bits[c] & 1) != 0; }
bool ExpIsSecondChar(unsigned char c) { return (kChars.bits[c] & 2) != 0; }

std::uint16_t ExpPriority(std::uint16_t op) { return op <= kOpCount ? kPriority[op] : 0; }

std::uint16_t ExpOperatorOf(const unsigned char* t, std::uint16_t len) {
    if (len == 1) {
        switch (t[0]) {
            case '*': return kOpMul;
            case '/': return kOpDiv;
            case '!': return kOpRound;
            case '%': return kOpPercent;
            case kLessPercentChar: return kOpLessPercent;
            case '+': return kOpAdd;
            case '-': return kOpSub;
            case '=': return kOpAssign;
            case '>': return kOpGreater;
            case '<': return kOpLess;
            case '&': return kOpBitAnd;
            case '|': return kOpBitOr;
            case '@': return kOpBitOrAt;
            default: return kOpNone;
        }
    }
    if (len != 2) return kOpNone;
    switch ((unsigned(t[0]) << 8) | t[1]) {
        case ('=' << 8) | '=': return kOpEqual;
        case ('>' << 8) | '=': return kOpGreaterEq;
        case ('<' << 8) | '=': return kOpLessEq;
        case ('<' << 8) | '>': return kOpNotEqual;
        case ('&' << 8) | '&': return kOpAnd;
        case ('|' << 8) | '|': return kOpOr;
        case ('@' << 8) | '@': return kOpXor;
        default: return kOpNone;
    }
}

std::uint16_t ExpFindOperator(StrDesc text, std::uint16_t from) {
    const unsigned char* b = text.bytes();
    std::uint32_t len = text.len;
    for (std::uint32_t i = from; i < len; ++i) {
        std::uint8_t bits = kChars.bits[b[i]];
        if (bits == 0) continue;
        if (bits & 4) {
            i = SkipQuote(b, i, len);
            continue;
        }
        if (bits & 1) return static_cast<std::uint16_t>(i);
    }
    return text.len;
}

std::uint16_t ExpMatchParen(StrDesc text, std::uint16_t open) {
    const unsigned char* b = text.bytes();
    std::uint32_t len = text.len;
    std::uint32_t depth = 0;
    for (std::uint32_t i = open; i < len; ++i) {
        unsigned char c = b[i];
        if (kChars.bits[c] & 4) {
            i = SkipQuote(b, i, len);
        } else if (c == '(') {
            ++depth;
        } else if (c == ')') {
            if (--depth == 0) return static_cast<std::uint16_t>(i);
        }
    }
    return kNone;
}

bool ExpNextArg(StrDesc list, std::uint32_t* pos, StrDesc* arg) {
    return NextListPiece(list, S(";,"), pos, arg);
}

std::uint16_t ExpKindOfText(StrDesc text) {
    if (text.len == 0) return 0;
    bool dollar = false, hash = false, brace = false;
    for (std::uint16_t i = 0; i < text.len; ++i) {
        switch (text.ptr[i]) {
            case '\'': case '"': return kOpText;
            case '$': dollar = true; break;
            case '#': hash = true; break;
            case '{': brace = true; break;
            default: break;
        }
    }
    if (dollar) return kOpText | kOpVariable;
    if (hash) return kOpVariable | kOpNumVariable;
    if (brace) return kOpField;
    return text.bytes()[0] >= 'A' ? kOpVariable : 0;
}

void ExpScan(ExpCursor& c) {
    c.op = kOpNone;
    c.priority = 0;
    c.kind = 0;
    c.function = 0;
    c.parenLength = 0;
    c.status = 0;
    c.file = 0;
    c.field = 0;
    c.fieldType = 0;
    c.start = c.next;
    if (c.text.IsError() || c.start >= c.text.len) {
        c.start = c.next = c.text.IsError() ? 0 : c.text.len;
        c.operandLength = 0;
        c.status = kErrNullExpression;
        return;
    }
    std::uint16_t at = ExpFindOperator(c.text, c.start);
    c.operandLength = static_cast<std::uint16_t>(at - c.start);
    StrDesc name{c.text.ptr + c.start, c.operandLength};

    if (at < c.text.len && c.text.ptr[at] == '(') {
        std::uint16_t close = ExpMatchParen(c.text, at);
        if (close == kNone) {
            c.next = c.text.len;
            c.status = kErrLoopFailure;
            return;
        }
        c.parenLength = static_cast<std::uint16_t>(close - at - 1);
        std::uint16_t after = static_cast<std::uint16_t>(close + 1);
        std::uint16_t op = ExpFindOperator(c.text, after);
        // Nothing may stand between the ')' and the next operator, and a '(' cannot follow it.
        if (op != after || (op < c.text.len && c.text.ptr[op] == '(')) {
            c.next = c.text.len;
            c.status = kErrSintaxError;
            return;
        }
        TakeOperator(c, op);
        if (name.len == 0) {
            c.kind = kOpParens;
            return;
        }
        c.function = FnLookup(name);
        c.kind = static_cast<std::uint16_t>((c.function ? kOpFunction : kOpArray) | ExpKindOfText(name));
        return;
    }

    TakeOperator(c, at);
    if (name.len == 0) {
        c.status = kErrNullExpression;
        return;
    }
    c.kind = ExpKindOfText(name);
    if (c.kind == kOpField) {
        FieldDesc d = FieldRef(name);
        if (d.status != 0) {
            c.status = d.status;
            return;
        }
        c.file = d.file;
        c.field = d.field;
        c.fieldType = d.type;
        if (IsTextFieldType(d.type)) c.kind |= kOpText;
    }
}

}  // namespace rt
