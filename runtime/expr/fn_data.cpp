// Data-file functions: FN$FLDS, KEY$, IER, SQLCHILD, and the record-access functions that wait for
// the record layer.
#include "runtime/data/fields.h"
#include "runtime/data/file_table.h"
#include "runtime/data/keys.h"
#include "runtime/data/record_buffer.h"
#include "runtime/env/errors.h"
#include "runtime/expr/evaluator.h"
#include "runtime/expr/fn_internal.h"
#include "runtime/text/err_codes.h"
#include "runtime/vars/var_arena_number.h"
#include "runtime/vars/var_arrays.h"
#include "runtime/vars/var_system.h"
#include "runtime/vars/variables.h"
#include "runtime/text/dyn_strings.h"
#include "runtime/text/text_build.h"
#include "runtime/text/text_clean.h"

namespace rt {

namespace {

// An array element NAME(i;j;...) read as text (a number element as its canonical text).
ErrCode ArrayElementText(StrDesc ref, std::uint16_t paren) {
    StrDesc name = StrMake(ref.ptr, paren);
    if (ref.ptr[ref.len - 1] != ')') return kErrSintaxError;
    StrDesc inside = StrMake(ref.ptr + paren + 1, static_cast<std::uint16_t>(ref.len - paren - 2));
    StrDesc pieces[kVarArrayMaxDims + 1];
    std::uint16_t n = FnSplit(inside, S(";,"), pieces, nullptr, kVarArrayMaxDims + 1);
    if (n == 0) return kErrSintaxError;
    if (n > kVarArrayMaxDims) return kErrDimStrucError;
    std::int32_t index[kVarArrayMaxDims] = {};
    for (std::uint16_t i = 0; i < n; ++i) {
        DynScope scope;
        StrDesc value;
        ErrCode code = FnEvalValue(pieces[i], &value);
        if (code >= kErrFirstFailure) return code;
        if (code != kExpNumber) return kErrIncompatibleTypes;
        std::int64_t v = NumInteger(VarNumFromEntry(value));
        if (v < 0 || v > 0x7FFFFFFF) return kErrDataOutBound;
        index[i] = static_cast<std::int32_t>(v);
    }
    std::uint16_t mark = DynMark();
    if (ErrCode e = VarArrayGet(name, index, n)) return e;
    if (VarKindOf(name) == kVarText) return kExpText;
    StrDesc text = NumText(VarNumFromEntry(DynTop()));
    if (text.IsError()) return text.len;
    DynKeep(mark, text);
    return kExpText;
}

}  // namespace

ErrCode FnFields(FnArgs& a) {
    StrDesc ref = Trim(a.raw[0], kTrimBoth);
    if (ErrCode e = FnArgEval(a, 1)) return e;
    std::int16_t part = 1;
    if (ErrCode e = FnArgInt(a, 1, 1, &part)) return e;
    if (ref.len == 0) return kErrSintaxError;
    std::uint16_t brace = FindChar(ref, 0, '{', kQuoteAware);
    if (brace != kNone && ref.ptr[ref.len - 1] == '}') {
        FieldDesc f = FieldRef(ref);
        if (f.status >= kErrSerious) return f.status;
        if (f.field == 0) return kErrSintaxError;
        StrDesc raw = FieldRaw(f.file, f.field, static_cast<std::uint8_t>(part));
        if (raw.IsError()) return raw.len;
        return FnText(raw);
    }
    std::uint16_t paren = FindChar(ref, 0, '(', kQuoteAware);
    if (paren != kNone && paren > 0) return ArrayElementText(ref, paren);
    if (VarFind(ref).slot != kNone) {
        StrDesc value = VarGetText(ref);
        if (value.IsError()) return value.len;
        return kExpText;
    }
    // Not a variable of the store: a screen field of that name, if there is one.
    StrDesc answer = StrEmpty();
    ErrCode e = VarScreenHookAsk(ref, static_cast<std::uint16_t>(part), StrEmpty(), &answer);
    if (e != 0 || answer.IsError() || answer.len == 0) return kErrSintaxError;
    return FnText(answer);
}

ErrCode FnKey(FnArgs& a) {
    std::int16_t file = 0, key = 0, part = 1, segments = 0;
    if (ErrCode e = FnArgInt(a, 0, 0, &file)) return e;
    if (ErrCode e = FnArgInt(a, 1, 0, &key)) return e;
    if (ErrCode e = FnArgInt(a, 2, 1, &part)) return e;
    if (ErrCode e = FnArgInt(a, 3, 0, &segments)) return e;
    std::uint8_t n = FileResolve(static_cast<std::uint8_t>(file & 0xFF));
    if (n == 0 || n > FileCount()) return FnText(StrEmpty());
    std::uint16_t k = key > 0 ? static_cast<std::uint16_t>(key) : FileCtrl(n).activeKey;
    StrDesc image = RecImage(n, part == 2 ? kRecReference : kRecCurrent);
    if (image.IsError()) return image.len;
    StrDesc value = KeyValue(n, k, image);
    if (value.IsError()) return value.len;
    std::uint16_t length = KeyLength(n, k, static_cast<std::uint16_t>(segments));
    if (length < value.len) value.len = length;
    return FnText(value);
}

ErrCode FnIer(FnArgs& a) {
    std::int16_t file = 0;
    if (ErrCode e = FnArgInt(a, 0, 0, &file)) return e;
    std::uint8_t n = FileResolve(static_cast<std::uint8_t>(file & 0xFF));
    if (n == 0 || n > FileCount()) return FnInteger(0);
    return FnInteger(FileCtrl(n).status);
}

ErrCode FnSqlChild(FnArgs& a) {
    std::int16_t depth = SysVar(kSysSqlStk);
    if (depth + 1 > 7) return kErrStrOutBound;
    std::int16_t row = SysVar(kSysCurRow);
    std::int16_t ier = SysVar(kSysIer);
    SysVarSet(kSysSqlStk, static_cast<std::int16_t>(depth + 1));
    SysVarSet(kSysCurRow, 0);
    ErrCode code = 0;
    for (std::uint16_t i = 0; code == 0 && i < a.count; ++i) {
        DynScope scope;
        code = FnArgEval(a, i);
    }
    SysVarSet(kSysSqlStk, depth);
    SysVarSet(kSysCurRow, row);
    SysVarSet(kSysIer, ier);
    return code ? code : FnNumber(0);
}

ErrCode FnRecordAccess(FnArgs&, const char* name) {
    // Keyed finds, relational reads and navigation need the record layer over SQL.
    return ErrSetText(kErrFeatureRemoved, StrFromC(name));
}

}  // namespace rt
