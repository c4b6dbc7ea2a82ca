// Whole-file reading, sizing and renaming on the stream layer.
#include "runtime/ui/file_utils.h"

#include "platform/process.h"
#include "runtime/env/streams.h"
#include "runtime/text/dyn_strings.h"
#include "runtime/text/err_codes.h"
#include "runtime/text/str_bridge.h"
#include "runtime/text/text_build.h"

namespace rt {

namespace {

// An open stream that closes itself.
struct ReadStream {
    explicit ReadStream(StrDesc name) : handle(StreamOpen(name, kStreamReadOnly)) {}
    ~ReadStream() {
        if (ok()) StreamClose(handle);
    }
    bool ok() const { return handle != kStreamBad; }
    std::uint16_t handle;
};

}  // namespace

std::uint32_t FileSizeOf(StrDesc name) {
    ReadStream s(name);
    return s.ok() ? StreamSize(s.handle) : 0;
}

std::uint16_t FileReadPart(StrDesc name, std::uint32_t offset, std::uint16_t count, char* buffer,
                           std::uint16_t buffer_length) {
    ReadStream s(name);
    if (!s.ok()) return kNone;
    const std::uint32_t size = StreamSize(s.handle);
    if (offset >= size) return 0;
    std::uint32_t want = count == kNone ? size - offset : count;
    if (want > buffer_length) want = buffer_length;
    if (want > size - offset) want = size - offset;
    std::uint16_t got = 0;
    while (got < want) {
        const std::uint16_t n = StreamRead(s.handle, offset + got, static_cast<std::uint16_t>(want - got),
                                           buffer + got, static_cast<std::uint16_t>(want - got));
        if (n == kStreamBad || n == 0) break;
        got = static_cast<std::uint16_t>(got + n);
    }
    return got;
}

StrDesc FileReadAll(StrDesc name, std::uint32_t offset) {
    ReadStream s(name);
    const std::uint32_t size = s.ok() ? StreamSize(s.handle) : 0;
    if (size <= offset) return StrEmpty();
    const std::uint32_t count = size - offset;
    if (count > DynFree().len) return StrError(kErrOutOfMemory);
    const std::uint16_t mark = DynMark();
    StrDesc room = DynAlloc(static_cast<std::uint16_t>(count));
    if (room.IsError()) return room;
    std::uint16_t got = 0;
    while (got < count) {
        const std::uint16_t n = StreamRead(s.handle, offset + got, static_cast<std::uint16_t>(count - got),
                                           room.mut() + got, static_cast<std::uint16_t>(count - got));
        if (n == kStreamBad || n == 0) break;
        got = static_cast<std::uint16_t>(got + n);
    }
    if (got != count) {
        DynRelease(mark);
        return StrError(kNone);
    }
    return room;
}

StrDesc FileReadLines(StrDesc name, StrDesc separator) {
    DynScope scope;
    StrDesc text = FileReadAll(name, 0);
    if (text.IsError() || text.len == 0) return scope.Keep(text);
    text = ReplaceAll(text, S("\r\n"), separator, kExact);
    text = ReplaceAll(text, S("\n"), separator, kExact);
    return scope.Keep(text);
}

ErrCode FileRenameTo(StrDesc from, StrDesc to) {
    if (from.IsError() || to.IsError() || from.len == 0 || to.len == 0) return kNone;
    return PlatformRename(StrToStd(from), StrToStd(to)) == 0 ? 0 : kNone;
}

}  // namespace rt
