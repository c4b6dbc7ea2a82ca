// Turning UTF-16 little-endian files into runtime text files before they are read.
#include "runtime/env/utf16_file.h"

#include "runtime/env/paths.h"
#include "runtime/env/streams.h"
#include "runtime/text/dyn_strings.h"
#include "runtime/text/err_codes.h"
#include "runtime/text/platform_text.h"

namespace rt {
namespace {

constexpr std::uint16_t kChunk = 1024;

bool IsOpenHandle(std::uint16_t h) { return h >= kStreamFirstFile && h < kStreamCount; }

// Bytes read at the current position; 0 at the end of the file.
std::uint16_t ReadChunk(std::uint16_t h, unsigned char* to, std::uint16_t n) {
    std::uint16_t got = StreamRead(h, kStreamHere, n, reinterpret_cast<char*>(to), n);
    return got == kStreamBad ? 0 : got;
}

// Copies the UTF-16 units after the mark from in to out, narrowed; gives 0 or 131.
ErrCode CopyNarrowed(std::uint16_t in, std::uint16_t out) {
    // Chunks are narrowed in place. A high surrogate at the end of a chunk (and an odd byte) waits
    // for the next chunk, so that a pair split between chunks still becomes a single '?'.
    unsigned char buffer[kChunk + 4];
    std::uint16_t carry = 0;
    for (;;) {
        std::uint16_t got = ReadChunk(in, buffer + carry, kChunk);
        std::uint16_t have = carry + got;
        bool last = got == 0;
        std::uint16_t use = have & ~1u;
        if (!last && use >= 2) {
            char16_t tail = char16_t(buffer[use - 2] | (buffer[use - 1] << 8));
            if (tail >= 0xD800 && tail <= 0xDBFF) use -= 2;
        }
        StrDesc narrowed = NarrowPairs(StrDesc{reinterpret_cast<char*>(buffer), use});
        if (narrowed.len && StreamWrite(out, kStreamHere, narrowed) != narrowed.len) return kErrFileIo;
        if (last) return 0;
        carry = have - use;
        for (std::uint16_t i = 0; i < carry; ++i) buffer[i] = buffer[use + i];
    }
}

}  // namespace

bool IsUtf16File(std::uint16_t handle) {
    if (!IsOpenHandle(handle)) return false;
    std::uint32_t was = StreamPos(handle);
    char mark[2] = {0, 0};
    std::uint16_t n = StreamRead(handle, 0, 2, mark, 2);
    StreamSeek(handle, was);
    return n == 2 && static_cast<unsigned char>(mark[0]) == 0xFF && static_cast<unsigned char>(mark[1]) == 0xFE;
}

bool IsUtf16File(StrDesc path) {
    std::uint16_t h = StreamOpen(path, kStreamReadOnly | kStreamQuiet);
    if (!IsOpenHandle(h)) return false;
    bool yes = IsUtf16File(h);
    StreamClose(h);
    return yes;
}

StrDesc Utf16FileToTemp(StrDesc path) {
    if (path.IsError()) return path;
    std::uint16_t m = DynMark();
    std::uint16_t in = StreamOpen(path, kStreamReadOnly | kStreamQuiet);
    if (!IsOpenHandle(in)) return StrError(kErrFileNotFound);
    StrDesc name = TempPath(StrEmpty());
    std::uint16_t out = name.IsError() ? kStreamBad : StreamOpen(name, kStreamWrite | kStreamQuiet);
    if (!IsOpenHandle(out)) {
        if (!name.IsError()) FileDelete(name);
        StreamClose(in);
        DynRelease(m);
        return StrError(kErrFileNotFound);
    }
    char mark[2];
    ErrCode code = 0;
    // A source shorter than its mark gives an empty file.
    if (StreamRead(in, 0, 2, mark, 2) == 2) code = CopyNarrowed(in, out);
    StreamClose(in);
    if (StreamClose(out) != 0 && code == 0) code = kErrFileIo;
    if (code != 0) {
        FileDelete(name);
        DynRelease(m);
        return StrError(code);
    }
    return DynKeep(m, name);
}

}  // namespace rt
