// The DynStrings arena: its buffer and stack of allocations, marks, keeping a result and release.
#include "runtime/text/dyn_strings.h"

#include <cstring>

#include "runtime/text/err_codes.h"
#include "runtime/text/mem_areas.h"

namespace rt {
namespace {

char* g_buffer = nullptr;
StrDesc* g_stack = nullptr;
std::uint16_t g_top = 0;
char* g_current = nullptr;

std::uint32_t Round4(std::uint32_t n) { return (n + 3u) & ~3u; }

// The pointer must stay inside the buffer and strictly below its last byte's end.
bool InsideBuffer(const char* p) {
    return g_buffer != nullptr && p >= g_buffer && p < g_buffer + kDynBufferSize;
}

}  // namespace

ErrCode DynSetUp() {
    // The buffer is not pre-filled: the arena never relies on its contents.
    std::uint16_t n = AreaAlloc(kOwnerDyn, kDynBufferSize, 255);
    MemArea a;
    if (n == kNone || AreaGet(n, &a) != 0 || a.block == nullptr) return kNone;
    g_buffer = reinterpret_cast<char*>(a.block);
    g_stack = static_cast<StrDesc*>(AreaAllocPtr(kOwnerDyn, kDynCapacity * sizeof(StrDesc)));
    if (g_stack == nullptr) return kNone;
    g_current = g_buffer;
    g_stack[0] = StrDesc{g_buffer, 0};
    g_top = 0;
    return 0;
}

void DynTakeDown() {
    if (g_buffer) AreaFree(kOwnerDyn, g_buffer);
    if (g_stack) AreaFree(kOwnerDyn, g_stack);
    g_buffer = nullptr;
    g_stack = nullptr;
    g_current = nullptr;
    g_top = 0;
}

std::uint16_t DynMark() { return g_top; }

std::uint16_t DynRelease(std::uint16_t mark) {
    if (mark >= kDynCapacity || g_stack == nullptr) return g_top;
    const StrDesc& e = g_stack[mark];
    char* p = const_cast<char*>(e.ptr) + Round4(e.len);
    if (InsideBuffer(p)) {
        g_current = p;
        g_top = mark;
    }
    return g_top;
}

StrDesc DynAlloc(std::uint16_t n) {
    if (g_stack == nullptr) return StrError(kErrOutOfMemory);
    StrDesc d{g_current, n};
    if (g_top >= kDynCapacity) return StrError(kErrOutOfMemory);
    // Compare as offsets so that a request past the end never forms an out-of-range pointer.
    std::uint32_t offset = std::uint32_t(g_current - g_buffer) + Round4(n);
    if (offset >= kDynBufferSize) return StrError(kErrOutOfMemory);
    if (g_top >= kDynCapacity - 1) return StrError(kErrOutOfMemory);
    g_current = g_buffer + offset;
    ++g_top;
    g_stack[g_top] = d;
    return d;
}

ErrCode DynPush(StrDesc d) {
    ErrCode e = StrCheck(d);
    if (e != 0) return e;
    StrDesc to = DynAlloc(d.len);
    if (to.IsError()) return to.len;
    if (d.len) std::memmove(to.mut(), d.ptr, d.len);
    return 0;
}

StrDesc DynTop() {
    if (g_stack == nullptr) return StrError(kErrOutOfMemory);
    return g_stack[g_top];
}

StrDesc DynKeep(std::uint16_t mark, StrDesc d) {
    DynRelease(mark);
    ErrCode e = DynPush(d);
    if (e != 0) return StrError(e);
    return DynTop();
}

StrDesc DynFree() {
    if (g_buffer == nullptr) return StrError(kErrOutOfMemory);
    std::uint32_t used = std::uint32_t(g_current - g_buffer);
    std::uint32_t room = kDynBufferSize - used;
    room = room >= 4 ? room - 4 : 0;
    if (room > 0xFFFF) room = 0xFFFF;
    return StrDesc{g_current, static_cast<std::uint16_t>(room)};
}

ErrCode DynCompact(std::uint16_t mark, std::initializer_list<StrDesc*> texts) {
    for (StrDesc* t : texts) {
        ErrCode e = DynPush(*t);
        if (e != 0) return e;
        *t = DynTop();
    }
    DynRelease(mark);
    for (StrDesc* t : texts) {
        ErrCode e = DynPush(*t);
        if (e != 0) return e;
        *t = DynTop();
    }
    return 0;
}

std::uint32_t DynBytesInUse() { return g_buffer ? std::uint32_t(g_current - g_buffer) : 0; }

}  // namespace rt
