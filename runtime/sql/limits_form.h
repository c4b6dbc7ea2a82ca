// Capturing the limits of a transfer: the field-entry spec that asks, for each of a file's first
// fields, whether it is a limit (L, a from/to range) or a selection (S, an exact value), and the
// limits spec made from the answer, whose fields carry the comparisons the transfer turns into its
// key range and condition.
#pragma once
#include <cstdint>
#include "runtime/text/str_desc.h"

namespace rt {

// The choice dialog lists at most this many of a file's first fields.
constexpr std::uint16_t kLimitsChoiceFields = 8;

// Letters of the choice answer.
constexpr unsigned char kLimitsRange = 'L';
constexpr unsigned char kLimitsSelection = 'S';

// "'NAME(L/S):':'A1'" for each listed field, joined with ','. On DynStrings.
StrDesc LimitsChoiceSpec(std::uint8_t file);

// Shows the choice dialog (caption "0086", the choice spec) and gives its values text: empty when the
// user cancelled it or left every field blank. On DynStrings.
StrDesc LimitsChoose(std::uint8_t file);

// The limits spec of an answer (a comma list, one item per field in field order): for an L two
// entries 'NAME (Desde):':'A30':NAME{}>= and 'NAME (Hasta):':'A30':NAME{}<=, for an S one entry
// 'NAME :':'A30':NAME{}==, nothing for any other letter; items are trimmed, unquoted and taken in
// upper case, and empty ones skipped. first (when given) receives the number of the first field whose
// item is not empty, 0 when none. On DynStrings.
StrDesc LimitsSpec(std::uint8_t file, StrDesc answer, std::uint16_t* first);

}  // namespace rt
