// The transfer mode: a 16-bit flag set saying which way records move, what the other side is and how
// the run behaves. Fifteen of the bits have names, which parameter blocks may set (DELIMITED=1).
#pragma once
#include <cstdint>
#include "runtime/text/str_desc.h"

namespace rt {

using TransMode = std::uint16_t;

enum TransModeBits : TransMode {
    kTransImport = 1,              // records go into the data file
    kTransUpdate = 2,              // the data file is opened for update
    kTransExternFile = 4,          // the other side is an external text file
    kTransDeleting = 8,            // records are deleted
    kTransStream = 16,             // lines ending in CR LF
    kTransDelimited = 32,          // fields separated by a delimiter (else fixed width)
    kTransAppend = 64,             // the external output is appended to
    kTransIndexChk = 128,          // count only
    kTransBatch = 256,             // no questions; record-level failures other than 147 go on
    kTransOverwrite = 512,         // an import only rewrites records whose unique key exists
    kTransRelationalReset = 1024,  // the data file's table is emptied when the run opens
    kTransExternIndexed = 2048,    // an indexed external file (no longer supported)
    kTransIsSql = 4096,            // the other side is an SQL table
    kTransUsrUpdate = 8192,        // no longer supported
    kTransHumanRead = 16384,       // readable columns under a header
    kTransDosCodePage = 32768,     // imported records come in the DOS code page
};

// The names of the bits 1 to 16384, in bit order (name k is bit 2^(k-1)).
inline constexpr StrDesc kTransModeNames =
    S("IMPORT,UPDATE,EXTERNFILE,DELETING,STREAM,DELIMITED,APPEND,INDEXCHK,BATCHMODE,OVERWRITE,"
      "RELATIONAL_RESET,EXTERN_INDEXED,IS_SQL,USR_UPDATE,HUMAN_READ");
constexpr std::uint16_t kTransModeNameCount = 15;

// Modes with a meaning of their own.
constexpr TransMode kTransMenuMode = 0;                           // pick a saved definition
constexpr TransMode kTransMassSqlUpdate = kTransIsSql | kTransImport;  // 4097: one UPDATE over a range
constexpr TransMode kTransExportDelimited = kTransDelimited | kTransStream | kTransExternFile;  // 52

inline bool TransHas(TransMode mode, TransMode bits) { return (mode & bits) != 0; }
// An import from an external text file.
inline bool TransIsExternImport(TransMode mode) {
    return (mode & (kTransImport | kTransExternFile)) == (kTransImport | kTransExternFile);
}
// An export to an external text file.
inline bool TransIsExport(TransMode mode) {
    return (mode & (kTransImport | kTransExternFile)) == kTransExternFile;
}

}  // namespace rt
