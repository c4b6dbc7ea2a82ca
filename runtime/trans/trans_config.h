// Saved transfer definitions: the definitions file (a type-1 parameter file whose block 0 lists the
// definitions' names in FD$ and whose block n holds the n-th definition), and saving the running
// transfer's parameters as a new definition.
#pragma once
#include <cstdint>
#include "runtime/text/str_desc.h"
#include "runtime/trans/trans_mode.h"

namespace rt {

// The definitions file is a parameter file of this type.
constexpr std::uint16_t kTransDefinitionsType = 1;

// given, or when empty the default: the application code's first two characters and "trans.ppn" in
// the data folder. On DynStrings.
StrDesc TransDefinitionsFile(StrDesc given);

// The names of the saved definitions (FD$ of block 0), on DynStrings; empty when there are none.
StrDesc TransDefinitionNames(StrDesc file);

// Saves mode and the non-empty parameters 1 to 23 as definition n (the number of names plus one)
// named name: 165 when the name is in use or holds ',', else the rewrite's outcome. The definition's
// block is written before block 0 names it, so a failure never lists a definition that is not there.
ErrCode TransDefinitionSave(StrDesc file, StrDesc name, TransMode mode);

// Asks whether to save the configuration and under which name (asked again for a name in use); 0
// when the user does not want it saved, 122 when the name question was cancelled.
ErrCode TransSaveConfig(TransMode mode);

}  // namespace rt
