// Conditions on key values. A key value is its fields' bytes at full width, laid end to end in the
// order of the key's segments; it may be shorter than the whole key (a prefix), and it is compared
// field by field, lexicographically.
#pragma once
#include <cstdint>
#include <string>
#include "runtime/text/str_desc.h"

namespace rt {

// The key value compared with the key's fields in mode (a SqlCompareMode). Mode 1 is the equality
// of every field the value reaches; other modes compare lexicographically, every field but the last
// one reached with the strict form of the mode, as in
//   "NOMBRE" > 'ANA' OR ("NOMBRE" = 'ANA' AND "POBLACION" > 'VIGO').
// On DynStrings; empty for an empty value.
StrDesc SqlKeyCondition(StrDesc value, std::uint8_t file, std::uint16_t key, std::uint8_t mode);
// The rows from low (in mode) up to high (<= when mode has bit 2, else >=): the fields on which the
// two agree become an equality, the rest is compared; a high value of the single byte 0xFF is no
// limit. extra (already SQL) is joined with AND. On DynStrings.
StrDesc SqlRangeCondition(std::uint8_t file, std::uint16_t key, StrDesc low, StrDesc high, StrDesc extra,
                          std::uint8_t mode);

// The same, on std::string, for the statement builders.
std::string KeyConditionText(StrDesc value, std::uint8_t file, std::uint16_t key, std::uint8_t mode,
                             std::uint16_t firstField = 0);

}  // namespace rt
