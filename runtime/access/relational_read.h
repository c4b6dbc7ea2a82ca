// Relational reads (behind FILEREL): the record of a target file that a relation of the file points
// at, found by the target key the relation names and the value of its expression, with optional
// creation, deletion, update or reading on of the related record; and the SQL update of related rows
// while a relational-update statement runs.
#pragma once
#include <cstdint>
#include "runtime/text/str_desc.h"

namespace rt {

// Flags of RelationalRead.
enum RelFlags : std::uint8_t {
    kRelAlways = 0x01,
    kRelReadOn = 0x02,   // read on while the condition text is false (screens)
    kRelCreate = 0x04,   // a missing related record is created by running text
    kRelOnlyRead = 0x08,
    kRelDelete = 0x0C,   // both: the related record is deleted
    kRelKeepReadOn = 0x10,
};

// _RELRES is set to 0 first, and to 2, 4 or 12 as the read went. 163 when the relation has no key
// expression; 0 when its value is empty.
ErrCode RelationalRead(std::uint8_t file, std::uint8_t target, std::uint16_t relation, std::uint8_t flags,
                       StrDesc text);
// UPDATE ONLY of the rows of target whose key equals value, with the SET list text (evaluated and
// its [...] sections expanded); with kRelCreate a missing row is inserted once first. Codes below
// 128 come back as 0.
ErrCode RelUpdate(std::uint8_t file, std::uint16_t key, StrDesc value, std::uint8_t flags, StrDesc text);

}  // namespace rt
