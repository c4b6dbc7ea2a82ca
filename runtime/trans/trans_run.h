// Running one transfer: the mode completed from the top parameter block, the parameters prepared,
// the limits asked for or taken from LIMITS$, and the run dispatched (the mass SQL update of mode
// 4097, the count of INDEXCHK, or the record loop FileTransLow). The interactive form asks for a
// missing external file, shows the progress window and the outcome; the batch form does neither.
#pragma once
#include <cstdint>
#include "runtime/text/str_desc.h"
#include "runtime/trans/trans_mode.h"

namespace rt {

// Called for each record read with its key text and the amount of work it stands for (the bytes an
// external record took, 1 otherwise): 0 goes on, any other code (122 when the user cancelled) stops.
using TransProgressFn = ErrCode (*)(void* context, StrDesc keyText, std::uint32_t step);
// Replaces the reading of an external import record: fills the file's current record and gives a
// status as the reader would (0, 127 to skip, 2 at the end, or a failure).
using TransReaderFn = ErrCode (*)(void* context, std::uint8_t file);

struct TransHooks {
    TransProgressFn progress = nullptr;
    TransReaderFn reader = nullptr;
    void* context = nullptr;
};

// The run's names for standard streams: stdin, stdout, stderr and pipe (standard input again).
inline constexpr StrDesc kTransStdNames = S("stdin,stdout,stderr,pipe");

// Interactive form: 0, 121 after a count shown (or a run that moved records), 122 when cancelled,
// 127 when nothing was moved, or the failure (already shown unless BATCHMODE).
ErrCode TransRun(StrDesc target, TransMode mode);
// Batch form: the outcome only; the caller reads _COUNT/_HCOUNT for the count.
ErrCode TransRunBatch(StrDesc target, TransMode mode, const TransHooks& hooks);

}  // namespace rt
