// Keeps config.txt, the remembered column maps of the external import, one header and map per pair
// of lines. A changed map is written by replacing the whole file at once, never in place.
#include "runtime/trans/import_config.h"

#include <vector>

#include "platform/process.h"
#include "runtime/env/streams.h"
#include "runtime/text/dyn_strings.h"
#include "runtime/text/err_codes.h"
#include "runtime/text/str_bridge.h"

namespace rt {
namespace {

constexpr const char* kLineEnd = "\r\n";
constexpr const char* kReplacementStem = "config";  // config.txt's replacement: configXXXXXX.new
constexpr const char* kReplacementExt = ".new";

// Every line of the file; false when it cannot be opened.
bool ReadLines(StrDesc path, std::vector<std::string>* lines) {
    std::uint16_t h = StreamOpen(path, kStreamReadOnly | kStreamQuiet);
    if (h < kStreamFirstFile || h >= kStreamCount) return false;
    for (;;) {
        DynScope scope;
        StrDesc line = StreamReadDyn(h, kStreamHere, kStreamLine);
        if (line.IsError()) break;
        lines->push_back(StrToStd(line));
    }
    StreamClose(h);
    return true;
}

// The folder part of a runtime path (up to its last '\\' or drive colon), empty for a bare name.
std::string FolderOf(const std::string& path) {
    std::size_t cut = path.find_last_of("\\:");
    return cut == std::string::npos ? std::string() : path.substr(0, cut + 1);
}

// Writes the pairs to a file of a name of its own beside path and renames it over path.
ErrCode Rewrite(StrDesc path, const std::vector<std::string>& lines) {
    std::string target = StrToStd(path);
    std::string temp;
    std::FILE* f = PlatformCreateUnique(FolderOf(target), kReplacementStem, kReplacementExt, &temp);
    if (f == nullptr) return kErrFileIo;
    bool ok = true;
    for (const std::string& line : lines) {
        ok &= PlatformWrite(f, line.data(), line.size()) == line.size();
        ok &= PlatformWrite(f, kLineEnd, 2) == 2;
    }
    ok &= PlatformFlush(f) == 0;
    ok &= PlatformClose(f) == 0;
    if (!ok || PlatformRename(temp, target) != 0) {
        PlatformRemove(temp);
        return kErrFileIo;
    }
    return 0;
}

ErrCode RememberLocked(StrDesc path, const std::string& header, const std::string& map) {
    std::vector<std::string> lines;
    if (!ReadLines(path, &lines)) {
        // A file that is there but cannot be read is not replaced by one holding only the new pair.
        if (std::FILE* f = PlatformOpen(StrToStd(path), "rb")) {
            PlatformClose(f);
            return kErrFileIo;
        }
    }
    for (std::size_t i = 0; i + 1 < lines.size(); i += 2) {
        if (lines[i] != header) continue;
        if (lines[i + 1] == map) return 0;
        lines[i + 1] = map;
        return Rewrite(path, lines);
    }
    // A new pair goes at the end, the file rewritten whole: appending to a file whose last line has
    // no line end, or whose last header has no map line, would put the pair out of step.
    if (header.size() + map.size() + 4 > 0xFFFF) return kErrFileIo;  // longer than a line read back
    if (lines.size() % 2 != 0) lines.emplace_back();
    lines.push_back(header);
    lines.push_back(map);
    return Rewrite(path, lines);
}

}  // namespace

bool ImportConfigFind(StrDesc path, const std::string& header, std::string* map) {
    std::vector<std::string> lines;
    if (!ReadLines(path, &lines)) return false;
    for (std::size_t i = 0; i + 1 < lines.size(); i += 2) {
        if (lines[i] == header) {
            *map = lines[i + 1];
            return true;
        }
    }
    return false;
}

ErrCode ImportConfigRemember(StrDesc path, const std::string& header, const std::string& map) {
    // The read, change and rename of one run never interleave with another's: each keeps the pairs
    // the other wrote.
    FileLock lock(path);
    if (!lock.held()) return kErrFileIo;
    return RememberLocked(path, header, map);
}

}  // namespace rt
