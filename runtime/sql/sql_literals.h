// The pieces every statement is made of: value literals, key orderings, single comparisons and the
// joining of conditions. Blank values are NULL in SQL; NULL keys sort before every other value going
// up and after them going down; a key column the server reports NOT NULL needs neither rule.
#pragma once
#include <cstdint>
#include <string>
#include "runtime/text/str_desc.h"

namespace rt {

// Compare modes: 1-based items of "=,>,>=,<,<=,<>,IS,IS NOT".
enum SqlCompareMode : std::uint8_t {
    kCmpEqual = 1, kCmpGreater = 2, kCmpGreaterEq = 3, kCmpLess = 4, kCmpLessEq = 5, kCmpNotEqual = 6,
};
// Operators of SqlCombine.
enum SqlJoin : std::uint8_t { kJoinAnd = 1, kJoinOr = 2 };

// The literal of a field value: cut at its first NUL; a blank value is NULL; a number is sent bare
// (a value that is not a plain number is quoted instead, so that it can never be read as SQL); any
// other value is quoted with SqlQuote. On DynStrings.
StrDesc SqlLiteral(StrDesc value, char type);
// 'text', or E'text' with each \ doubled, ' written \x27 and " written \x22 when the text holds a
// quote of either kind. On DynStrings.
StrDesc SqlQuote(StrDesc text);

// The ORDER BY list of a key of file: each key field's quoted name with " NULLS FIRST" (ascending) or
// " DESC NULLS LAST" (descending); without NULLS clauses under _SYSCOMPAT bit 1 and for NOT NULL
// columns. A key whose field list is exactly (1) orders by fields 1 to 3. On DynStrings; empty when
// the key has no fields.
StrDesc SqlOrder(std::uint8_t file, std::uint16_t key, bool descending);

// "NAME" op literal; a NULL literal becomes 0 (numbers) or ''. The or-null form (cond OR "NAME" IS
// NULL) is taken for = >= <= with a NULL literal and for < <= <> with any other, unless notNull.
std::string SqlCompare(const std::string& name, std::uint8_t mode, const std::string& literal, char type,
                       bool notNull = false);
// left AND/OR right, each operand that holds the other word outside parentheses and quotes put in
// parentheses; an empty operand leaves the other as it is.
std::string SqlCombine(const std::string& left, std::uint8_t op, const std::string& right);
StrDesc SqlCombine(StrDesc left, std::uint8_t op, StrDesc right);

// An identifier (table, column or index name) as the server requires it: between double quotes, each
// double quote inside it doubled.
std::string SqlIdent(const std::string& name);
std::string SqlIdent(StrDesc name);

// True for the numeric class of type letters ("NL123456789").
bool SqlNumericType(char type);

}  // namespace rt
