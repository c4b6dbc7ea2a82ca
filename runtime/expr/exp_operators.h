// The operator columns of the expression language: arithmetic, comparisons and bit operations on
// numbers, concatenation and comparisons (with wildcards for ==) on texts.
#pragma once
#include <cstdint>
#include "runtime/expr/exp_value.h"

namespace rt {

// Applies operator op (1..20, not the assignment) to left and right into *out: a number, or a text on
// DynStrings for a concatenation. 128 when a number meets a text (except that a text on the right of
// a number field reference is read as a number), 147 for an operator that texts do not have, 146 for
// a concatenation longer than a text can be.
ErrCode ExpCombine(std::uint16_t op, const ExpValue& left, const ExpValue& right, ExpValue* out);

// Byte comparison over the common length, the shorter text first when that part is equal: -1, 0, 1.
int ExpCompareText(StrDesc a, StrDesc b);
// == on texts: equal, or (unless _AUXSTAT has bit 128) a match of the wildcard pattern on the right:
// "MAD*" compares the first characters ignoring case, "*DRI*" looks for DRI ignoring case.
bool ExpTextEquals(StrDesc left, StrDesc pattern);

}  // namespace rt
