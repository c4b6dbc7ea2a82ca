// The bodies of the built-in functions, called by FnCall once the arguments are evaluated (or left
// raw, for the functions that take raw text). Each leaves its result as the arena top and gives
// 0 (number), 1 (text), a status below 128 with a value, or a failure of 122 and up.
#pragma once
#include <cstdint>
#include "runtime/expr/builtin_functions.h"
#include "runtime/expr/fn_args.h"

namespace rt {

// fn_text.cpp
ErrCode FnSlen(FnArgs& a);
ErrCode FnParmNumber(FnArgs& a);
ErrCode FnChng(FnArgs& a);
ErrCode FnChrs(FnArgs& a);
ErrCode FnMids(FnArgs& a);
ErrCode FnParmText(FnArgs& a);
ErrCode FnTrim(FnArgs& a);
ErrCode FnEnvelop(FnArgs& a);
ErrCode FnExpTemplate(FnArgs& a);  // EXP$

// fn_values.cpp
ErrCode FnValn(FnArgs& a);
ErrCode FnDate(FnArgs& a);
ErrCode FnMask(FnArgs& a);
ErrCode FnTime(FnArgs& a);
ErrCode FnChoice(FnArgs& a, bool text);  // CHK#, CHK$
ErrCode FnAccumulate(FnArgs& a);         // FN#ACUM
ErrCode FnAccumArray(FnArgs& a);         // _#
ErrCode FnSlots(FnArgs& a);              // _$
ErrCode FnEnviron(FnArgs& a);

// fn_files.cpp
ErrCode FnFileLength(FnArgs& a);  // FN#FLEN
ErrCode FnFileSelect(FnArgs& a);
ErrCode FnExec(FnArgs& a);
ErrCode FnRead(FnArgs& a);
ErrCode FnWrite(FnArgs& a);
// The path of a file named in an expression: placeholders expanded.
StrDesc FnFilePath(StrDesc name);
// The whole content of a text file from offset (count bytes, 0xFFFFFFFF to the end) on DynStrings;
// the error descriptor 164 when it cannot be opened, 145 when it does not fit.
StrDesc FnReadFile(StrDesc path, std::uint32_t offset, std::uint32_t count);

// fn_sort.cpp
ErrCode FnSort(FnArgs& a);
// The maintenance action key of a navigation command ("NXT", "next", "TOP", ...); 255 for others.
std::uint16_t FnNavigationKey(StrDesc command);

// fn_macro.cpp
ErrCode FnMacro(FnArgs& a);

// fn_data.cpp
ErrCode FnFields(FnArgs& a);  // FN$FLDS
ErrCode FnKey(FnArgs& a);
ErrCode FnIer(FnArgs& a);
ErrCode FnSqlChild(FnArgs& a);
// The record layer installed with FnRecordLayerSet, null when none.
const FnRecordLayer* FnRecordLayerInstalled();
// FILEFIND, FILEREL, FILELOCATE without a record layer installed (FnRecordLayerSet): 148.
ErrCode FnRecordAccess(FnArgs& a, const char* name);

}  // namespace rt
