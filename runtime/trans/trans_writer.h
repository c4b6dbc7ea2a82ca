// The export line of a record in its three layouts (delimited, readable columns, fixed width), and
// the header of a readable export. The columns are the items of STRUCT$ or every field of the file.
#pragma once
#include <cstdint>
#include <string>
#include <vector>
#include "runtime/text/str_desc.h"
#include "runtime/trans/trans_mode.h"

namespace rt {

struct TransColumn {
    std::string item;           // the STRUCT$ item, or the field's reference
    bool field = false;         // a field reference: the field's stored text
    bool fromStruct = false;    // named by STRUCT$ (else taken because STRUCT$ is empty)
    std::uint8_t file = 0;
    std::uint16_t number = 0;
    std::uint16_t offset = 0;
    std::uint16_t width = 0;
    char type = 0;
    std::uint16_t columnWidth = 0;  // the readable layout's column
};

struct TransWriteLayout {
    std::uint8_t file = 0;
    TransMode mode = 0;
    std::string delimiter = ",";
    std::uint16_t capacity = 16384;  // the longest line
    std::vector<TransColumn> columns;
};

// The columns of STRUCT$ (or of every field) of the file.
ErrCode TransWriteLayoutBuild(std::uint8_t file, TransMode mode, StrDesc structList, StrDesc delimiter,
                              std::uint16_t capacity, TransWriteLayout* layout);

// A field of a type letter A, B, C, D or F is written as a quoted text.
bool TransIsTextType(char type);

// Appends the header to out: header when not empty, else for HUMAN_READ the titles and a line of '='
// (column widths are settled here), each line ended by CR LF; with STREAM one more CR LF follows.
// Nothing for other modes without a header.
ErrCode TransHeader(TransWriteLayout* layout, StrDesc header, std::string* out);

// Appends the current record's export line (without line end) to out: 0, the failure of an item's
// expression, or 146 when the line would be longer than the capacity.
ErrCode TransExportLine(const TransWriteLayout& layout, std::string* out);

}  // namespace rt
