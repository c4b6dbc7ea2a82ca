// Evaluation of expressions: statements, operator priorities, assignments, and the entry points that
// hand the result back on DynStrings.
#include "runtime/expr/evaluator.h"

#include <cstdint>

#include "runtime/data/fields.h"
#include "runtime/env/errors.h"
#include "runtime/expr/builtin_functions.h"
#include "runtime/expr/exp_budget.h"
#include "runtime/expr/exp_operators.h"
#include "runtime/expr/exp_prepare.h"
#include "runtime/expr/exp_scan.h"
#include "runtime/expr/exp_value.h"
#include "runtime/text/err_codes.h"
#include "runtime/vars/run_log.h"
#include "runtime/vars/var_arrays.h"
#include "runtime/vars/var_system.h"
#include "runtime/vars/variables.h"
#include "runtime/text/dyn_strings.h"
#include "runtime/text/text_build.h"
#include "runtime/text/text_lists.h"

namespace rt {
namespace {

// Nesting of sub-expressions, signs and assignment chains; deeper texts fail instead of exhausting
// the stack.
constexpr int kMaxDepth = 200;
constexpr ErrCode kTooDeep = kErrExpCalcError;
int g_depth = 0;

// Counts operand failures reported, so that a statement's report adds to an operand's.
unsigned g_reports = 0;

struct DepthGuard {
    bool ok;
    DepthGuard() : ok(g_depth < kMaxDepth) { ++g_depth; }
    ~DepthGuard() { --g_depth; }
};

bool Runs(ErrCode s) { return s < kErrSerious && s != kErrCancelled; }

// A place on the arena: values produced after it lie at or above base.
struct ArenaPoint {
    std::uint16_t mark;
    std::uintptr_t base;
};
ArenaPoint Here() { return {DynMark(), reinterpret_cast<std::uintptr_t>(DynFree().ptr)}; }

// Releases everything above the point except v's text, which is moved down when it lies there.
ErrCode Settle(const ArenaPoint& at, ExpValue& v) {
    if (v.text && v.str.len) {
        auto p = reinterpret_cast<std::uintptr_t>(v.str.ptr);
        auto top = reinterpret_cast<std::uintptr_t>(DynFree().ptr);
        if (p >= at.base && p < top) {
            if (p == at.base && DynMark() == at.mark + 1) return 0;  // already in place
            StrDesc kept = DynKeep(at.mark, v.str);
            if (kept.IsError()) return kept.len;
            v.str = kept;
            return 0;
        }
    }
    DynRelease(at.mark);
    return 0;
}

std::int32_t ToIndex(std::int64_t i) {
    return i > INT32_MAX ? INT32_MAX : i < INT32_MIN ? INT32_MIN : static_cast<std::int32_t>(i);
}

// _#(n), _#(n;k), _#('NAME'[;k]) and _#('DIM';k) as targets: the element of the accumulator array.
ErrCode AssignAccumulator(StrDesc args, const ExpValue& value) {
    if (value.text) return kErrIncompatibleTypes;
    DynScope scope;
    std::uint32_t pos = 0;
    StrDesc piece;
    ExpValue first, second;
    if (!ExpNextArg(args, &pos, &piece)) return kErrSintaxError;
    ErrCode e = ExpEvalPiece(piece, &first);
    if (!Runs(e)) return e;
    std::int64_t k = 0;
    if (ExpNextArg(args, &pos, &piece)) {
        e = ExpEvalPiece(piece, &second);
        if (!Runs(e)) return e;
        if (second.text) return kErrIncompatibleTypes;
        k = NumInteger(second.num);
    }
    std::int64_t element;
    if (!first.text) {
        element = NumInteger(first.num) + k;
    } else if (StrEq(first.str, S("DIM"))) {
        element = k;
    } else {
        std::uint16_t at = ItemIndex(VarTextSlot(kSysAcumX), first.str, ',');
        if (at == 0) return kErrDataOutBound;
        element = at - 1 + k;
    }
    std::int32_t index = ToIndex(element);
    return VarArraySetNumber(VarAccumName(), &index, 1, value.num);
}

ErrCode AssignElement(StrDesc name, StrDesc args, bool textTarget, const ExpValue& value) {
    if (textTarget != value.text) return kErrIncompatibleTypes;
    DynScope scope;
    ExpIndexes idx;
    if (ErrCode e = ExpEvalIndexes(args, &idx)) return e;
    if (value.text) return VarArraySet(name, idx.index, idx.count, value.str);
    return VarArraySetNumber(name, idx.index, idx.count, value.num);
}

ErrCode AssignVariable(StrDesc name, bool textTarget, const ExpValue& value) {
    if (textTarget != value.text) return kErrIncompatibleTypes;
    if (value.text) return VarSet(name, value.str);
    DynScope scope;
    if (ErrCode e = VarNumPush(value.num)) return e;
    return VarSet(name, DynTop());
}

ErrCode AssignField(const ExpCursor& target, const ExpValue& value) {
    DynScope scope;
    StrDesc text = value.text ? value.str : NumText(value.num);
    if (text.IsError()) return text.len;
    return FieldSet(target.file, target.field, text);
}

// target is the cursor of the operand left of '=', kind what that operand was (only its text bit
// when the left side is a computed value, which cannot be assigned).
ErrCode Assign(const ExpCursor& target, std::uint16_t kind, const ExpValue& value) {
    StrDesc name{target.text.ptr + target.start, target.operandLength};
    StrDesc args{target.text.ptr + target.start + target.operandLength + 1, target.parenLength};
    bool textTarget = (kind & kOpText) != 0;
    if (kind & kOpFunction) return target.function == kFnAccum ? AssignAccumulator(args, value) : ErrCode{kErrSintaxError};
    if (kind & kOpArray) return (kind & kOpVariable) ? AssignElement(name, args, textTarget, value) : ErrCode{kErrSintaxError};
    if (kind & kOpField) return AssignField(target, value);
    if (kind & kOpVariable) return AssignVariable(name, textTarget, value);
    return kErrSintaxError;
}

void ApplyOps(ExpCursor& cur, ExpValue& left, std::uint16_t minPriority, const ArenaPoint& at);

// Applies the operator after cur's operand to left and the operand on its right (after the operators
// beyond it that bind tighter); cur moves on to the right operand. The result is settled at at.
void ApplyOne(ExpCursor& cur, ExpValue& left, const ArenaPoint& at) {
    DepthGuard depth;
    if (!depth.ok) {
        cur.status = ErrSetText(kTooDeep, ExpOperandText(cur));
        return;
    }
    const std::uint16_t op = cur.op, priority = cur.priority;
    const ExpCursor target = cur;
    ExpCursor n = cur;
    ExpScan(n);
    const ArenaPoint rightAt = Here();
    ExpValue right;
    n.status = ExpOperand(n, &right);
    if (n.status == kErrNullExpression) {
        if (left.text || n.op == kOpNone) {
            n.status = kErrSintaxError;
        } else {
            // A sign: the empty operand is 0, and its operator takes the next term only, so that
            // 2*-3+1 is (2*(0-3))+1.
            ApplyOne(n, right, rightAt);
        }
    }
    // Operators further right that bind tighter apply first; '=' takes everything to its right.
    while (Runs(n.status) && n.op != kOpNone &&
           (priority < n.priority || (op == kOpAssign && n.op == kOpAssign)))
        ApplyOps(n, right, n.priority, rightAt);

    ErrCode s = n.status;
    if (s == 0) {
        ExpValue result;
        if (op == kOpAssign) {
            s = Assign(target, left.kind, right);
            result = right;
        } else {
            s = ExpCombine(op, left, right, &result);
        }
        if (s == 0) {
            left = result;
            left.kind = left.text ? kOpText : 0;
            s = Settle(at, left);
        }
    } else if (Runs(s)) {
        // A right operand with a status of its own (a refused SORT$ insertion, a CHK$ of the other
        // kind) is not combined: it becomes the current value and its status stays.
        left = right;
        left.kind = left.text ? kOpText : 0;
        if (ErrCode e = Settle(at, left)) s = e;
    }
    n.status = s;
    cur = n;
}

void ApplyOps(ExpCursor& cur, ExpValue& left, std::uint16_t minPriority, const ArenaPoint& at) {
    while (Runs(cur.status) && cur.op != kOpNone && cur.priority >= minPriority) ApplyOne(cur, left, at);
}

// The outcome of an evaluation with the result's kind, the value on the arena right above mark.
struct Outcome {
    ErrCode status;
    bool text;
};

Outcome Finish(std::uint16_t mark, ErrCode status, ExpValue& v) {
    if (status >= kErrSerious) {
        ErrNote(kNoteFirst, kAreaExpExec, status, status);
        DynRelease(mark);
        return {status, false};
    }
    if (v.text) {
        StrDesc kept = DynKeep(mark, v.str);
        if (kept.IsError()) return {kept.len, false};
    } else {
        DynRelease(mark);
        if (ErrCode e = VarNumPush(v.num)) return {e, false};
    }
    return {status, v.text};
}

Outcome Evaluate(StrDesc text, bool prepared) {
    ExpWorkScope work;
    std::uint16_t mark = DynMark();
    ExpValue v;
    ErrCode status;
    if (prepared) {
        status = ExpEvalStatements(text, &v);
    } else {
        ExpCursor c = ExpStart(text);
        status = c.status != 0 ? c.status : ExpEvalStatements(c.text, &v);
    }
    return Finish(mark, status, v);
}

ErrCode ResultCode(const Outcome& o) {
    if (o.status != 0 && o.status != kErrNullExpression) return o.status;
    return o.text ? kExpText : kExpNumber;
}

}  // namespace

void ExpCountReport() { ++g_reports; }

ErrCode ExpEvalStatements(StrDesc prepared, ExpValue* out) {
    DepthGuard depth;
    if (!depth.ok) return ErrSetText(kTooDeep, prepared);
    ExpCursor c;
    c.text = prepared;
    c.next = 0;
    const ArenaPoint at = Here();
    ExpValue v = ExpValue::Text(StrEmpty());
    ErrCode status = 0;
    do {
        const std::uint16_t statement = c.next;
        const unsigned reports = g_reports;
        ExpScan(c);
        c.status = ExpOperand(c, &v);
        ApplyOps(c, v, 0, at);
        status = c.status;
        if (Runs(status)) {
            if (ErrCode e = Settle(at, v)) status = e;
        }
        if (status >= kErrSerious) {
            // The failing statement and everything after it, added to what an operand reported.
            StrDesc rest{prepared.ptr + statement, static_cast<std::uint16_t>(prepared.len - statement)};
            bool operandReported = g_reports != reports;
            if (!operandReported || !StrEq(ErrDetail(), rest)) ErrSetText(status, rest, operandReported);
            ExpCountReport();
            break;
        }
        if (status == kErrCancelled) break;
    } while (c.next < prepared.len);
    // A value of the unexpected kind from a choice ends as the empty text.
    if (status == kErrAtypicalType && v.text) {
        v = ExpValue::Text(StrEmpty());
        status = 0;
    }
    *out = v;
    return status;
}

ErrCode ExpEval(StrDesc text) { return ResultCode(Evaluate(text, false)); }

ErrCode ExpEvalPrepared(StrDesc text) { return ResultCode(Evaluate(text, true)); }

ErrCode ExpCondition(StrDesc text) {
    if (ErrCode e = StrCheck(text)) return e;
    if (text.len == 0) return 1;
    std::uint16_t mark = DynMark();
    ErrCode r = ExpEval(text);
    ErrCode answer = r;
    if (r == kExpNumber) answer = VarNumFromEntry(DynTop()) != 0 ? 1 : 0;
    else if (r == kExpText) answer = 0;
    DynRelease(mark);
    return answer;
}

std::int16_t ExpInteger(StrDesc text) {
    std::uint16_t mark = DynMark();
    ErrCode r = ExpEval(text);
    std::int16_t n = 0;
    if (r == kExpNumber) {
        std::int64_t i = NumInteger(VarNumFromEntry(DynTop()));
        n = static_cast<std::int16_t>(static_cast<std::uint16_t>(static_cast<std::uint64_t>(i) & 0xFFFF));
    } else {
        // A text or a failure where an integer was wanted: the trail goes to the assertion log, but a
        // wrong expression in a parameter must not end the process.
        DynRelease(mark);
        StrDesc shown = text.IsError() ? StrEmpty() : text;
        StrDesc note = Format(static_cast<std::uint16_t>(shown.len < 65000 ? shown.len + 32 : 65535),
                              "Errode:%u (%.*s)", unsigned(r), int(shown.len), shown.ptr);
        if (!note.IsError()) LogEntry(note, S("assertions.log"));
    }
    DynRelease(mark);
    return n;
}

StrDesc ExpText(StrDesc text) {
    std::uint16_t mark = DynMark();
    Outcome o = Evaluate(text, false);
    if (o.status >= kErrFirstFailure) {
        DynRelease(mark);
        return StrError(o.status);
    }
    if (o.text) return DynTop();
    FixedNumber n = VarNumFromEntry(DynTop());
    DynRelease(mark);
    return NumText(n);
}

ErrCode ExpRun(StrDesc text) {
    std::uint16_t mark = DynMark();
    ErrCode r = ExpEval(text);
    DynRelease(mark);
    return r >= kErrSerious ? r : 0;
}

}  // namespace rt
