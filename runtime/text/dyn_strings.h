// DynStrings: the one scratch arena for texts. It works as a stack of at most 127 live allocations
// over a 131,072-byte buffer; operations take a mark on entry and keep only their result.
#pragma once
#include <cstdint>
#include <initializer_list>
#include "runtime/text/str_desc.h"

namespace rt {

constexpr std::uint16_t kDynCapacity = 128;
constexpr std::uint32_t kDynBufferSize = kDynCapacity * 1024u;
constexpr std::uint16_t kNoMark = 0xFFFF;

std::uint16_t DynMark();
// Makes entry mark the top again; 0xFFFF changes nothing. Gives the new top.
std::uint16_t DynRelease(std::uint16_t mark);
// n bytes at the current pointer; the error descriptor 145 when the arena is full.
StrDesc DynAlloc(std::uint16_t n);
// Copies d onto the arena (read the copy with DynTop).
ErrCode DynPush(StrDesc d);
StrDesc DynTop();
// DynRelease(mark) then DynPush(d); d may lie in the released part (overlap-safe).
StrDesc DynKeep(std::uint16_t mark, StrDesc d);
// The free tail of the buffer (minus the 4 bytes never handed out), capped at 65,535.
StrDesc DynFree();
// Moves the listed texts down to lie right above mark and discards everything else above it.
ErrCode DynCompact(std::uint16_t mark, std::initializer_list<StrDesc*> texts);

std::uint32_t DynBytesInUse();

// RAII helper: releases to the mark taken at construction unless Keep() moved a result down.
class DynScope {
public:
    DynScope() : mark_(DynMark()) {}
    ~DynScope() { if (!done_) DynRelease(mark_); }
    DynScope(const DynScope&) = delete;
    DynScope& operator=(const DynScope&) = delete;
    StrDesc Keep(StrDesc d) { done_ = true; return DynKeep(mark_, d); }
    ErrCode Release(ErrCode code) { done_ = true; DynRelease(mark_); return code; }
    std::uint16_t mark() const { return mark_; }
private:
    std::uint16_t mark_;
    bool done_ = false;
};

// Internal to the memory module: set up and take down the arena's areas.
ErrCode DynSetUp();
void DynTakeDown();

}  // namespace rt
