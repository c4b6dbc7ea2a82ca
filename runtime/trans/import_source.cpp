// Reads an external import's source: the UTF-16 conversion, the header and its separator, and the
// work file of ','-separated lines the transfer engine reads.
#include "runtime/trans/import_source.h"

#include <vector>

#include "platform/process.h"
#include "runtime/env/paths.h"
#include "runtime/env/streams.h"
#include "runtime/env/utf16_file.h"
#include "runtime/text/dyn_strings.h"
#include "runtime/text/err_codes.h"
#include "runtime/text/str_bridge.h"
#include "runtime/trans/import_text.h"

namespace rt {
namespace {

constexpr std::size_t kWriteChunk = 1 << 16;  // work-file bytes gathered per write
constexpr const char* kWorkStem = "qnt";        // the start of the work file's name

bool IsOpen(std::uint16_t h) { return h >= kStreamFirstFile && h < kStreamCount; }

// One line of the stream, false at its end.
bool ReadLine(std::uint16_t h, std::string* line) {
    DynScope scope;
    StrDesc d = StreamReadDyn(h, kStreamHere, kStreamLine);
    if (d.IsError()) return false;
    *line = StrToStd(d);
    return true;
}

bool IsCsv(StrDesc path) {
    DynScope scope;
    std::string ext = StrToStd(PathPart(path, kPathExt));
    if (!ext.empty() && ext[0] == '.') ext.erase(0, 1);
    for (char& c : ext) {
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    }
    return ext == "CSV";
}

}  // namespace

ErrCode ImportSourceOpen(StrDesc path, ImportSource* source) {
    *source = ImportSource{};
    source->handle = StreamOpen(path, kStreamReadOnly | kStreamQuiet);
    if (!IsOpen(source->handle)) return kErrFileIo;
    bool csv = IsCsv(path);
    if (csv && IsUtf16File(source->handle)) {
        StreamClose(source->handle);
        DynScope scope;
        StrDesc temp = Utf16FileToTemp(path);
        if (temp.IsError()) {
            source->handle = 0xFFFF;
            return kErrFileIo;
        }
        source->converted = StrToStd(temp);
        source->handle = StreamOpen(temp, kStreamReadOnly | kStreamQuiet);
        if (!IsOpen(source->handle)) {
            ImportSourceClose(source);
            return kErrFileIo;
        }
    }
    if (!ReadLine(source->handle, &source->header)) source->header.clear();
    if (csv && ImportIsSemicolonLine(source->header)) {
        source->header = ImportCommaLine(source->header);
        source->semicolon = true;
    }
    return 0;
}

void ImportSourceClose(ImportSource* source) {
    if (IsOpen(source->handle)) StreamClose(source->handle);
    source->handle = 0xFFFF;
    if (!source->converted.empty()) {
        DynScope scope;
        FileDelete(StrViewStd(source->converted));
        source->converted.clear();
    }
}

ErrCode ImportWriteWorkFile(ImportSource* source, std::string* workPath) {
    // A file of this run's own in the temporary folder, created exclusively: never one another run
    // writes or one a killed run left behind.
    workPath->clear();
    std::FILE* f = PlatformCreateUnique(PlatformEnv("TEMP"), kWorkStem, std::string(), workPath);
    if (f == nullptr) return kErrFileIo;
    bool ok = true;
    std::string pending, line;
    while (ok && ReadLine(source->handle, &line)) {
        pending += source->semicolon ? ImportCommaLine(line) : line;
        pending += "\r\n";
        if (pending.size() >= kWriteChunk) {
            ok = PlatformWrite(f, pending.data(), pending.size()) == pending.size();
            pending.clear();
        }
    }
    if (ok && !pending.empty()) ok = PlatformWrite(f, pending.data(), pending.size()) == pending.size();
    ok &= PlatformClose(f) == 0;
    if (!ok) {
        DynScope scope;
        FileDelete(StrViewStd(*workPath));
        return kErrFileIo;
    }
    return 0;
}

}  // namespace rt
