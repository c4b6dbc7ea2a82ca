// The record loop of a transfer (FileTransLow): the two sides opened, the data file positioned at
// the range's first key, the header of an export written, each record read, checked, written and
// counted, an import's work file applied, and everything it opened closed again.
#pragma once
#include <cstdint>
#include <string>
#include "runtime/text/str_desc.h"
#include "runtime/trans/trans_mode.h"
#include "runtime/trans/trans_run.h"

namespace rt {

// What the preparation of a run settled.
struct TransRunState {
    std::uint8_t file = 0;      // the data file, current
    TransMode mode = 0;
    std::string target;         // the external file or SQL table, as given
    std::uint16_t key = 1;      // INDEX$: the key that orders the run
    std::string low, high;      // first and last key of the range (empty: no bound)
    TransHooks hooks;
    std::uint32_t count = 0;    // records written
};

// Runs the loop: 0, 127 when nothing was written and nothing failed, 122 when the progress callback
// stopped it, or the failure. The count is left in _COUNT/_HCOUNT and run.count.
ErrCode FileTransLow(TransRunState& run);

// The handle of a standard-stream target name, 0xFFFF for any other name.
std::uint16_t TransStdHandle(StrDesc target);

}  // namespace rt
