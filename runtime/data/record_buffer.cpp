// The two record images of an open file.
#include "runtime/data/record_buffer.h"

#include <algorithm>
#include <cstring>

#include "runtime/data/file_table.h"
#include "runtime/data/file_table_state.h"
#include "runtime/text/err_codes.h"
#include "runtime/text/slot_table.h"

namespace rt {

StrDesc RecImage(std::uint8_t n, std::uint8_t part) {
    n = FileResolve(n);
    if (!FileValid(n)) return StrEmpty();
    std::uint16_t length = FileState().files[n - 1].recordLength;
    StrDesc buffer = SlotGet(kRecordsGroup, n - 1);
    // A buffer of any other length means FileOpen has not made one for the current structure.
    if (buffer.IsError() || buffer.len != 2u * length) return StrError(kErrFileNotInit);
    switch (part) {
    case kRecCurrent: return StrDesc{buffer.ptr, length};
    case kRecReference: return StrDesc{buffer.ptr + length, length};
    case kRecWhole: return buffer;
    default: return StrEmpty();
    }
}

ErrCode RecWrite(std::uint8_t n, std::uint8_t part, StrDesc bytes) {
    if (ErrCode e = StrCheck(bytes)) return e;
    StrDesc image = RecImage(n, part);
    if (image.IsError()) return image.len;
    std::uint16_t count = std::min(image.len, bytes.len);
    if (count) std::memmove(image.mut(), bytes.ptr, count);
    return 0;
}

void RecCopy(std::uint8_t n, std::uint8_t direction) {
    StrDesc current = RecImage(n, kRecCurrent);
    StrDesc reference = RecImage(n, kRecReference);
    if (current.IsError() || reference.IsError() || current.len == 0) return;
    if (direction == 1) std::memcpy(reference.mut(), current.ptr, current.len);
    if (direction == 2) std::memcpy(current.mut(), reference.ptr, current.len);
}

bool RecChanged(std::uint8_t n) {
    StrDesc current = RecImage(n, kRecCurrent);
    StrDesc reference = RecImage(n, kRecReference);
    if (current.IsError() || reference.IsError()) return false;
    return current.len != 0 && std::memcmp(current.ptr, reference.ptr, current.len) != 0;
}

StrDesc RecBlank(std::uint8_t n, std::uint8_t mode) {
    StrDesc buffer = RecImage(n, kRecWhole);
    if (buffer.IsError() || buffer.len == 0) return buffer;
    std::memset(buffer.mut(), ' ', buffer.len);
    if (mode == 2) buffer.mut()[0] = 0x1B;
    return buffer;
}

}  // namespace rt
