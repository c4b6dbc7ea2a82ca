// The expression language's 33 built-in functions, called by the evaluator with the raw text that
// stands between the call's parentheses.
#pragma once
#include <cstdint>
#include "runtime/text/slot_map.h"  // kFnListSlot
#include "runtime/text/str_desc.h"

namespace rt {

// The function list; a function's number is its 1-based position.
inline constexpr StrDesc kFnList = S(
    "_#,FN#FLEN,FN#SLEN,FN#PARM,FN#VALN,FN#ACUM,CHK#,FILEFIND,FILEREL,FILELOCATE,FILESEL,FN$CHNG,FN$CHRS,"
    "FN$DATE,FN$FLDS,FN$MASK,FN$MIDS,FN$PARM,FN$TRIM,ENVELOP$,CHK$,SORT$,EXEC$,READ$,WRITE,MACRO$,ENVRON$,"
    "_$,KEY$,TIME$,IER,EXP$,SQLCHILD");
constexpr std::uint16_t kFnAccum = 1;  // _#, the accumulator array
constexpr std::uint16_t kFnCount = 33;

// The number of the built-in function called name (1..33), 0 when it is none. The name matches as
// written or, failing that, in upper case.
std::uint16_t FnLookup(StrDesc name);
// Calls function fn with the raw argument text; pushes the result on DynStrings (a number as its
// eight bytes) as the one entry above the caller's mark and gives 0 (number), 1 (text), a failure of
// 128 and up (nothing pushed), or a status below 128 with a value pushed (5: SORT$ refused a
// duplicate; 122: cancelled, the kind's empty value; 125: CHK#/CHK$ chose a value of the other kind).
// A status leaves the value's kind to FnResultKind.
ErrCode FnCall(std::uint16_t fn, StrDesc rawArgs);
// 0 when function fn gives numbers, 1 when it gives texts.
ErrCode FnResultKind(std::uint16_t fn);

struct FnArgs;
// The data-file built-ins need record access over SQL, layers above the evaluator; those layers
// install their bodies here at start-up. A body gets the call's arguments as FnCall cut and evaluated
// them and answers as FnCall does. Until a layer is installed (or a body is null) FILEFIND, FILEREL,
// FILELOCATE, FILESEL with an open list and FN#FLEN of a data file fail with 148 and the function's
// name as the error detail.
struct FnRecordLayer {
    ErrCode (*find)(FnArgs& args);
    ErrCode (*rel)(FnArgs& args);
    ErrCode (*locate)(FnArgs& args);
    // FILESEL with one text argument: a data-file open list, or RESTORE.
    ErrCode (*select)(FnArgs& args);
    // FN#FLEN of data file n (registered): pushes its record count.
    ErrCode (*length)(std::uint8_t n);
};
// Installs layer (null: none) and gives the previous one. The layer must outlive its use.
const FnRecordLayer* FnRecordLayerSet(const FnRecordLayer* layer);

// Flags of TextMacro.
enum MacroFlags : std::uint16_t {
    kMacroSeeQuotes = 1,  // sections are found inside quoted parts too
    kMacroNoTrim = 2,     // replacements keep their blanks
    kMacroNames = 4,      // a section is first looked up as a name (list, options, environment)
    kMacroZeroEmpty = 16, // a zero number gives the empty text instead of "0"
    kMacroQuote = 32,     // replacements enclosed in quotes ...
    kMacroDouble = 64,    // ... double ones
    kMacroRescan = 128,   // a replacement is scanned again for sections
    kMacroEscapes = 256,  // \{ and \} become [ and ] at the end
};

// Expands the [...] sections of a text template; names is a block of NAME=value pairs consulted
// with kMacroNames. The result lies on DynStrings; a failure gives its error descriptor.
StrDesc TextMacro(StrDesc text, std::uint16_t mode, StrDesc names);

}  // namespace rt
