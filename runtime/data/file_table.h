// The registry of data files: numbered files of fixed-width records made of named, typed fields,
// with their keys and one control block per file. Files, fields and keys are appended during
// start-up and stay until the process ends. Names live in the string slots:
// group 1 file names, group 2 folders, group 3 field names, group 4 relation texts, group 6 record
// buffers (item file - 1, field names by global field index).
#pragma once
#include <cstdint>
#include "runtime/text/slot_map.h"
#include "runtime/text/str_desc.h"

namespace rt {

constexpr std::uint8_t kMaxFiles = 30;
constexpr std::uint8_t kCurrentFile = 255;     // "the current file" wherever a file number is taken
constexpr std::uint16_t kFileOnly = 0xFFFF;    // FieldCheck: check the file, not a field
constexpr std::uint16_t kMaxRecordLength = 32767;  // both record images must fit in one text

// The file table's string-slot groups (kFileNamesGroup ... kRecordsGroup) are in the slot map.


// One field of a file. A failing lookup gives a FieldDesc whose status carries the code.
struct FieldDesc {
    std::uint8_t file = 0;
    std::uint16_t field = 0;   // 1-based within the file
    std::uint16_t offset = 0;  // bytes from the start of the record
    std::uint16_t width = 0;
    char type = 0;
    ErrCode status = 0;
};

// Per-file control block (record access state).
struct DataFileCtrl {
    std::uint16_t activeKey = 1;
    std::uint16_t status = 2;          // 0 read, 1 other key, 2 end of file / not found, 3 new record
    std::uint16_t handle = 0xFFFF;     // stream of an operating-system file, 0xFFFF when none
    std::uint16_t multiSlot = 0xFFFF;  // SqlControl slot of a multi-read
    std::uint16_t multiRow = 0xFFFF;   // row of the multi-read held in the record buffer
    std::uint16_t relationMark = 0xFFFF;  // first slot-group-7 item of the relational statements
    std::uint16_t resultSlots[3] = {0, 0, 0};  // result-slot stack, most recent first
    std::uint8_t openMode = 0;         // 0 closed
};

// Forgets every file, field and key (and their slot texts when the slot table is up).
// Start-up and tests call it before registering.
void FileTableReset();

// Files.
std::uint8_t FileCount();
// 1..count stand for themselves; 0, 255 and numbers above the count stand for _CURFIL.
std::uint8_t FileResolve(std::uint8_t n);
// Makes n the current file when it is registered; gives the resolved current file.
std::uint8_t FileSelect(std::uint8_t n);
// A name (first byte above '@') gives its number or 0; an empty text the current file; any other
// text is read as a decimal number and given unchecked.
std::uint8_t FileByName(StrDesc text);
// Kinds of FileName: the bare name, the temporary folder, or a companion path with its extension.
enum FileNameKind : std::uint8_t {
    kFileNamePath = 0,        // folder and name, no extension
    kFileNameBare = 1,        // the name as registered
    kFileNameDict = 2,        // .FD
    kFileNameIndex = 3,       // .DIR (.NDX under kCompatIndexNdx)
    kFileNameIndexNdx = 4,    // .NDX
    kFileNameTemp = 5,        // .TMP
    kFileNameText = 6,        // .TXT
    kFileNameTempFolder = 7,  // the TEMP folder
};
// Name (kFileNameBare), temporary folder (kFileNameTempFolder) or companion path (other kinds) of
// file n as given.
StrDesc FileName(std::uint8_t n, std::uint8_t kind);
// FileName of every registered file, joined with ",".
StrDesc FileNameList(std::uint8_t kind);
// Kind given at registration (0 for SQL tables); 0 for an unregistered number.
std::uint8_t FileKindOf(std::uint8_t n);
// 161 when 30 files exist; the name is lower-cased unless _AUXSTAT has bit 8.
ErrCode FileRegister(std::uint8_t kind, StrDesc name, StrDesc folder);

// Control blocks: n must be registered (checked by the "DataFileCtrl" assertion).
DataFileCtrl& FileCtrl(std::uint8_t n);
void CtrlReset(std::uint8_t n);

// Fields.
// Appends a field to the last registered file: 161 with no file or with 30 files registered,
// 168 when the record would grow beyond kMaxRecordLength.
ErrCode FieldAdd(StrDesc name, std::uint16_t width, char type);
std::uint16_t FieldCount(std::uint8_t n);
std::uint16_t RecordLength(std::uint8_t n);
// 168 with the detail "(File:n, Field:f)" unless n is registered and field is kFileOnly or 1..count.
// n is taken as given (callers resolve it).
ErrCode FieldCheck(std::uint8_t n, std::uint16_t field);
FieldDesc FieldInfo(std::uint8_t n, std::uint16_t field);
// The field's name in place in the slot table (valid until the next slot change).
StrDesc FieldName(std::uint8_t n, std::uint16_t field);
// Field number by exact name, 0xFFFF when absent.
std::uint16_t FieldByName(std::uint8_t n, StrDesc name);
// NAME{n}; with n = 0 the braces are empty.
StrDesc FieldRefName(std::uint8_t n, std::uint16_t field);
StrDesc FieldNameList(std::uint8_t n, bool qualified);
// Screen and transfer width: with _COMPAT bit 64 a type letter '0'..'8' adds that digit + 1.
std::uint16_t DisplayWidth(char type, std::uint16_t width);

}  // namespace rt
