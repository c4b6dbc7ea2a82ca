// A value while an expression is being evaluated. Numbers stay in the value itself; a text is a view
// of bytes that outlive the evaluation step: the prepared expression (literals) or DynStrings.
// Only the final result of an evaluation is laid on the arena in its documented form.
#pragma once
#include <cstdint>
#include "runtime/expr/evaluator.h"
#include "runtime/vars/fixed_number.h"

namespace rt {

struct ExpValue {
    bool text = false;
    std::uint16_t kind = 0;  // OperandKind of a plain operand; only kOpText remains after an operation
    FixedNumber num = 0;
    StrDesc str = StrEmpty();

    static ExpValue Number(FixedNumber n) {
        ExpValue v;
        v.num = n;
        return v;
    }
    static ExpValue Text(StrDesc s) {
        ExpValue v;
        v.text = true;
        v.kind = kOpText;
        v.str = s;
        return v;
    }
};

// Evaluates a prepared text statement by statement (separated by ';', ',' or ':'); the value of the
// last one goes to *out. Gives its status: 0, a status below 128 (123 for an empty text), 122, or a
// failure of 128 and up. Text values may stay on DynStrings above the caller's mark.
ErrCode ExpEvalStatements(StrDesc prepared, ExpValue* out);

// Evaluates one piece of a list (an argument or an index) as a whole prepared expression.
inline ErrCode ExpEvalPiece(StrDesc piece, ExpValue* out) { return ExpEvalStatements(piece, out); }

// Evaluates the current operand of the cursor into *out (the target of '=' is not read: its value is
// the number 0 with the operand's kind). Gives 0, 123 for an empty operand, another status below 128,
// 122, or a failure of 128 and up (reported with the operand's text).
ErrCode ExpOperand(const ExpCursor& c, ExpValue* out);

// The indexes of an array element: at most five are taken (five make the array layer fail with 149).
struct ExpIndexes {
    std::int32_t index[5] = {};
    std::uint16_t count = 0;
};
// Evaluates the index list between an element's parentheses; 128 when an index is a text.
ErrCode ExpEvalIndexes(StrDesc list, ExpIndexes* out);

// The operand's text: its name with the parentheses and what they hold.
StrDesc ExpOperandText(const ExpCursor& c);

// Counts a failure reported with an operand's text, so that the report of the failing statement can
// be added to the operand's instead of replacing it.
void ExpCountReport();

}  // namespace rt
