// Cutting a built-in function's argument list, evaluating its arguments and reading them typed.
#include "runtime/expr/fn_args.h"

#include "runtime/expr/evaluator.h"
#include "runtime/text/err_codes.h"
#include "runtime/vars/var_arena_number.h"
#include "runtime/text/dyn_strings.h"
#include "runtime/text/slot_table.h"
#include "runtime/text/text_build.h"
#include "runtime/text/text_clean.h"

namespace rt {

std::uint16_t FnSplit(StrDesc text, StrDesc separators, StrDesc* pieces, std::uint16_t* offsets,
                      std::uint16_t max) {
    // A blank list holds no argument (ExpNextArg gives its one blank piece).
    if (text.IsError() || Trim(text, kTrimBoth).len == 0) return 0;
    std::uint16_t n = 0;
    std::uint32_t pos = 0;
    StrDesc piece;
    while (NextListPiece(text, separators, &pos, &piece)) {
        if (n < max) {
            pieces[n] = piece;
            if (offsets) offsets[n] = static_cast<std::uint16_t>(piece.ptr - text.ptr);
        }
        ++n;
    }
    return n;
}

void FnArgsCut(StrDesc raw, FnArgs& args) {
    args.all = raw.IsError() ? StrEmpty() : raw;
    args.pieces = FnSplit(args.all, S(";,"), args.raw, args.offset, kFnMaxArgs);
    args.count = args.pieces < kFnMaxArgs ? args.pieces : kFnMaxArgs;
    for (std::uint16_t i = 0; i < kFnMaxArgs; ++i) {
        args.kind[i] = kArgRaw;
        args.value[i] = StrEmpty();
    }
}

ErrCode FnEvalValue(StrDesc text, StrDesc* value, bool prepared) {
    ErrCode code = prepared ? ExpEvalPrepared(text) : ExpEval(text);
    if (code == kErrCancelled || code >= kErrSerious) return code;
    *value = DynTop();
    if (code == kExpNumber || code == kExpText) return code;
    return value->len == 8 ? kExpNumber : kExpText;
}

ErrCode FnArgEval(FnArgs& args, std::uint16_t i) {
    if (i >= args.count) return 0;
    unsigned char omitted = kFnOmittedByte;
    if (Trim(args.raw[i], kTrimBoth).len == 0) {
        args.kind[i] = kArgOmitted;
        args.value[i] = StrEmpty();
        return SlotPush(kFnArgsGroup, StrMake(reinterpret_cast<const char*>(&omitted), 1));
    }
    StrDesc value;
    // Arguments are cut from the caller's prepared expression: no need to prepare them again.
    ErrCode code = FnEvalValue(args.raw[i], &value, true);
    if (code >= kErrFirstFailure) return code;
    args.kind[i] = code == kExpNumber ? kArgNumber : kArgText;
    args.value[i] = value;
    // In group 35 a value lies behind one byte that gives its kind (0 number, 1 text).
    if (value.len == 0xFFFF) return kErrStringTooLong;
    std::uint16_t mark = DynMark();
    char kindByte = static_cast<char>(args.kind[i]);
    StrDesc entry = StrAssemble({StrMake(&kindByte, 1), value});
    ErrCode e = entry.IsError() ? entry.len : SlotPush(kFnArgsGroup, entry);
    DynRelease(mark);
    return e;
}

bool FnGiven(const FnArgs& args, std::uint16_t i) {
    return i < args.count && (args.kind[i] == kArgNumber || args.kind[i] == kArgText);
}

bool FnIsText(const FnArgs& args, std::uint16_t i) { return FnGiven(args, i) && args.kind[i] == kArgText; }

ErrCode FnArgNumber(const FnArgs& args, std::uint16_t i, FixedNumber def, FixedNumber* out) {
    if (!FnGiven(args, i)) {
        *out = def;
        return 0;
    }
    if (args.kind[i] != kArgNumber) return kErrIncompatibleTypes;
    *out = VarNumFromEntry(args.value[i]);
    return 0;
}

ErrCode FnArgLong(const FnArgs& args, std::uint16_t i, std::int64_t def, std::int64_t* out) {
    FixedNumber n = 0;
    if (ErrCode e = FnArgNumber(args, i, NumFromInteger(def), &n)) return e;
    *out = FnGiven(args, i) ? NumInteger(n) : def;
    return 0;
}

ErrCode FnArgInt(const FnArgs& args, std::uint16_t i, std::int16_t def, std::int16_t* out) {
    std::int64_t v = 0;
    if (ErrCode e = FnArgLong(args, i, def, &v)) return e;
    *out = static_cast<std::int16_t>(static_cast<std::uint16_t>(v & 0xFFFF));
    return 0;
}

ErrCode FnArgText(const FnArgs& args, std::uint16_t i, StrDesc def, StrDesc* out) {
    if (!FnGiven(args, i)) {
        *out = def;
        return 0;
    }
    if (args.kind[i] != kArgText) return kErrIncompatibleTypes;
    *out = args.value[i];
    return 0;
}

StrDesc FnArgAsText(const FnArgs& args, std::uint16_t i, StrDesc def) {
    if (!FnGiven(args, i)) return def;
    if (args.kind[i] == kArgText) return args.value[i];
    return NumText(VarNumFromEntry(args.value[i]));
}

ErrCode FnNumber(FixedNumber n) {
    ErrCode e = VarNumPush(n);
    return e ? e : kExpNumber;
}

ErrCode FnInteger(std::int64_t i) { return FnNumber(NumFromInteger(i)); }

ErrCode FnText(StrDesc t) {
    if (t.IsError()) return t.len;
    ErrCode e = DynPush(t);
    return e ? e : kExpText;
}

StrDesc FnStripParens(StrDesc text) {
    text = Trim(text, kTrimBoth);
    if (text.len < 2 || text.ptr[0] != '(' || text.ptr[text.len - 1] != ')') return text;
    // Only a '(' closed by the last byte encloses the whole text: "(a)+(b)" stays as it is.
    return FindClosingParen(text, 0) == text.len - 1 ? StrMake(text.ptr + 1, text.len - 2) : text;
}

}  // namespace rt
