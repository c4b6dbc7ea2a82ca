// Text and list functions: FN#SLEN, FN#PARM, FN$CHNG, FN$CHRS, FN$MIDS, FN$PARM, FN$TRIM, ENVELOP$,
// EXP$.
#include "runtime/expr/fn_internal.h"
#include "runtime/text/err_codes.h"
#include "runtime/vars/var_arena_number.h"
#include "runtime/text/dyn_strings.h"
#include "runtime/text/text_build.h"
#include "runtime/text/text_clean.h"
#include "runtime/text/text_lists.h"

namespace rt {

ErrCode FnSlen(FnArgs& a) {
    StrDesc t;
    if (ErrCode e = FnArgText(a, 0, StrEmpty(), &t)) return e;
    return FnInteger(t.len);
}

ErrCode FnParmNumber(FnArgs& a) {
    StrDesc list;
    if (ErrCode e = FnArgText(a, 0, StrEmpty(), &list)) return e;
    if (a.count < 2) return FnInteger(ItemCount(list, ','));
    if (a.count >= 3 && FnGiven(a, 2) && !FnIsText(a, 2)) {
        // A number third argument: the first range item a-b of the list holding the value.
        std::int64_t value = 0;
        if (ErrCode e = FnArgLong(a, 1, 0, &value)) return e;
        return FnInteger(RangeIndex(list, value));
    }
    std::uint16_t position = ItemIndex(list, FnArgAsText(a, 1, StrEmpty()), ',');
    if (a.count < 3 || !FnGiven(a, 2)) return FnInteger(position);
    // A text third argument: its item at the position found, read as a number.
    return FnNumber(NumRead(Item(a.value[2], ',', position)));
}

ErrCode FnChng(FnArgs& a) {
    StrDesc subject, what, with;
    if (ErrCode e = FnArgText(a, 0, StrEmpty(), &subject)) return e;
    if (ErrCode e = FnArgText(a, 1, StrEmpty(), &what)) return e;
    if (ErrCode e = FnArgText(a, 2, StrEmpty(), &with)) return e;
    switch (ItemIndex(S("UCASE,LCASE,CLEAN,FILTER"), what, ',')) {
        case 1: return FnText(CaseFold(subject, kCaseUpper));
        case 2: return FnText(CaseFold(subject, kCaseLower));
        case 3: return FnText(Collapse(subject, ' ', kQuoteAware));
        case 4:
            if (FnIsText(a, 3) && a.value[3].len > 0) {
                StrDesc chars = a.value[3];
                return FnText(MapSeqs(subject, with, chars.len, chars));
            }
            return FnText(KeepChars(subject, with));
        default: break;
    }
    // Replacing inside quoted sections too only when asked by a non-zero number.
    SearchMode mode = kQuoteAware;
    if (FnGiven(a, 3) && !FnIsText(a, 3) && VarNumFromEntry(a.value[3]) != 0) mode = kExact;
    return FnText(ReplaceAll(subject, what, with, mode));
}

ErrCode FnChrs(FnArgs& a) {
    StrDesc piece;
    if (FnGiven(a, 0) && !FnIsText(a, 0)) {
        std::int64_t code = NumInteger(VarNumFromEntry(a.value[0]));
        piece = StrChar(static_cast<unsigned char>(code & 0xFF));
    } else {
        piece = FnArgAsText(a, 0, StrEmpty());
    }
    std::int16_t times = 1;
    if (ErrCode e = FnArgInt(a, 1, 1, &times)) return e;
    if (times <= 0) return FnText(StrEmpty());
    if (std::uint32_t(piece.len) * std::uint32_t(times) > 0xFFFF) return kErrStringTooLong;
    return FnText(StrRepeat(piece, static_cast<std::uint16_t>(times)));
}

ErrCode FnMids(FnArgs& a) {
    StrDesc t;
    std::int64_t start = 0, count = 0;
    if (ErrCode e = FnArgText(a, 0, StrEmpty(), &t)) return e;
    if (ErrCode e = FnArgLong(a, 1, -1, &start)) return e;
    if (ErrCode e = FnArgLong(a, 2, -1, &count)) return e;
    // Start: 1-based, negative from the end (-1 the last byte).
    std::int64_t from = start < 0 ? std::int64_t(t.len) + start : start - 1;
    if (from < 0) from = 0;
    if (from >= t.len) return FnText(StrEmpty());
    std::int64_t left = t.len - from;
    if (count < 0 || count > left) count = left;
    return FnText(StrMake(t.ptr + from, static_cast<std::uint16_t>(count)));
}

ErrCode FnParmText(FnArgs& a) {
    StrDesc list;
    std::int16_t n = -1, sep = 44;
    if (ErrCode e = FnArgText(a, 0, StrEmpty(), &list)) return e;
    if (ErrCode e = FnArgInt(a, 1, -1, &n)) return e;
    if (ErrCode e = FnArgInt(a, 2, 44, &sep)) return e;
    if (n <= 0) return FnText(StrEmpty());
    return FnText(Item(list, static_cast<unsigned char>(sep & 0xFF), static_cast<std::uint16_t>(n)));
}

ErrCode FnTrim(FnArgs& a) {
    StrDesc value = FnArgAsText(a, 0, StrEmpty());
    StrDesc how;
    if (ErrCode e = FnArgText(a, 1, S("BOTHTRIM"), &how)) return e;
    const StrDesc blank = S(" ");
    switch (ItemIndex(S("LEFTTRIM,RIGHTRIM,BOTHTRIM,FIT"), how, ',')) {
        case 1: return FnText(TrimSet(value, kTrimLeft, blank));
        case 2: return FnText(TrimSet(value, kTrimRight, blank));
        case 3: return FnText(TrimSet(value, kTrimBoth, blank));
        case 4: {
            StrDesc t = TrimSet(value, kTrimBoth, blank);
            StrDesc inner = Unquote(t);
            if (inner.len != t.len) return FnText(inner);
            return FnText(CaseFold(t, kCaseUpper));
        }
        default: return kErrSintaxError;
    }
}

ErrCode FnEnvelop(FnArgs& a) {
    StrDesc t;
    std::int16_t open = 39;
    if (ErrCode e = FnArgText(a, 0, StrEmpty(), &t)) return e;
    if (ErrCode e = FnArgInt(a, 1, 39, &open)) return e;
    // A closing bracket, like any byte that opens nothing, closes by itself.
    return FnText(Wrap(t, static_cast<unsigned char>(open & 0xFF)));
}

namespace {

// The scanner's cut of a raw text into operands: at the separators and at the operator characters,
// a name followed by parentheses staying one operand with them.
constexpr StrDesc kOperatorChars{"*/!%\xF7+-(;,:)=><&@|", 18};

std::uint16_t CutOperands(StrDesc text, StrDesc* operands, std::uint16_t max) {
    std::uint16_t n = 0;
    std::uint32_t i = 0, start = 0;
    unsigned char quote = 0;
    auto put = [&](std::uint32_t end) {
        if (n < max) operands[n] = StrMake(text.ptr + start, static_cast<std::uint16_t>(end - start));
        ++n;
    };
    while (i < text.len) {
        unsigned char c = text.bytes()[i];
        if (quote) {
            if (c == quote) quote = 0;
            ++i;
            continue;
        }
        if (IsQuote(c)) {
            quote = c;
            ++i;
            continue;
        }
        if (FindChar(kOperatorChars, 0, c, kExact) == kNone) {
            ++i;
            continue;
        }
        if (c == '(') {
            // The parentheses and what they hold belong to the operand.
            std::uint16_t close = FindClosingParen(text, static_cast<std::uint16_t>(i));
            i = close == kNone ? text.len : close + 1u;
            continue;
        }
        put(i);
        ++i;
        // A second operator character of a two-character operator.
        if (c != ';' && c != ',' && i < text.len && FindChar(S("=><&@|"), 0, text.bytes()[i], kExact) != kNone) ++i;
        start = i;
    }
    if (start < text.len || n == 0) put(text.len);
    return n;
}

}  // namespace

ErrCode FnExpTemplate(FnArgs& a) {
    StrDesc t;
    if (ErrCode e = FnArgText(a, 0, StrEmpty(), &t)) return e;
    if (a.pieces < 2) return FnText(t);
    std::uint16_t restAt = a.offset[1];
    StrDesc rest = StrMake(a.all.ptr + restAt, static_cast<std::uint16_t>(a.all.len - restAt));
    constexpr std::uint16_t kMaxOperands = 64;
    StrDesc operands[kMaxOperands];
    std::uint16_t n = CutOperands(rest, operands, kMaxOperands);
    if (n > kMaxOperands) n = kMaxOperands;
    std::uint16_t mark = DynMark();
    StrDesc result = t;
    for (std::uint16_t k = 1; k <= n; ++k) {
        StrDesc tag = Format(16, "$%u_", unsigned(k));
        StrDesc next = ReplaceAll(result, tag, operands[k - 1], kExact);
        if (next.IsError()) return next.len;
        result = DynKeep(mark, next);
    }
    return FnText(result);
}

}  // namespace rt
