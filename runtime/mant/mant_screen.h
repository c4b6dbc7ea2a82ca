// The maintenance engine's view of the current screen: its data file, its window's active key
// counter, the parameters SAVED$, IK$(1) and RELOPT%, the variable count it was made with, and the
// refresh of the fields of one key. Without a current screen (a script paging a file through
// FILELOCATE) the current data file stands alone: the key counter is the file's active key and every
// parameter is empty. Snapshots, refreshes and SET$ events go to the screens directly; they do
// nothing without a screen.
#pragma once
#include <cstdint>
#include "runtime/text/str_desc.h"

namespace rt {

// The screen parameters the engine reads.
enum MantParameter : std::uint8_t {
    kMantSaved,      // SAVED$: run after an action whose write and commit succeeded
    kMantKeyPrefix,  // IK$(1): expressions whose texts, joined, every key 1 must start with
    kMantKeyRange,   // item 1 of IK$(1): the key range of the write phase's key check
    kMantRelOption,  // RELOPT%: the relational-update option of the write phase
};

// The current screen's data file, or the current data file when no screen is current.
std::uint8_t MantScreenFile();
// The current screen window's active key counter (the file's active key without one), and storing it.
std::uint16_t MantKeyCounter();
void MantKeyCounterSet(std::uint16_t key);
// A parameter's text (on DynStrings; empty without a screen or when the screen has none).
StrDesc MantScreenParameter(MantParameter which);
// The count of variables defined when the screen was made (0 without a screen).
std::uint16_t MantScreenVariables();
// Refreshes with mode the screen's fields bound to the fields of key of its file.
ErrCode MantRefreshKey(std::uint16_t key, std::uint16_t mode);

}  // namespace rt
