// The external file of an import as records: whole lines (CR LF, LF or CR ended, a closing Ctrl-Z
// dropped) or blocks of a fixed length, read in large pieces from a stream of any kind, standard
// input included.
#pragma once
#include <cstdint>
#include <vector>
#include "runtime/text/str_desc.h"

namespace rt {

// The longest line an import takes whole; a longer one is skipped and logged with its number.
constexpr std::uint32_t kTransMaxLine = 0xFFFF;

class TransInput {
public:
    explicit TransInput(std::uint16_t handle);
    // Reads delimited records from now on: a line end inside a quoted value (one whose first byte is
    // '"') continues the value with the next line, kept as it stands, and the limit is the whole
    // record's. A delimiter that is itself '"' leaves nothing quoted.
    void QuotedValues(unsigned char delimiter);
    // The next line as a view valid until the next call: 0, or 2 at the end of the input.
    ErrCode NextLine(StrDesc* line);
    // The next count bytes (fewer at the end): 0, or 2 when nothing is left.
    ErrCode NextBlock(std::uint16_t count, StrDesc* record);
    // Number of the line given last (1-based), counting skipped lines.
    std::uint32_t lineNumber() const { return line_; }
    // Lines skipped for their length.
    std::uint32_t skipped() const { return skipped_; }
    // Bytes taken from the stream so far.
    std::uint64_t consumed() const { return consumed_; }

private:
    // Reads more bytes after the held ones; false when the stream gave nothing.
    bool Fill();
    ErrCode SkipLongLine();

    // Where a record's values stand while its bytes are scanned: whether a quoted value is open.
    struct Scan {
        bool inQuote = false;
        bool valueStart = true;  // the next byte is a value's first
        bool justClosed = false; // the last byte closed a quote: a '"' now is a doubled one
    };
    // Takes one byte into the scan: true when it is a line end that ends the record.
    bool EndsRecord(Scan& scan, char c) const;

    std::uint16_t handle_;
    std::vector<char> buffer_;
    std::uint32_t begin_ = 0, end_ = 0;
    bool atEnd_ = false;
    bool pendingLf_ = false;  // the last line ended in CR at the edge of the buffer: an LF may follow
    bool quoted_ = false;     // line ends inside quoted values belong to the value
    unsigned char delimiter_ = ',';
    std::uint32_t line_ = 0;
    std::uint32_t skipped_ = 0;
    std::uint64_t consumed_ = 0;
};

}  // namespace rt
