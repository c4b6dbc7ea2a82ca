// The stream table and its line reader. Every read and write moves at most 512 bytes per library
// call; the line reader re-positions the file right after each line's terminator.
#include "runtime/env/streams.h"

#include <cstdio>
#include <cstring>
#include <string>

#include "platform/process.h"
#include "runtime/env/errors.h"
#include "runtime/text/dyn_strings.h"
#include "runtime/text/err_codes.h"
#include "runtime/text/str_bridge.h"

namespace rt {
namespace {

constexpr unsigned char kCtrlZ = 26;
constexpr std::uint16_t kPathLimit = 384;  // paths are 1 to 383 bytes

struct StreamEntry {
    std::FILE* file = nullptr;
    int pending = -1;  // a byte read ahead from a standard stream (it cannot be re-positioned)
};

StreamEntry g_streams[kStreamCount];
bool g_ready = false;

void SetUp() {
    if (g_ready) return;
    for (int i = 0; i < kStreamFirstFile; ++i) g_streams[i].file = PlatformStdStream(i);
    g_ready = true;
}

StreamEntry* Get(std::uint16_t handle) {
    SetUp();
    if (handle >= kStreamCount || g_streams[handle].file == nullptr) return nullptr;
    return &g_streams[handle];
}

bool IsStandard(std::uint16_t handle) { return handle < kStreamFirstFile; }


bool IsConsole(StrDesc path) {
    if (path.len != 3) return false;
    for (int i = 0; i < 3; ++i) {
        unsigned char c = path.bytes()[i];
        if (c >= 'a' && c <= 'z') c = static_cast<unsigned char>(c - 32);
        if (c != static_cast<unsigned char>("CON"[i])) return false;
    }
    return true;
}

std::int64_t SizeOf(std::FILE* f) {
    std::int64_t here = PlatformTell(f);
    if (here < 0 || PlatformSeek(f, 0, 2) != 0) return -1;
    std::int64_t size = PlatformTell(f);
    PlatformSeek(f, here, 0);
    return size;
}

int NextByte(StreamEntry& e) {
    if (e.pending >= 0) {
        int b = e.pending;
        e.pending = -1;
        return b;
    }
    unsigned char b;
    return PlatformRead(e.file, &b, 1) == 1 ? b : -1;
}

// Standard input cannot be re-positioned: lines are read byte by byte, with one byte of look-ahead
// after a CR.
std::uint16_t ReadStandard(StreamEntry& e, std::uint16_t count, char* buffer, std::uint16_t length) {
    std::uint16_t n = 0;
    if (count != kStreamLine) {
        std::uint16_t want = count < length ? count : length;
        while (n < want) {
            int b = NextByte(e);
            if (b < 0) break;
            buffer[n++] = static_cast<char>(b);
        }
        return n == 0 && want > 0 ? kStreamBad : n;
    }
    bool any = false, atEnd = false;
    while (n < length) {
        int b = NextByte(e);
        if (b < 0) {
            atEnd = true;
            break;
        }
        any = true;
        if (b == '\n') return n;
        if (b == '\r') {
            int next = NextByte(e);
            if (next >= 0 && next != '\n') e.pending = next;
            return n;
        }
        buffer[n++] = static_cast<char>(b);
    }
    if (!any) return kStreamBad;
    if (atEnd && n > 0 && static_cast<unsigned char>(buffer[n - 1]) == kCtrlZ) {
        // The end-of-file mark is not part of the last line, nor a line of its own.
        if (--n == 0) return kStreamBad;
    }
    return n;
}

std::uint16_t ReadBlock(std::FILE* f, std::int64_t start, std::int64_t size, std::uint16_t count,
                        char* buffer, std::uint16_t length) {
    if (start >= size) return kStreamBad;
    std::uint32_t want = count < length ? count : length;
    std::uint32_t n = 0;
    while (n < want) {
        std::uint32_t piece = want - n;
        if (piece > kStreamPiece) piece = kStreamPiece;
        std::size_t got = PlatformRead(f, buffer + n, piece);
        n += static_cast<std::uint32_t>(got);
        if (got < piece) break;
    }
    return static_cast<std::uint16_t>(n);
}

// Offset of the first CR or LF in buffer[from, n), or n.
std::uint32_t FirstLineEnd(const char* buffer, std::uint32_t from, std::uint32_t n) {
    for (std::uint32_t i = from; i < n; ++i)
        if (buffer[i] == '\r' || buffer[i] == '\n') return i;
    return n;
}

std::uint16_t ReadLine(std::FILE* f, std::int64_t start, std::int64_t size, char* buffer,
                       std::uint16_t length) {
    if (start >= size) return kStreamBad;
    std::uint32_t n = 0, end = 0;
    for (;;) {
        bool found = end < n;
        // A CR that ends what was read may be the first half of a CR LF: read on to see.
        bool crAtEdge = found && buffer[end] == '\r' && end + 1 == n;
        std::int64_t remaining = size - (start + n);
        if ((found && !crAtEdge) || remaining <= 0) break;
        std::uint32_t piece = kStreamPiece;
        if (piece > std::uint32_t(length) - n) piece = std::uint32_t(length) - n;
        if (piece > remaining) piece = static_cast<std::uint32_t>(remaining);
        if (piece == 0) break;  // the buffer is full: the line ends here
        std::size_t got = PlatformRead(f, buffer + n, piece);
        if (got == 0) break;
        std::uint32_t before = n;
        n += static_cast<std::uint32_t>(got);
        if (!found) end = FirstLineEnd(buffer, before, n);
    }
    std::uint32_t lineLength = end < n ? end : n, consumed = 0;
    if (end < n) consumed = (buffer[end] == '\r' && end + 1 < n && buffer[end + 1] == '\n') ? 2 : 1;
    if (consumed == 1 && buffer[end] == '\r' && end + 1 == n && start + n < size) {
        // The CR filled the buffer: its LF, when it follows, belongs to this line end.
        char next = 0;
        if (PlatformRead(f, &next, 1) == 1 && next == '\n') consumed = 2;
    }
    bool atEnd = start + n >= size;
    if (consumed == 0 && atEnd && n > 0 && static_cast<unsigned char>(buffer[n - 1]) == kCtrlZ) {
        // The end-of-file mark of old text files is not part of the last line.
        --lineLength;
        consumed = 1;
        if (lineLength == 0) {
            PlatformSeek(f, start + n, 0);
            return kStreamBad;
        }
    }
    PlatformSeek(f, start + lineLength + consumed, 0);
    return static_cast<std::uint16_t>(lineLength);
}

std::uint16_t OpenFailure(StrDesc path, std::uint16_t flags, ErrCode code) {
    if (flags & kStreamQuiet) return code;
    ErrSetText(kNone, path.IsError() ? StrEmpty() : path, true);
    return ErrNote(kNoteFirst, kAreaStreams, code, kStreamBad);
}

}  // namespace

std::uint16_t StreamOpen(StrDesc path, std::uint16_t flags) {
    if (path.IsError() || path.len == 0 || path.len >= kPathLimit) return OpenFailure(path, flags, kErrData);
    char mode[4] = {0, 'b', 0, 0};
    mode[0] = (flags & kStreamWrite) ? 'w' : (flags & kStreamAppend) ? 'a' : 'r';
    if (!(flags & kStreamReadOnly)) mode[2] = '+';

    SetUp();
    std::uint16_t handle = kStreamFirstFile;
    while (handle < kStreamCount && g_streams[handle].file != nullptr) ++handle;
    if (handle == kStreamCount) return OpenFailure(path, flags, kErrDataOutBound);

    if (IsConsole(path)) return (flags & 0x1F) == kStreamWrite ? 1 : 0;

    std::string name = StrToStd(path);
    std::FILE* f = PlatformOpen(name, mode);
    // Create a missing file, but never truncate one that exists and merely refused the mode.
    if (!f && !(flags & kStreamReadOnly) && PlatformFindFiles(name).empty()) {
        if (std::FILE* created = PlatformOpen(name, "w+")) PlatformClose(created);
        f = PlatformOpen(name, mode);
    }
    if (!f) return OpenFailure(path, flags, kErrFileNotFound);
    g_streams[handle].file = f;
    g_streams[handle].pending = -1;
    return handle;
}

std::uint16_t StreamCreateUnique(StrDesc like, std::string* path) {
    if (like.IsError() || like.len == 0 || like.len >= kPathLimit) return kStreamBad;
    SetUp();
    std::uint16_t handle = kStreamFirstFile;
    while (handle < kStreamCount && g_streams[handle].file != nullptr) ++handle;
    if (handle == kStreamCount) return kStreamBad;
    // Folder up to the last '\' or drive colon; extension from the last point of the name.
    std::string whole = StrToStd(like);
    std::size_t cut = whole.find_last_of("\\:");
    std::size_t nameAt = cut == std::string::npos ? 0 : cut + 1;
    std::size_t point = whole.rfind('.');
    if (point == std::string::npos || point < nameAt) point = whole.size();
    std::FILE* f = PlatformCreateUnique(whole.substr(0, nameAt), whole.substr(nameAt, point - nameAt),
                                        whole.substr(point), path);
    if (!f) return kStreamBad;
    g_streams[handle].file = f;
    g_streams[handle].pending = -1;
    return handle;
}

ErrCode StreamClose(std::uint16_t handle) {
    StreamEntry* e = Get(handle);
    if (!e) return kErrData;
    if (IsStandard(handle)) {
        PlatformFlush(e->file);
        return 0;
    }
    PlatformClose(e->file);
    e->file = nullptr;
    e->pending = -1;
    return 0;
}

std::uint16_t StreamRead(std::uint16_t handle, std::uint32_t position, std::uint16_t count,
                         char* buffer, std::uint16_t bufferLength) {
    StreamEntry* e = Get(handle);
    if (!e || (!buffer && bufferLength)) return kStreamBad;
    if (IsStandard(handle)) return ReadStandard(*e, count, buffer, bufferLength);
    // Seeking also switches a file that was just written to reading.
    int moved = position == kStreamHere ? PlatformSeek(e->file, 0, 1) : PlatformSeek(e->file, position, 0);
    std::int64_t start = PlatformTell(e->file);
    std::int64_t size = SizeOf(e->file);
    if (moved != 0 || start < 0 || size < 0) return kStreamBad;
    if (count == kStreamLine) return ReadLine(e->file, start, size, buffer, bufferLength);
    return ReadBlock(e->file, start, size, count, buffer, bufferLength);
}

StrDesc StreamReadDyn(std::uint16_t handle, std::uint32_t position, std::uint16_t count) {
    StrDesc space = DynFree();
    if (space.IsError()) return space;
    std::uint16_t n = StreamRead(handle, position, count, space.mut(), space.len);
    if (n == kStreamBad) return StrError(kErrDiskIo);
    return DynAlloc(n);
}

std::uint16_t StreamWrite(std::uint16_t handle, std::uint32_t position, StrDesc text) {
    if (text.IsError()) return text.len != 0 ? text.len : kNone;
    StreamEntry* e = Get(handle);
    if (!e) return kStreamBad;
    if (!IsStandard(handle)) {
        int moved = position == kStreamHere ? PlatformSeek(e->file, 0, 2) : PlatformSeek(e->file, position, 0);
        if (moved != 0) return kStreamBad;
    }
    std::uint32_t written = 0;
    while (written < text.len) {
        std::uint32_t piece = text.len - written;
        if (piece > kStreamPiece) piece = kStreamPiece;
        std::size_t got = PlatformWrite(e->file, text.ptr + written, piece);
        written += static_cast<std::uint32_t>(got);
        if (got < piece) return kStreamBad;
    }
    if (IsStandard(handle)) PlatformFlush(e->file);
    return static_cast<std::uint16_t>(written);
}

std::uint32_t StreamSize(std::uint16_t handle) {
    StreamEntry* e = Get(handle);
    if (!e || IsStandard(handle)) return kStreamNoSize;
    std::int64_t size = SizeOf(e->file);
    if (size < 0) return kStreamNoSize;
    return size >= kStreamNoSize ? kStreamNoSize - 1 : static_cast<std::uint32_t>(size);
}

bool StreamAtEnd(std::uint16_t handle) {
    StreamEntry* e = Get(handle);
    if (!e) return true;
    if (IsStandard(handle)) return false;
    std::int64_t here = PlatformTell(e->file), size = SizeOf(e->file);
    return here < 0 || size < 0 || here >= size;
}

ErrCode StreamSeek(std::uint16_t handle, std::uint32_t position) {
    StreamEntry* e = Get(handle);
    if (!e || IsStandard(handle)) return kErrDiskIo;
    return PlatformSeek(e->file, position, 0) == 0 ? 0 : kErrDiskIo;
}

std::uint32_t StreamPos(std::uint16_t handle) {
    StreamEntry* e = Get(handle);
    if (!e || IsStandard(handle)) return kStreamNoSize;
    std::int64_t here = PlatformTell(e->file);
    return here < 0 ? kStreamNoSize : static_cast<std::uint32_t>(here);
}

ErrCode FileAppendText(StrDesc path, std::uint32_t position, StrDesc text) {
    if (text.IsError()) return kErrFileIo;
    // An empty text still opens (and, for a rewrite, empties) the file; writing nothing gives 131.
    if (position == kStreamRewrite) {
        FileDelete(path);
        position = 0;
    }
    std::uint16_t handle = StreamOpen(path, kStreamUpdate);
    if (handle >= kStreamCount) return kErrFileIo;
    std::uint16_t written = StreamWrite(handle, position, text);
    StreamClose(handle);
    return text.len != 0 && written == text.len ? 0 : kErrFileIo;
}

int FileDelete(StrDesc path) {
    if (path.IsError() || path.len == 0) return PlatformErrNotFound();
    return PlatformRemove(StrToStd(path));
}

FileLock::FileLock(StrDesc path) : lock_(path.IsError() || path.len == 0 ? -1 : PlatformLock(StrToStd(path))) {}

FileLock::~FileLock() { PlatformUnlock(lock_); }

StrDesc FileKindExt(std::uint16_t kind) {
    static constexpr StrDesc kUpper[] = {S(""), S("FD"), S("DIR"), S("NDX"), S("TMP"), S("TXT")};
    static constexpr StrDesc kLower[] = {S(""), S("fd"), S("dir"), S("ndx"), S("tmp"), S("txt")};
    std::uint16_t k = kind & 0x7F;
    if (k < 1 || k > 6) return StrEmpty();
    return (kind & kFileKindLower) ? kLower[k - 1] : kUpper[k - 1];
}

}  // namespace rt
