// Schema discovery: the tables of schema public become data files, one field per column in column
// order and one key per index, the primary key first. Runs inside the first connection when no data
// file is registered yet.
#pragma once
#include <cstdint>
#include "runtime/text/str_desc.h"

namespace rt {

// Start flag bit of SchemaLoad: load each table's columns and indexes (without it only the files).
constexpr std::uint8_t kSchemaColumns = 2;
// At most this many tables are registered; the rest are ignored.
constexpr std::uint16_t kSchemaMaxTables = 29;

// Registers every table of schema public (175 when the table list cannot be read). With
// kSchemaColumns, each file gets its fields and keys and the integer variable named after the table
// holds its file number. The first failing table ends the load; what it registered stays.
ErrCode SchemaLoad(std::uint8_t flags);
// Adds the columns of table to the last registered file (2 when it has none).
ErrCode ColumnsLoad(StrDesc table);
// Adds the keys of table's indexes to the last registered file, the primary key first; a table
// without an index gets the default key.
ErrCode KeysLoad(StrDesc table);
// Adds one key to the last registered file from an index's column numbers ("1 3").
ErrCode IndexKey(StrDesc indkey);

// The width and type letter a column of this data type gets.
struct ColumnShape {
    std::uint16_t width = 0;
    char type = 'A';
};
ColumnShape ColumnMapping(StrDesc name, StrDesc dataType, std::int32_t precision, std::int32_t scale,
                          std::int32_t maxLength);

// Whether the server reported the column behind a field NOT NULL. Only fields registered by schema
// discovery can be; any other field answers false.
bool SqlFieldNotNull(std::uint8_t file, std::uint16_t field);

}  // namespace rt
