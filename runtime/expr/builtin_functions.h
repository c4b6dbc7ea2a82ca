// The expression language's 33 built-in functions, called by the evaluator with the raw text that
// stands between the call's parentheses.
#pragma once
#include <cstdint>
#include "runtime/text/str_desc.h"

namespace rt {

// The function list; a function's number is its 1-based position.
inline constexpr StrDesc kFnList = S(
    "_#,FN#FLEN,FN#SLEN,FN#PARM,FN#VALN,FN#ACUM,CHK#,FILEFIND,FILEREL,FILELOCATE,FILESEL,FN$CHNG,FN$CHRS,"
    "FN$DATE,FN$FLDS,FN$MASK,FN$MIDS,FN$PARM,FN$TRIM,ENVELOP$,CHK$,SORT$,EXEC$,READ$,WRITE,MACRO$,ENVRON$,"
    "_$,KEY$,TIME$,IER,EXP$,SQLCHILD");
constexpr std::uint16_t kFnAccum = 1;  // _#, the accumulator array

// The number of the built-in function called name (1..33), 0 when it is none.
std::uint16_t FnLookup(StrDesc name);
// Calls function fn with the raw argument text; pushes the result on DynStrings (a number as its
// eight bytes) and gives 0 (number), 1 (text), or a status or ErrCode of 122 and up.
ErrCode FnCall(std::uint16_t fn, StrDesc rawArgs);

// Expands the [...] sections of a text template.
StrDesc TextMacro(StrDesc text, std::uint16_t mode, StrDesc names);

}  // namespace rt
