// Opening and closing data files. Opening makes a blank record buffer and resets the control
// block; with mode bit 8 it also reads the first record through the read layer. Closing ends the
// file's reads and resets the control block.
#pragma once
#include <cstdint>
#include "runtime/text/str_desc.h"

namespace rt {

constexpr std::uint8_t kOpenReadFirst = 8;  // mode bit: read the first record when opening
constexpr std::uint8_t kReadFirst = 0x24;   // read mode of the first record in key order

// The record-access layer that serves reads. Until one is installed, reads answer 2 (no record)
// and the file has no multi-read or result slots to end.
struct FileReadLayer {
    // Reads a record of file in the given read mode; gives the access status or an ErrCode.
    ErrCode (*read)(std::uint8_t file, std::uint8_t mode);
    // Ends the file's multi-read, if one is open.
    void (*multiReadEnd)(std::uint8_t file);
    // Clears the held result of an SqlControl slot.
    void (*resultClear)(std::uint16_t slot);
};
// Installs layer (null: none) and gives the previous one. The layer must outlive its use.
const FileReadLayer* FileReadLayerSet(const FileReadLayer* layer);

// n is resolved as usual. 168 for an unregistered file, else the buffer store's code, else (with
// mode bit 8) the outcome of the first read.
ErrCode FileOpen(std::uint8_t n, std::uint8_t mode);
// 0 for a closed file; 168 for an unregistered one.
ErrCode FileClose(std::uint8_t n);

}  // namespace rt
