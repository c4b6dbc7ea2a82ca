// The pieces of the expression scanner that the evaluator shares: the operator characters, the
// operator table with its priorities, quote-aware searches over prepared texts, and argument lists.
#pragma once
#include <cstdint>
#include "runtime/expr/evaluator.h"

namespace rt {

// Operator numbers of the operator table.
enum ExpOperator : std::uint16_t {
    kOpNone = 0,
    kOpMul = 1, kOpDiv = 2, kOpRound = 3, kOpPercent = 4, kOpLessPercent = 5,
    kOpAdd = 6, kOpSub = 7, kOpAssign = 8,
    kOpGreater = 9, kOpLess = 10, kOpEqual = 11, kOpGreaterEq = 12, kOpLessEq = 13, kOpNotEqual = 14,
    kOpBitAnd = 15, kOpBitOr = 16, kOpBitOrAt = 17, kOpAnd = 18, kOpOr = 19, kOpXor = 20,
};
constexpr std::uint16_t kOpCount = 20;

// The byte 0xF7, "a less b percent".
constexpr unsigned char kLessPercentChar = 0xF7;

// True for the eighteen operator characters * / ! % 0xF7 + - ( ; , : ) = > < & @ |.
bool ExpIsOperatorChar(unsigned char c);
// True for the characters that may also be the second one of a two-character operator.
bool ExpIsSecondChar(unsigned char c);
// Priority (binding strength) of operator op; 0 for kOpNone.
std::uint16_t ExpPriority(std::uint16_t op);
// The operator number of a one- or two-character operator text; 0 when it is none.
std::uint16_t ExpOperatorOf(const unsigned char* text, std::uint16_t len);

// First operator character at or after from, skipping quoted sections (an unclosed quote hides the
// rest); text.len when there is none.
std::uint16_t ExpFindOperator(StrDesc text, std::uint16_t from);
// Position of the ')' that closes the '(' at open (nesting counted, quotes skipped); kNone without one.
std::uint16_t ExpMatchParen(StrDesc text, std::uint16_t open);

// Arguments of a list such as the text between a call's parentheses: pieces separated by ';' or ','
// outside quotes and parentheses. Start with *pos = 0; each call gives the next piece and moves *pos
// past its separator. An empty list has no arguments; "a;" has two, the second empty.
bool ExpNextArg(StrDesc list, std::uint32_t* pos, StrDesc* arg);

// The operand kind of a name or operand text by its characters (text literal, text, number or
// integer variable, field reference, literal); field references are not resolved here.
std::uint16_t ExpKindOfText(StrDesc text);

}  // namespace rt
