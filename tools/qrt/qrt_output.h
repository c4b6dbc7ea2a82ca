// How qrt prints one expression's outcome: a number as its canonical text (zero as 0), a text between
// single quotes, a failure as "error N: TEXT". Texts leave as UTF-8.
#pragma once
#include <string>
#include "runtime/text/str_desc.h"

namespace rt::qrt {

// The line for the outcome of ExpEval (result code, with the value on DynStrings' top), without
// the line end. failed receives whether the outcome was a failure.
std::string OutcomeLine(ErrCode result, bool* failed);

}  // namespace rt::qrt
