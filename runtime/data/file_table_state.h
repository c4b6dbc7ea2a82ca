// The file table's process-wide state, shared by the data-file modules only.
#pragma once
#include <array>
#include <cstdint>
#include <vector>
#include "runtime/data/file_table.h"
#include "runtime/data/keys.h"

namespace rt {

struct FileEntry {
    std::uint8_t number = 0;
    std::uint8_t kind = 0;
    std::uint16_t fieldCount = 0;
    std::uint16_t recordLength = 0;
    std::uint16_t keyCount = 0;
};

struct FileTableState {
    std::uint8_t fileCount = 0;
    std::uint8_t lastKeyed = 0;                     // last file that has received its keys
    std::array<FileEntry, kMaxFiles> files{};
    std::array<DataFileCtrl, kMaxFiles> ctrl{};
    std::vector<FieldDesc> fields;                  // ordered by file, then field
    std::vector<KeyDesc> keys;                      // ordered by file, then key
};

FileTableState& FileState();

// Global index of field 1 and key 1 of file n (the counts of the files before it).
std::uint16_t FirstFieldIndex(std::uint8_t n);
std::uint16_t FirstKeyIndex(std::uint8_t n);

inline bool FileValid(std::uint8_t n) { return n >= 1 && n <= FileState().fileCount; }

}  // namespace rt
