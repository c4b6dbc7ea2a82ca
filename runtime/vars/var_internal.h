// Pieces shared by the variable modules only: growable value tables over memory areas, the name
// lists, and the store's own read and assignment (without the screen-field hook).
#pragma once
#include <cstdint>
#include "runtime/vars/variables.h"

namespace rt {

// A zero-filled table in one memory area that grows on demand.
struct VarTable {
    void* block = nullptr;
    std::uint32_t size = 0;
};
// Makes the table hold at least bytes bytes (new bytes are 0); 145 when memory runs out.
ErrCode VarTableEnsure(VarTable& t, std::uint16_t owner, std::uint32_t bytes);
void VarTableRelease(VarTable& t, std::uint16_t owner);

// Name lists: comma-separated, compared exactly.
// The slot of name in the list of kind (0-based position, 0xFFFF when absent), through an index
// that costs the same whatever the length of the list.
std::uint16_t VarListFind(VarKind kind, StrDesc name);
// Drops the indexes (the store's end).
void VarListForget();
std::uint16_t VarListCount(StrDesc list);
StrDesc VarNames(VarKind kind);                          // slot (12, kind) in place
// Appends name (may be empty for a placeholder) and gives its slot, or 0xFFFF when it cannot be placed.
std::uint16_t VarListAppend(VarKind kind, StrDesc name);
// Takes the list of kind back to n names (undoing an append).
void VarListTruncate(VarKind kind, std::uint16_t n);

// The store itself, past the hook: reads push the value on DynStrings.
ErrCode VarStoreRead(VarKind kind, StrDesc name);
ErrCode VarStoreAssign(VarKind kind, StrDesc name, StrDesc value);

// Arrays: set up with the store, released at its end.
ErrCode VarArraysSetUp();
void VarArraysRelease();

}  // namespace rt
