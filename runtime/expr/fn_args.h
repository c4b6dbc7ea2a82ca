// The arguments of a built-in function call: the raw list cut at its separators, the values of the
// evaluated ones (kept on DynStrings and pushed on slot group 35), and their typed reading.
#pragma once
#include <cstdint>
#include "runtime/vars/fixed_number.h"
#include "runtime/text/str_desc.h"

namespace rt {

constexpr std::uint16_t kFnMaxArgs = 16;
constexpr unsigned char kFnOmittedByte = 27;  // how an empty argument lies in group 35

enum FnArgKind : std::uint8_t { kArgNumber = 0, kArgText = 1, kArgOmitted = 2, kArgRaw = 3 };

struct FnArgs {
    StrDesc all;                          // the whole raw argument text
    std::uint16_t count = 0;              // arguments taken (at most 16)
    std::uint16_t pieces = 0;             // arguments written (may be more than 16)
    StrDesc raw[kFnMaxArgs];              // each argument's raw text
    std::uint16_t offset[kFnMaxArgs] = {};  // where each raw argument starts in all
    StrDesc value[kFnMaxArgs];            // the value of an evaluated argument
    std::uint8_t kind[kFnMaxArgs] = {};   // FnArgKind
};

// Cuts text at the top-level bytes of separators (outside quotes and parentheses). Gives the number
// of pieces (0 for an empty or blank text); at most max pieces are stored, each with its offset.
std::uint16_t FnSplit(StrDesc text, StrDesc separators, StrDesc* pieces, std::uint16_t* offsets,
                      std::uint16_t max);
// Cuts the raw list into args (every kind kArgRaw).
void FnArgsCut(StrDesc raw, FnArgs& args);
// Evaluates argument i (an empty one is omitted) and pushes it on group 35; 0 or a failure code.
ErrCode FnArgEval(FnArgs& args, std::uint16_t i);
// Evaluates a raw text as one value: its code (0 number, 1 text, a failure of 122 and up); the value
// is the arena top. A status below 128 from a nested call counts as a text unless it holds exactly
// eight bytes.
ErrCode FnEvalValue(StrDesc text, StrDesc* value, bool prepared = false);

// Typed reading. An omitted argument, or one beyond the count, gives def; a text where a number is
// wanted (or the other way round) gives 128.
bool FnGiven(const FnArgs& args, std::uint16_t i);
bool FnIsText(const FnArgs& args, std::uint16_t i);
ErrCode FnArgNumber(const FnArgs& args, std::uint16_t i, FixedNumber def, FixedNumber* out);
// The integer value (rounded); def is an integer.
ErrCode FnArgLong(const FnArgs& args, std::uint16_t i, std::int64_t def, std::int64_t* out);
// The integer value rounded and cut to 16 bits.
ErrCode FnArgInt(const FnArgs& args, std::uint16_t i, std::int16_t def, std::int16_t* out);
ErrCode FnArgText(const FnArgs& args, std::uint16_t i, StrDesc def, StrDesc* out);
// Either kind: a number as its canonical text (on DynStrings).
StrDesc FnArgAsText(const FnArgs& args, std::uint16_t i, StrDesc def);

// Results: push the value and give the result code (0 number, 1 text, or the error a failing
// push gives).
ErrCode FnNumber(FixedNumber n);
ErrCode FnInteger(std::int64_t i);
ErrCode FnText(StrDesc t);

// The text with one pair of enclosing parentheses removed, when the first one closes at the end.
StrDesc FnStripParens(StrDesc text);

}  // namespace rt
