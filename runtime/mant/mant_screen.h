// What the maintenance engine needs of the current screen: its data file, its window's active key
// counter, the parameters SAVED$, IK$(1), RELOPT% and SET$, and the snapshot and refresh of its
// fields. The screens module installs its screens here at start-up. Until one is installed (and for
// a program without screens) the current data file stands alone: the key counter is the file's active
// key, every parameter is empty, and snapshots and refreshes do nothing.
#pragma once
#include <cstdint>
#include "runtime/text/str_desc.h"

namespace rt {

// The screen parameters the engine reads.
enum MantParameter : std::uint8_t {
    kMantSaved = 1,      // SAVED$: run after an action whose write and commit succeeded
    kMantKeyPrefix = 2,  // IK$(1): expressions whose texts, joined, every key 1 must start with
    kMantRelOption = 3,  // RELOPT%: the relational-update option of the write phase
};

struct MantScreen {
    // The screen's data file.
    std::uint8_t (*file)();
    // The window's active key counter, and storing it.
    std::uint16_t (*keyCounter)();
    void (*keyCounterSet)(std::uint16_t key);
    // A parameter's text (on DynStrings; empty when the screen has none).
    StrDesc (*parameter)(MantParameter which);
    // The screen's variable count (the RelOption count).
    std::uint16_t (*variableCount)();
    // Copies the screen's fields into their variables and files before an action.
    ErrCode (*snapshot)();
    // Shows the fields again: all of them, or those of a key of the file, with a refresh mode.
    ErrCode (*refresh)(std::uint16_t mode);
    ErrCode (*refreshKey)(std::uint16_t key, std::uint16_t mode);
    // Runs item n of the screen's SET$ list (2: after a new record).
    ErrCode (*event)(std::uint16_t item);
};

// Installs screen (null: the standalone file) and gives the previous one.
const MantScreen* MantScreenSet(const MantScreen* screen);
// The installed screen, or the standalone file's.
const MantScreen& MantScreenGet();

}  // namespace rt
