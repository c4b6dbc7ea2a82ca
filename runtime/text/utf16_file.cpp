#include "runtime/text/utf16_file.h"

#include <cstdio>
#include <string>

#include "platform/process.h"
#include "runtime/text/dyn_strings.h"
#include "runtime/text/platform_text.h"

namespace rt {
namespace {

constexpr std::size_t kChunk = 1024;

std::string PathString(StrDesc path) { return std::string(path.ptr, path.len); }

// A fresh runtime path in the temporary folder; any file of that name is removed first.
std::string TempName() {
    std::string folder = PlatformEnv("TEMP");
    for (char& c : folder)
        if (c == '/') c = '\\';
    if (!folder.empty() && folder.back() != '\\') folder += '\\';
    std::string path = folder + PlatformUniqueName();
    PlatformRemove(path);
    return path;
}

// Closes both files and gives code as the result, removing the new file when asked.
StrDesc Finish(std::FILE* in, std::FILE* out, const std::string& outPath, ErrCode code) {
    if (in) PlatformClose(in);
    if (out && PlatformClose(out) != 0 && code == 0) code = 131;
    if (code != 0) {
        if (out) PlatformRemove(outPath);
        return StrError(code);
    }
    if (outPath.size() > 0xFFFF) return StrError(163);
    return StrCopy(StrDesc{outPath.data(), static_cast<std::uint16_t>(outPath.size())});
}

}  // namespace

bool IsUtf16File(StrDesc path) {
    if (path.IsError() || path.len == 0) return false;
    std::FILE* f = PlatformOpen(PathString(path), "rb");
    if (f == nullptr) return false;
    unsigned char mark[2] = {0, 0};
    std::size_t n = PlatformRead(f, mark, 2);
    PlatformClose(f);
    return n == 2 && mark[0] == 0xFF && mark[1] == 0xFE;
}

StrDesc Utf16FileToTemp(StrDesc path) {
    if (path.IsError()) return path;
    std::FILE* in = path.len ? PlatformOpen(PathString(path), "rb") : nullptr;
    if (in == nullptr) return StrError(164);
    std::string outPath = TempName();
    std::FILE* out = PlatformOpen(outPath, "wb");
    if (out == nullptr) return Finish(in, nullptr, outPath, 164);

    unsigned char mark[2];
    if (PlatformRead(in, mark, 2) < 2) return Finish(in, out, outPath, 0);  // nothing after the mark

    // Chunks are narrowed in place. A high surrogate at the end of a chunk (and an odd byte) waits
    // for the next chunk, so that a pair split between chunks still becomes a single '?'.
    unsigned char buffer[kChunk + 4];
    std::size_t carry = 0;
    for (;;) {
        std::size_t got = PlatformRead(in, buffer + carry, kChunk);
        std::size_t have = carry + got;
        bool last = got == 0;
        std::size_t use = have & ~std::size_t(1);
        if (!last && use >= 2) {
            char16_t tail = char16_t(buffer[use - 2] | (buffer[use - 1] << 8));
            if (tail >= 0xD800 && tail <= 0xDBFF) use -= 2;
        }
        StrDesc narrowed = NarrowPairs(StrDesc{reinterpret_cast<char*>(buffer), static_cast<std::uint16_t>(use)});
        if (narrowed.len && PlatformWrite(out, narrowed.ptr, narrowed.len) != narrowed.len)
            return Finish(in, out, outPath, 131);
        if (last) break;
        carry = have - use;
        for (std::size_t i = 0; i < carry; ++i) buffer[i] = buffer[use + i];
    }
    return Finish(in, out, outPath, 0);
}

}  // namespace rt
