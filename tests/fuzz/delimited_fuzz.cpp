// Fuzz target of the transfer's import reader: an input is a first line "FLAGS DELIMITER STRUCT$"
// and the external file after it. FLAGS picks delimited or fixed width, the DOS code-page bit and
// STREAM; DELIMITER is one byte; STRUCT$ (possibly empty) the field specs. Every record of the file
// is read into a small data file; a delimited record read without specs is then written as an export
// line and read back, and from then on every further round must give the same record (empty dates
// are kept empty for it, as _AUXSTAT bit 64 does).
#include <cstdint>
#include <cstdlib>
#include <string>

#include "runtime/data/file_open.h"
#include "runtime/data/file_table.h"
#include "runtime/data/record_buffer.h"
#include "runtime/env/streams.h"
#include "runtime/text/dyn_strings.h"
#include "runtime/text/str_bridge.h"
#include "runtime/trans/trans_input.h"
#include "runtime/trans/trans_reader.h"
#include "runtime/trans/trans_writer.h"
#include "runtime/vars/var_system.h"
#include "tests/fuzz/support/fuzz_runtime.h"

namespace {

using namespace rt;

// Delimiters of real files; with any byte that a stored number may hold (a digit, '.', '-') an
// unquoted number would be cut on the way back, which is no fault of the reader.
constexpr char kDelimiters[] = {',', ';', '\t', '|'};

std::uint8_t FuzzFile() {
    // The reset after an input may take the file table back to what start-up left.
    std::uint8_t file = FileByName(S("fuzzcli"));
    if (file != 0) return file;
    if (FileRegister(0, S("fuzzcli"), StrEmpty()) != 0) return 0;
    FieldAdd(S("NOMBRE"), 20, 'A');
    FieldAdd(S("N_LINE"), 5, 'N');
    FieldAdd(S("FECHA"), 8, 'D');
    FieldAdd(S("IMPORTE"), 9, '2');
    return FileCount();
}

// One round: the current record as an export line, read back. The record image afterwards.
std::string RoundTrip(const TransReadLayout& reader, const TransWriteLayout& writer) {
    std::string line;
    if (TransExportLine(writer, &line) != 0) return "";
    line.resize(line.size() > 0xFFFF ? 0xFFFF : line.size());
    TransReadRecord(reader, StrDesc{line.data(), static_cast<std::uint16_t>(line.size())});
    return StrToStd(RecImage(reader.file, kRecCurrent));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzz::FuzzInput input;
    auto parts = fuzz::SplitInput(data, size, "\n", 2);
    std::string head(parts[0].substr(0, 512));
    unsigned flags = static_cast<unsigned>(std::strtoul(head.c_str(), nullptr, 10));
    std::size_t blank = head.find(' ');
    char delimiter = kDelimiters[(blank != std::string::npos && blank + 1 < head.size() ? head[blank + 1] : 0) & 3];
    std::string structList = blank != std::string::npos && blank + 3 <= head.size() ? head.substr(blank + 3) : "";

    TransMode mode = kTransImport | kTransExternFile;
    if (flags & 1) mode |= kTransDelimited;
    if (flags & 2) mode |= kTransDosCodePage;
    if (!(flags & 4)) mode |= kTransStream;
    fuzz::ScratchWrite("IN.TXT", parts.size() > 1 ? parts[1] : std::string_view());

    // An empty date would read back as today's date: the round trip is checked with empty dates
    // kept empty.
    SysBitsSet(kSysAuxStat, static_cast<std::uint16_t>(SysBits(kSysAuxStat) | kAuxEmptyDateStays));
    std::uint8_t file = FuzzFile();
    if (file == 0 || FileOpen(file, 2) != 0) return 0;
    FileSelect(file);
    DynScope scope;
    TransReadLayout reader;
    if (TransReadLayoutBuild(file, mode, fuzz::View(structList), static_cast<unsigned char>(delimiter),
                             static_cast<std::uint16_t>(flags >> 3 & 0xFF), &reader) == 0) {
        std::uint16_t h = StreamOpen(S("IN.TXT"), kStreamReadOnly | kStreamQuiet);
        if (h < kStreamCount) {
            TransInput in(h);
            bool stream = (mode & kTransStream) != 0;
            // As the import reads it: a quoted value may hold line ends.
            if (stream && (mode & kTransDelimited)) in.QuotedValues(static_cast<unsigned char>(delimiter));
            std::uint16_t length = reader.recordLength != 0 ? reader.recordLength : 1;
            for (int records = 0; records < 256; ++records) {
                DynScope each;
                StrDesc record;
                if ((stream ? in.NextLine(&record) : in.NextBlock(length, &record)) != 0) break;
                fuzz::FuzzCheck(record.len <= kTransMaxLine, "a record is at most 65,535 bytes");
                ErrCode e = TransReadRecord(reader, record);
                if (e != 0 || !reader.specs.empty() || !(mode & kTransDelimited)) continue;
                // The export of what was read, read back, is a fixed point after one round (the
                // first round may trim blanks at a value's ends and fit numbers).
                TransReadLayout plain = reader;
                plain.mode = static_cast<TransMode>(mode & ~kTransDosCodePage);
                TransWriteLayout writer;
                if (TransWriteLayoutBuild(file, kTransExportDelimited, StrEmpty(), StrDesc{&delimiter, 1}, 0xFFFF,
                                          &writer) != 0)
                    continue;
                std::string once = RoundTrip(plain, writer);
                std::string twice = RoundTrip(plain, writer);
                fuzz::FuzzCheck(once == twice, "an exported record reads back as it was written");
            }
            StreamClose(h);
        }
    }
    FileClose(file);
    return 0;
}
