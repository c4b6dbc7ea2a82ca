// The memory-area table: the runtime's only owner of heap blocks. Each area has an owner tag and
// four guard bytes after its usable size, checked when the area is released.
#pragma once
#include <cstdint>
#include "runtime/text/slot_map.h"  // owner tags
#include "runtime/text/str_desc.h"

namespace rt {

constexpr std::uint16_t kAreaCount = 64;

struct MemArea {
    std::uint16_t owner = 0;
    std::uint32_t size = 0;
    unsigned char* block = nullptr;  // null: the entry is free
};

// Gives the area number, or 0xFFFF when no entry is free. fill 255 leaves the bytes unset.
std::uint16_t AreaAlloc(std::uint16_t owner, std::uint32_t size, unsigned char fill);
// AreaAlloc with fill 0, giving the block (null on failure).
void* AreaAllocPtr(std::uint16_t owner, std::uint32_t size);
// The entry of an area number; 163 (in err) for a number not below the table size.
ErrCode AreaGet(std::uint16_t number, MemArea* out);
// 154 unknown block, 180 damaged guard (area kept), 141 other owner (area kept).
ErrCode AreaFree(std::uint16_t owner, const void* block);
// 168 when the block is unknown or too small for offset + length, 141 when another owner holds it.
ErrCode AreaWrite(std::uint16_t owner, void* block, std::uint32_t offset, StrDesc d);
// New zero-filled area holding the old contents; the old area is released. Null on failure.
void* AreaGrow(std::uint16_t owner, void* oldBlock, std::uint32_t oldSize, std::uint32_t newSize);
// Walks entries end-1 down to first: mode 2 free entries, 3 entries walked, otherwise live entries.
// highestOwner (when given) receives the owner tag of the highest-numbered live entry (0 when none).
std::uint16_t AreaLive(std::uint16_t first, std::uint16_t end, int mode, std::uint16_t* highestOwner);

// A fill-counted buffer over one area (SQL row buffers).
struct AreaBuffer {
    unsigned char* block = nullptr;
    std::uint16_t used = 0;
    std::uint16_t capacity = 0;
    ErrCode error = 0;
};
// Appends d (after rounding used up to a multiple of 4 when align4); gives where the bytes lie, or null
// once an error is recorded. Appending no bytes reserves room.
void* AreaBufferAppend(AreaBuffer& buf, std::uint16_t owner, StrDesc d, bool align4);
ErrCode AreaBufferGrow(AreaBuffer& buf, std::uint16_t owner, std::uint16_t newCapacity);
ErrCode AreaBufferRelease(AreaBuffer& buf, std::uint16_t owner);

// A text buffer over one area; BufPut (text utilities) writes into it.
struct TextBuffer {
    ErrCode error = 0;
    std::uint16_t capacity = 0;
    char* block = nullptr;
    std::uint16_t length = 0;
};
TextBuffer TextBufferNew(std::uint16_t owner, std::uint16_t capacity);

// Sets up the table and DynStrings; 124 when already set up.
ErrCode MemInit();
// The areas a shutdown found still live besides the slot table and DynStrings.
struct MemLeaks {
    std::uint16_t count = 0;                // how many
    std::uint16_t owners[kAreaCount] = {};  // their owner tags, in area order
};

// Releases the slot table, DynStrings and every remaining area; gives the owner tag of the highest
// area that was still live (0 when none), or, when the highest live area is not the slot table's,
// that area's tag with nothing released.
// With leaks given, the shutdown of a check: every area is released whatever was left, leaks
// receives the areas that were, and the tag given is that of the highest of them (0 when none). A
// leaked area of any tag (0 too) is seen, and the next run starts from a clean table.
std::uint16_t MemShutdown(MemLeaks* leaks = nullptr);
bool MemReady();

}  // namespace rt
