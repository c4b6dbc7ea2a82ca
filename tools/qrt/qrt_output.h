// How qrt prints one expression's outcome, one line each whatever the text holds: a number as its
// canonical text (zero as 0), a text between single quotes, an outcome of 1 to 127 as
// "status N: TEXT", an error (128 and up) as "error N: TEXT". Texts leave as UTF-8, with every byte
// below 0x20 written as \r, \n, \t or \xHH.
#pragma once
#include <string>
#include "runtime/text/str_desc.h"

namespace rt::qrt {

// The longest expression the runtime takes: a text length is 16 bits.
constexpr std::size_t kMaxExpressionBytes = 0xFFFF;

// The line for the outcome of ExpEval (result code, with the value on DynStrings' top), without
// the line end. failed receives whether the outcome was an error.
std::string OutcomeLine(ErrCode result, bool* failed);

// The line for an expression refused before it ran because it holds more than
// kMaxExpressionBytes bytes.
std::string TooLongLine(std::size_t bytes);

// line with its control bytes written out, so that it stays one line.
std::string OneLine(const std::string& line);

}  // namespace rt::qrt
