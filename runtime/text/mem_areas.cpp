// The memory-area table: allocation with guard bytes, checked release, growing, area buffers and
// the shutdown that reports what was left.
#include "runtime/text/mem_areas.h"

#include <cstdlib>
#include <cstring>

#include "runtime/text/dyn_strings.h"
#include "runtime/text/err_codes.h"
#include "runtime/text/slot_table.h"

namespace rt {
namespace {

const unsigned char kGuard[4] = {0x00, 0x21, 0x21, 0x00};

MemArea* g_table = nullptr;
std::uint16_t g_entries = 0;

int FindBlock(const void* block) {
    if (block == nullptr) return -1;
    for (int i = 0; i < g_entries; ++i)
        if (g_table[i].block == block) return i;
    return -1;
}

void ReleaseEntry(int i) {
    std::free(g_table[i].block);
    g_table[i] = MemArea{};
}

}  // namespace

bool MemReady() { return g_table != nullptr; }

std::uint16_t AreaAlloc(std::uint16_t owner, std::uint32_t size, unsigned char fill) {
    for (int i = 0; i < g_entries; ++i) {
        if (g_table[i].block != nullptr) continue;
        g_table[i].owner = owner;
        g_table[i].size = size;
        auto* block = static_cast<unsigned char*>(std::malloc(std::size_t(size) + 4));
        g_table[i].block = block;
        if (block != nullptr) {
            std::memcpy(block + size, kGuard, 4);
            if (fill != 255) std::memset(block, fill, size);
        }
        return static_cast<std::uint16_t>(i);
    }
    return kNone;
}

void* AreaAllocPtr(std::uint16_t owner, std::uint32_t size) {
    std::uint16_t n = AreaAlloc(owner, size, 0);
    if (n == kNone) return nullptr;
    return g_table[n].block;
}

ErrCode AreaGet(std::uint16_t number, MemArea* out) {
    if (number >= g_entries) return kErrData;
    if (out) *out = g_table[number];
    return 0;
}

ErrCode AreaFree(std::uint16_t owner, const void* block) {
    int i = FindBlock(block);
    if (i < 0) return kErrMemoryAllocErr;
    MemArea& a = g_table[i];
    if (std::memcmp(a.block + a.size, kGuard, 4) != 0) return kErrMemoryOverflow;
    if (a.owner != owner) return kErrInternal;
    ReleaseEntry(i);
    return 0;
}

ErrCode AreaWrite(std::uint16_t owner, void* block, std::uint32_t offset, StrDesc d) {
    if (d.IsError()) return StrCheck(d);
    int i = FindBlock(block);
    if (i < 0 || g_table[i].size < std::uint64_t(offset) + d.len) return kErrDataOutBound;
    // As with AreaFree, only the module that owns an area may write into it.
    if (g_table[i].owner != owner) return kErrInternal;
    if (d.len) std::memmove(g_table[i].block + offset, d.ptr, d.len);
    return 0;
}

void* AreaGrow(std::uint16_t owner, void* oldBlock, std::uint32_t oldSize, std::uint32_t newSize) {
    if (newSize < oldSize) newSize = oldSize;
    void* fresh = AreaAllocPtr(owner, newSize);
    if (fresh == nullptr) return nullptr;
    if (oldBlock != nullptr) {
        std::memcpy(fresh, oldBlock, oldSize);
        AreaFree(owner, oldBlock);
    }
    return fresh;
}

std::uint16_t AreaLive(std::uint16_t first, std::uint16_t end, int mode, std::uint16_t* highestOwner) {
    if (end > g_entries) end = g_entries;
    std::uint16_t live = 0, freeCount = 0, walked = 0;
    bool seen = false;
    if (highestOwner) *highestOwner = 0;
    for (int i = int(end) - 1; i >= int(first); --i) {
        ++walked;
        if (g_table[i].block == nullptr) {
            ++freeCount;
        } else {
            ++live;
            if (!seen && highestOwner) *highestOwner = g_table[i].owner;
            seen = true;
        }
    }
    if (mode == 2) return freeCount;
    if (mode == 3) return walked;
    return live;
}

void* AreaBufferAppend(AreaBuffer& buf, std::uint16_t owner, StrDesc d, bool align4) {
    if (buf.error != 0) return nullptr;
    // Counted in 32 bits: rounding a count near 65,535 up must fail, not wrap to offset 0.
    std::uint32_t from = align4 ? (std::uint32_t(buf.used) + 3u) & ~3u : buf.used;
    ErrCode e = from + d.len > 0xFFFF ? ErrCode(kErrDataOutBound) : AreaWrite(owner, buf.block, from, d);
    if (e != 0) {
        buf.error = e;
        return nullptr;
    }
    buf.used = static_cast<std::uint16_t>(from + d.len);
    return buf.block + from;
}

ErrCode AreaBufferGrow(AreaBuffer& buf, std::uint16_t owner, std::uint16_t newCapacity) {
    void* grown = AreaGrow(owner, buf.block, buf.capacity, newCapacity);
    if (grown == nullptr) return kErrOutOfMemory;
    buf.block = static_cast<unsigned char*>(grown);
    if (newCapacity > buf.capacity) buf.capacity = newCapacity;
    return 0;
}

ErrCode AreaBufferRelease(AreaBuffer& buf, std::uint16_t owner) {
    ErrCode e = AreaFree(owner, buf.block);
    if (e == 0) buf = AreaBuffer{};
    return e;
}

TextBuffer TextBufferNew(std::uint16_t owner, std::uint16_t capacity) {
    TextBuffer tb;
    tb.capacity = capacity;
    tb.block = static_cast<char*>(AreaAllocPtr(owner, capacity));
    return tb;
}

ErrCode MemInit() {
    if (g_table != nullptr) return kErrUndefinedWarning;
    g_table = static_cast<MemArea*>(std::calloc(kAreaCount, sizeof(MemArea)));
    if (g_table == nullptr) return kErrOutOfMemory;
    g_entries = kAreaCount;
    return DynSetUp();
}

namespace {

// Takes down DynStrings and the slot table, lists every other live area in leaks and releases it.
std::uint16_t ShutdownChecked(MemLeaks* leaks) {
    *leaks = MemLeaks{};
    DynTakeDown();
    bool slotTable = SlotReady();  // its area is the one of the slot table's tag
    SlotForget();
    for (int i = 0; i < g_entries; ++i) {
        if (g_table[i].block == nullptr) continue;
        if (slotTable && g_table[i].owner == kOwnerSlots) {
            slotTable = false;
        } else {
            leaks->owners[leaks->count++] = g_table[i].owner;
        }
        ReleaseEntry(i);
    }
    std::free(g_table);
    g_table = nullptr;
    g_entries = 0;
    return leaks->count == 0 ? 0 : leaks->owners[leaks->count - 1];
}

}  // namespace

std::uint16_t MemShutdown(MemLeaks* leaks) {
    if (leaks != nullptr) *leaks = MemLeaks{};
    if (g_table == nullptr) return 0;
    if (leaks != nullptr) return ShutdownChecked(leaks);
    std::uint16_t owner = 0;
    std::uint16_t live = AreaLive(0, g_entries, 1, &owner);
    if (live == 0) {
        std::free(g_table);
        g_table = nullptr;
        g_entries = 0;
        return 0;
    }
    if (owner != kOwnerSlots) return owner;
    for (int i = g_entries - 1; i >= 0; --i) {
        if (g_table[i].block != nullptr) {  // the highest live area, the slot table's
            ReleaseEntry(i);
            break;
        }
    }
    SlotForget();
    DynTakeDown();
    std::uint16_t leaked = 0;
    AreaLive(0, g_entries, 1, &leaked);
    for (int i = 0; i < g_entries; ++i)
        if (g_table[i].block != nullptr) ReleaseEntry(i);
    std::free(g_table);
    g_table = nullptr;
    g_entries = 0;
    return leaked;
}

}  // namespace rt
