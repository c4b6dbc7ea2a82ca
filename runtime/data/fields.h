// Field references and field values in the record buffer.
#pragma once
#include <cstdint>
#include "runtime/data/file_table.h"
#include "runtime/text/str_desc.h"

namespace rt {

// Resolves NAME{FILE}: FILE a file name or number (empty: the current file), NAME a field name or
// number (empty: the file itself, field 0 of type 'N'). Status 147 (detail "Field:" + text) for a
// malformed reference or an unknown field, 161 for an unregistered file.
FieldDesc FieldRef(StrDesc text);

// The field's bytes (full width) from part 1 (current) or 2 (reference) as a view into the buffer.
// Any failure notes 151 (area BufferFld) as first error and gives the error descriptor 151.
StrDesc FieldRaw(std::uint8_t n, std::uint16_t field, std::uint8_t part);
// The field's value from the current record: compact dates expanded (with _COMPAT bit 4) and
// "D"-coded whole numbers decoded; otherwise the raw bytes with their padding.
StrDesc FieldGet(std::uint8_t n, std::uint16_t field);
// The same from part 1 (current) or 2 (reference).
StrDesc FieldGetOf(std::uint8_t n, std::uint16_t field, std::uint8_t part);
// Stores value in the current record in the field's stored form. A failure is returned and
// noted as first error 151 (area BufferFld).
ErrCode FieldSet(std::uint8_t n, std::uint16_t field, StrDesc value);
ErrCode FieldSetByRef(StrDesc ref, StrDesc value);
// The field's current bytes differ from its reference bytes.
bool FieldChanged(std::uint8_t n, std::uint16_t field);

}  // namespace rt
