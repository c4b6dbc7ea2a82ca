// Relation texts: per file, the parameter text (string-slot group 4) that names, for a target file
// and a relation number, the key of the target and the expression giving that key's value, as in
// 2R1K3=NOMBRE{} (target 2, relation 1, key 3).
#pragma once
#include <cstdint>
#include "runtime/text/str_desc.h"

namespace rt {

// Joins text to the file's relation text with ":" (no separator when either is empty);
// 151 for an unregistered file.
ErrCode RelationAdd(std::uint8_t file, StrDesc text);
// The file's relation text in place (valid until the next slot change).
StrDesc RelationText(std::uint8_t file);
// The key number written after "<target>R<relation>K", 0 when the relation is not there.
std::uint16_t RelationKey(std::uint8_t file, std::uint8_t target, std::uint16_t relation);
// The value of the item "<target>R<relation>K<key>" read as a parameter text (blanks trimmed, quotes
// removed, an unquoted value upper-cased), empty when absent (on DynStrings).
StrDesc RelationValue(std::uint8_t file, std::uint8_t target, std::uint16_t relation);

}  // namespace rt
