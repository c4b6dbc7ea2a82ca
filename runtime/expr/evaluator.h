// The expression language: texts such as "TOTAL#=TOTAL#+IMPORTE{}*2" evaluated directly from their
// text on every use. A result lies on DynStrings as the top entry: a number as its eight bytes
// (see var_arena_number.h), a text as its bytes.
#pragma once
#include <cstdint>
#include "runtime/text/str_desc.h"

namespace rt {

// Result kinds of ExpEval; any other result is a status or an ErrCode of 122 and up.
constexpr ErrCode kExpNumber = 0;
constexpr ErrCode kExpText = 1;

// Operand kinds (a bit set).
enum OperandKind : std::uint16_t {
    kOpText = 1, kOpVariable = 2, kOpNumVariable = 4, kOpField = 8, kOpArray = 16, kOpFunction = 32,
    kOpParens = 64,
};

// The scanner's position in a prepared expression; all positions are byte offsets into text.
struct ExpCursor {
    StrDesc text;                 // the prepared expression (on DynStrings)
    std::uint16_t op = 0;         // operator after the current operand, 1..20; 0 none
    std::uint16_t kind = 0;       // OperandKind of the current operand
    std::uint16_t start = 0;      // offset of the current operand
    std::uint16_t operandLength = 0;
    std::uint16_t next = 0;       // where the next scan begins
    std::uint16_t parenLength = 0;
    std::uint16_t priority = 0;
    std::uint16_t function = 0;   // built-in function number (1..33) when kind has kOpFunction
    ErrCode status = 0;           // 0, 123 empty operand, 125, or a failure of 128 and up
    // A field reference (kind has kOpField) as the scan resolved it.
    std::uint8_t file = 0;
    std::uint16_t field = 0;
    char fieldType = 0;
};

// Prepares text (spaces outside quotes removed, _ACCEPT macros expanded, validated).
ExpCursor ExpStart(StrDesc text);
// Advances over the next operand and the operator after it, classifying the operand.
void ExpScan(ExpCursor& cursor);

// 0 number, 1 text, or a code of 122 and up; the value is the arena's top entry (one allocation
// above the caller's mark).
ErrCode ExpEval(StrDesc text);
// 1 for an empty text or a non-zero number; 0 for zero or a text; a code of 122 and up unchanged.
ErrCode ExpCondition(StrDesc text);
// The number result rounded and cut to 16 bits; 0 (with an assertion) for a text or a failure.
std::int16_t ExpInteger(StrDesc text);
// The result as a text (a number as its canonical text); the error descriptor of a failure.
StrDesc ExpText(StrDesc text);
// Evaluates for the assignments: the code when it is 128 or more, else 0.
ErrCode ExpRun(StrDesc text);

// ExpEval of a text that is already prepared, such as an argument taken from between the parentheses
// of a call in a prepared expression: no space removal, macro expansion or validation.
ErrCode ExpEvalPrepared(StrDesc text);

}  // namespace rt
