// The parameters of the running transfer (string-slot group 10): entry 0 the target name, entries
// 1 to 23 the named parameters. They are filled when a run is prepared, from what the caller set
// and from the top parameter block, and cleared when it ends.
#pragma once
#include <cstdint>
#include "runtime/text/slot_map.h"  // kTransParmsGroup
#include "runtime/text/str_desc.h"
#include "runtime/trans/trans_mode.h"

namespace rt {

enum TransParmNumber : std::uint16_t {
    kTpTarget = 0,
    kTpFile = 1,        // the data file: a number or a name
    kTpBuffSize = 2,    // fixed record length of the external file; capacity of the output line
    kTpSet = 3,         // evaluated once before the run
    kTpMerge = 4,       // assignments applied when an import rewrites an existing record
    kTpCond = 5,        // condition each record must satisfy
    kTpUnicKey = 6,     // unique key text of an incoming record
    kTpUnicCri = 7,     // number of the key of the unique check
    kTpStruct = 8,      // the field list
    kTpResets = 9,      // 9 to 12 and 14 are kept and saved; the run does not read them
    kTpInics = 10,
    kTpFins = 11,
    kTpRstCris = 12,
    kTpFlDelim = 13,    // expression giving the field delimiter
    kTpRcDelim = 14,
    kTpWrExp = 15,      // evaluated for each record written; the update of a mass SQL update
    kTpTrigger = 16,    // DISABLE, ENABLE or an expression evaluated after each record written
    kTpAcBound = 17,    // field-entry spec of the limits dialog
    kTpAcConfirm = 18,  // field-entry spec of a confirmation asked for each record
    kTpHeader = 19,     // header line of an export
    kTpSqlTable = 20,   // SQL table of IS_SQL
    kTpTarPath = 21,    // folder put before the external file's name
    kTpLimits = 22,     // first and last key of the range, two expressions
    kTpIndex = 23,      // number of the key that orders the run
};
constexpr std::uint16_t kTransParmCount = 23;

inline constexpr StrDesc kTransParmNames =
    S("FILE,BUFFSIZE,SET$,MERGE$,COND$,UNICKEY$,UNICCRI$,STRUCT$,RESETS$,INICS$,FINS$,RSTCRIS$,FLDELIM$,"
      "RCDELIM$,WREXP$,TRIGGER$,ACBOUND$,ACCONFIRM$,HEADER$,SQLTABLE$,TARPATH$,LIMITS$,INDEX$");

// Defaults that are texts.
inline constexpr StrDesc kTransDefaultBounds = S("1{},1{}");  // ACBOUND$ outside BATCHMODE
inline constexpr StrDesc kTransDefaultDelimiter = S(",");
constexpr std::uint16_t kTransOutputCapacity = 16384;          // BUFFSIZE of an output line

// The name of parameter n (1..23), empty otherwise.
StrDesc TransParmName(std::uint16_t n);
// The entry in place (valid until the next slot change); empty when unset.
StrDesc TransParm(std::uint16_t n);
// Sets an entry and marks it given, so that neither the block nor a default replaces it, even empty.
ErrCode TransParmSet(std::uint16_t n, StrDesc value);
bool TransParmGiven(std::uint16_t n);
// Forgets every entry and mark.
void TransParmsClear();

// The mode completed from the top block: each named bit not yet set is read as TARGET.NAME (the
// target's file name without folder) and then as NAME, and set when the value is 1.
TransMode TransModeFromBlock(StrDesc target, TransMode mode);
// Entry 0 becomes target; every entry neither given nor set is read from the top block as
// TARGET.NAME, then NAME; entries still empty take their text defaults (ACBOUND$ outside BATCHMODE,
// SQLTABLE$ the target). Defaults that depend on the data file are applied where they are used.
ErrCode TransParmsFromBlock(StrDesc target, TransMode mode);

}  // namespace rt
