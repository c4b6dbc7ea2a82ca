// Rewrites one block of a numbered parameter file through a temporary file that replaces the old
// one by a rename, so that a full disk or a failing write never leaves a half-written file.
#include "runtime/trans/trans_block_file.h"

#include <cstdio>
#include <string>
#include <vector>

#include "platform/process.h"
#include "runtime/env/parm_files.h"
#include "runtime/env/paths.h"
#include "runtime/env/streams.h"
#include "runtime/text/dyn_strings.h"
#include "runtime/text/err_codes.h"
#include "runtime/text/str_bridge.h"
#include "runtime/text/text_build.h"
#include "runtime/text/text_clean.h"
#include "runtime/text/text_lists.h"

namespace rt {
namespace {

constexpr std::uint16_t kLineBuffer = 0xFFFF;

// Writes prefix, line and CR LF; false when any byte did not reach the file.
// The new file is written through the platform directly, so that a failure that shows only when
// the file is flushed and closed (a full disk) is seen before the old file is replaced.
bool WriteLine(std::FILE* to, StrDesc prefix, StrDesc line) {
    DynScope scope;
    StrDesc whole = StrAssemble({prefix, line, S("\r\n")});
    if (whole.IsError()) return false;
    return PlatformWrite(to, whole.ptr, whole.len) == whole.len;
}

bool WriteBlock(std::FILE* handle, StrDesc prefix, StrDesc block) {
    ItemCursor items(block, ':');
    StrDesc item;
    while (items.Next(&item))
        if (!WriteLine(handle, prefix, Unquote(item))) return false;
    return true;
}

// Copies the old file's lines into the new one, putting the block in its place.
bool CopyWithBlock(std::uint16_t from, std::FILE* to, std::uint16_t type, std::int32_t n, StrDesc prefix,
                   StrDesc block) {
    std::vector<char> buffer(kLineBuffer);
    bool placed = false;
    for (;;) {
        std::uint16_t got = StreamRead(from, kStreamHere, kStreamLine, buffer.data(), kLineBuffer);
        if (got == kStreamBad) break;
        StrDesc line{buffer.data(), got};
        std::int32_t id = ParmLineId(line, type);
        if (id == n || (id > n && !placed)) {
            if (!placed && !WriteBlock(to, prefix, block)) return false;
            placed = true;
            if (id == n) continue;  // the old lines of the block are dropped
        }
        if (!WriteLine(to, StrEmpty(), line)) return false;
    }
    return placed || WriteBlock(to, prefix, block);
}

}  // namespace

StrDesc TransBlockPrefix(std::uint16_t type, std::int32_t n) {
    switch (type) {
        case 0: return StrEmpty();
        case 1: return Format(32, "%2d ", static_cast<int>(n));
        case 2: return Format(32, "\"%2d", static_cast<int>(n));
        case 3: return Format(32, "%4d ", static_cast<int>(n));
        default: return Format(32, "%d", static_cast<int>(n));
    }
}

ErrCode TransBlockRewrite(StrDesc path, std::uint16_t type, std::int32_t n, StrDesc block) {
    if (path.IsError() || path.len == 0) return kErrData;
    if (block.IsError()) return block.len;
    DynScope scope;
    StrDesc prefix = TransBlockPrefix(type, n);
    // Two saves at once must not both copy the old file and the later rename drop the other's block.
    FileLock lock(path);
    if (!lock.held()) return scope.Release(kErrFileIo);
    std::uint16_t from = StreamOpen(path, kStreamReadOnly | kStreamQuiet);
    bool existing = from < kStreamCount;
    // A file that is there but cannot be read must not be replaced by the block alone.
    if (!existing && !FindFiles(path).IsError()) return scope.Release(kErrFileIo);
    // The new file lies beside the old one, so that the rename stays within one file system and
    // replaces the old file in one step; its name is this save's own.
    std::string temp, ext = StrToStd(PathPart(path, kPathExt));
    if (!ext.empty()) ext.insert(0, 1, '.');
    std::FILE* to = PlatformCreateUnique(StrToStd(PathPart(path, kPathParent)), StrToStd(PathPart(path, kPathName)),
                                         ext, &temp);
    if (to == nullptr) {
        if (existing) StreamClose(from);
        return scope.Release(kErrFileNotFound);
    }
    bool ok = existing ? CopyWithBlock(from, to, type, n, prefix, block) : WriteBlock(to, prefix, block);
    if (existing) StreamClose(from);
    ok = PlatformFlush(to) == 0 && ok;
    ok = PlatformClose(to) == 0 && ok;
    if (ok) ok = PlatformRename(temp, StrToStd(path)) == 0;
    if (!ok) PlatformRemove(temp);
    return scope.Release(ok ? 0 : kErrFileIo);
}

}  // namespace rt
