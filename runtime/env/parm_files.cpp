// Loading parameter files: a file opened by name or in the default folder, its lines of one identifier
// (or their content by type) queued on the work queue.
#include "runtime/env/parm_files.h"

#include "runtime/env/paths.h"
#include "runtime/env/streams.h"
#include "runtime/text/dyn_strings.h"
#include "runtime/text/slot_table.h"
#include "runtime/text/text_build.h"
#include "runtime/text/text_search.h"

namespace rt {
namespace {

struct Layout {
    std::uint16_t idOffset, idLength;  // idLength 0: no identifier field
    std::uint16_t contentOffset;
    bool dropLast;  // the content ends one byte before the line's end
};

Layout LayoutOf(std::uint16_t type) {
    switch (type) {
        case 1: return {0, 2, 3, false};
        case 2: return {1, 2, 3, true};
        case 3: return {0, 4, 5, false};
        case 4: return {0, 2, 2, false};
        case 6: return {0, 5, 0, false};
        default: return {0, 0, 0, false};
    }
}

std::uint16_t OpenForReading(StrDesc path) {
    std::uint16_t h = StreamOpen(path, kStreamReadOnly | kStreamQuiet);
    if (h < kStreamCount) return h;
    // Only a bare file name is looked for again in the default folder.
    if (FindAny(path, 0, S("\\:"), kExact) != kNone) return kNone;
    DynScope scope;
    h = StreamOpen(PathJoin(SlotGet(kRunGroup, kSlotDefaultFolder), path), kStreamReadOnly | kStreamQuiet);
    return h < kStreamCount ? h : kNone;
}

}  // namespace

std::int32_t ParmLineId(StrDesc line, std::uint16_t type) {
    Layout l = LayoutOf(type);
    if (l.idLength == 0 || line.IsError()) return 0;
    std::int32_t id = 0;
    bool negative = false;
    for (std::uint16_t i = 0; i < l.idLength; ++i) {
        std::uint16_t at = static_cast<std::uint16_t>(l.idOffset + i);
        unsigned char c = at < line.len ? line.bytes()[at] : ' ';
        if (c == ' ') c = '0';
        if (c == '-' && i == 0) {
            negative = true;
            continue;
        }
        if (c < '0' || c > '9') break;  // the field reads as a decimal integer up to its first non-digit
        id = id * 10 + (c - '0');
    }
    return negative ? -id : id;
}

StrDesc ParmLineContent(StrDesc line, std::uint16_t type) {
    if (line.IsError()) return line;
    Layout l = LayoutOf(type);
    if (l.contentOffset >= line.len) return StrDesc{line.ptr, 0};
    std::uint16_t len = static_cast<std::uint16_t>(line.len - l.contentOffset);
    if (l.dropLast && len > 0) --len;
    return StrDesc{line.ptr + l.contentOffset, len};
}

std::uint16_t ParmLoadLines(StrDesc path, std::uint16_t type, std::int32_t identifier) {
    std::uint16_t h = OpenForReading(path);
    if (h == kNone) return kNone;
    std::uint16_t queued = 0;
    for (;;) {
        DynScope scope;
        StrDesc line = StreamReadDyn(h, kStreamHere, kStreamLine);
        if (line.IsError()) break;
        if (identifier == kParmAllLines) {
            if (SlotPush(kWorkQueueGroup, line) == 0) ++queued;
        } else if (ParmLineId(line, type) == identifier) {
            if (SlotPush(kWorkQueueGroup, ParmLineContent(line, type)) == 0) ++queued;
        }
    }
    StreamClose(h);
    return queued;
}

}  // namespace rt
