// Reading one record of an external file into the current record of the transfer's data file:
// delimited values or fixed-width pieces, each given to a field or to an expression through the
// field specs of STRUCT$, and the DOS code-page conversion of imported records.
#pragma once
#include <cstdint>
#include <string>
#include <vector>
#include "runtime/text/str_desc.h"
#include "runtime/trans/trans_mode.h"

namespace rt {

// One item of STRUCT$: "W;TARGET", "TARGET", or a width alone ("12", skipped bytes).
struct TransReadSpec {
    std::string spec;       // the item as written, for error reports
    std::string width;      // W: an integer expression; empty when the item has none
    std::string target;     // a field reference, or an expression holding '=' (reads _$(30))
    bool widthOnly = false;
    bool expression = false;
    std::uint16_t field = 0;   // the target field (file, number) of a reference
    std::uint8_t file = 0;
    std::uint16_t defaultWidth = 0;  // a fixed-width item without W takes this many bytes
    std::int32_t fixedWidth = -1;    // W when it is a plain number
};

struct TransReadLayout {
    std::uint8_t file = 0;
    TransMode mode = 0;
    unsigned char delimiter = ',';
    std::vector<TransReadSpec> specs;  // empty: the values go to fields 1, 2, ... (delimited) or
                                       // the record is the record image (fixed width)
    std::uint16_t recordLength = 0;    // bytes of one fixed-width record (without STREAM)
};

// Parses STRUCT$ for the file: 147 (detail: the item) for a target that is neither an expression nor
// a field. buffSize is BUFFSIZE (0: not given).
ErrCode TransReadLayoutBuild(std::uint8_t file, TransMode mode, StrDesc structList, unsigned char delimiter,
                             std::uint16_t buffSize, TransReadLayout* layout);

// Reads record (a line, or a block of recordLength bytes) into the current record: 0; 127 for an
// empty record or one starting with ESC (the current record is then left blank); 147 for a value
// whose field is missing; or the failure of a width or target expression.
ErrCode TransReadRecord(const TransReadLayout& layout, StrDesc record);

// Converts the bytes of the file's current record from the DOS code page (the accented letters of
// Spanish, and the box-drawing bytes to '=' and blanks).
void TransFromDosCodePage(std::uint8_t file);
// The byte a DOS code-page byte becomes.
unsigned char TransDosByte(unsigned char c);

}  // namespace rt
