// Block iteration for the transfers: a file read in key order in blocks of up to 512 rows held on its
// result-slot stack. A full block ends at its boundary, the last row whose key differs from the
// block's final key, and the next block starts at the key after it, so that rows sharing a key value
// are never split between blocks.
#pragma once
#include <cstdint>
#include <string>
#include "runtime/text/str_desc.h"

namespace rt {

constexpr std::uint16_t kBlockRows = 512;

struct BlockIter {
    std::uint8_t file = 0;
    std::uint16_t key = 0;
    ErrCode status = 0;
    std::uint16_t row = 0;
    std::uint16_t boundary = 0;  // 0xFFFF when a full block shares one key value
    std::uint16_t rows = 0;
    std::uint16_t slot = 0;
    std::string high;
};

// Called for each row loaded after the first, with the text of the active key's first field.
using BlockProgress = void (*)(std::uint16_t current, std::uint16_t total, StrDesc keyText);
// Installs the progress callback (null: none) and gives the previous one.
BlockProgress BlockProgressSet(BlockProgress progress);

// Makes key active and reads the first block from low (>=) up to high (<=; 0xFF: no limit) under the
// condition extra (an expression, kept in slot (9, 11) for BlockNext). Loads row 0 into both records.
// 168 for a full block of one key value.
ErrCode BlockStart(BlockIter& it, std::uint8_t file, std::uint16_t key, StrDesc low, StrDesc high, StrDesc extra);
// The next row for which the condition holds: 0, or 2 after the last row.
ErrCode BlockNext(BlockIter& it);
// BlockStart, then BlockNext while the condition of row 0 does not hold.
ErrCode BlockFirst(BlockIter& it, std::uint8_t file, std::uint16_t key, StrDesc low, StrDesc high, StrDesc extra);

}  // namespace rt
