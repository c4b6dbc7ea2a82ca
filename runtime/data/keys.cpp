// Keys of data files: registration, default keys, field lists and key values.
#include "runtime/data/keys.h"

#include <algorithm>
#include <cstring>

#include "runtime/data/file_table.h"
#include "runtime/data/file_table_state.h"
#include "runtime/data/record_buffer.h"
#include "runtime/text/dyn_strings.h"
#include "runtime/text/err_codes.h"

namespace rt {

namespace {

// Stores key as the next key of file n. Keys stay ordered by file, so a key for a file before the
// last keyed one is placed after that file's keys rather than at the end.
void KeyStore(std::uint8_t n, const KeyDesc& key) {
    FileTableState& st = FileState();
    std::uint16_t at = static_cast<std::uint16_t>(FirstKeyIndex(n) + st.files[n - 1].keyCount);
    st.keys.insert(st.keys.begin() + at, key);
    ++st.files[n - 1].keyCount;
}

bool KeyValid(std::uint8_t n, std::uint16_t key) {
    return FileValid(n) && key >= 1 && key <= FileState().files[n - 1].keyCount;
}

const KeyDesc& KeyAt(std::uint8_t n, std::uint16_t key) {
    return FileState().keys[FirstKeyIndex(n) + key - 1];
}

}  // namespace

ErrCode KeyAdd(std::uint8_t n, std::uint16_t count, const KeySegment* segments) {
    FileTableState& st = FileState();
    if (n == 0 || n > st.fileCount) return kErrData;
    KeyDefaults(static_cast<std::uint8_t>(n - 1));
    KeyDesc key;
    key.count = count;
    for (std::uint16_t i = 0; i < std::min(count, kMaxKeySegments) && segments != nullptr; ++i)
        key.segments[i] = segments[i];
    st.lastKeyed = std::max(st.lastKeyed, n);
    KeyStore(n, key);
    return 0;
}

ErrCode KeyDefaults(std::uint8_t upto) {
    FileTableState& st = FileState();
    upto = std::min(upto, st.fileCount);
    while (st.lastKeyed < upto) {
        std::uint8_t f = ++st.lastKeyed;
        std::uint16_t field = FieldByName(f, S("N_LINE"));
        if (field == 0xFFFF) field = 1;
        FieldDesc desc = FieldInfo(f, field);
        KeyDesc key;
        key.count = 1;
        key.segments[0] = KeySegment{0, desc.status != 0 ? std::uint16_t{0}
                                                          : static_cast<std::uint16_t>(desc.offset + desc.width)};
        KeyStore(f, key);
    }
    return 0;
}

std::uint16_t KeyCount(std::uint8_t n) {
    if (n == kCurrentFile) n = FileResolve(n);
    return FileValid(n) ? FileState().files[n - 1].keyCount : 0;
}

KeyDesc KeyInfo(std::uint8_t n, std::uint16_t key) {
    n = FileResolve(n);
    return KeyValid(n, key) ? KeyAt(n, key) : KeyDesc{};
}

KeyFieldList KeyFields(std::uint8_t n, std::uint16_t key) {
    n = FileResolve(n);
    KeyFieldList list;
    if (!KeyValid(n, key)) return list;
    const KeyDesc& k = KeyAt(n, key);
    if (k.count > kMaxKeySegments) return list;
    if (k.count == 0) {
        list.count = 1;
        list.fields[0] = 1;
        return list;
    }
    const FileTableState& st = FileState();
    std::uint16_t first = FirstFieldIndex(n);
    std::uint16_t fieldCount = st.files[n - 1].fieldCount;
    for (std::uint16_t s = 0; s < k.count; ++s) {
        std::uint16_t found = 0;
        for (std::uint16_t j = 0; j < fieldCount; ++j) {
            const FieldDesc& f = st.fields[first + j];
            if (f.offset + f.width > k.segments[s].offset) {
                found = static_cast<std::uint16_t>(j + 1);
                break;
            }
        }
        if (found == 0) return KeyFieldList{};  // a segment that starts outside the record
        list.fields[list.count++] = found;
    }
    return list;
}

StrDesc KeyValue(std::uint8_t n, std::uint16_t key, StrDesc image) {
    n = FileResolve(n);
    if (!KeyValid(n, key)) return StrError(kErrDataOutBound);
    if (image.IsError()) return image;
    const KeyDesc& k = KeyAt(n, key);
    std::uint16_t segs = std::min(k.count, kMaxKeySegments);
    // Segments are clipped to the image so that a malformed key never reads past it.
    auto clip = [&image](const KeySegment& s) {
        if (s.offset >= image.len) return StrDesc{image.ptr + image.len, 0};
        return StrDesc{image.ptr + s.offset, std::min<std::uint16_t>(s.length, image.len - s.offset)};
    };
    std::uint32_t total = 0;
    for (std::uint16_t i = 0; i < segs; ++i) total += clip(k.segments[i]).len;
    StrDesc out = DynAlloc(static_cast<std::uint16_t>(std::min<std::uint32_t>(total, 0xFFFF)));
    if (out.IsError()) return out;
    std::uint16_t at = 0;
    for (std::uint16_t i = 0; i < segs; ++i) {
        StrDesc part = clip(k.segments[i]);
        if (part.len) std::memcpy(out.mut() + at, part.ptr, part.len);
        at = static_cast<std::uint16_t>(at + part.len);
    }
    return out;
}

StrDesc KeyValue(std::uint8_t n, std::uint16_t key) {
    n = FileResolve(n);
    if (!KeyValid(n, key)) return StrError(kErrDataOutBound);
    return KeyValue(n, key, RecImage(n, 1));
}

std::uint16_t KeyLength(std::uint8_t n, std::uint16_t key, std::uint16_t count) {
    n = FileResolve(n);
    if (!KeyValid(n, key)) return 0;
    const KeyDesc& k = KeyAt(n, key);
    std::uint16_t segs = std::min(k.count, kMaxKeySegments);
    if (count != 0 && count != 0xFFFF) segs = std::min(segs, count);
    std::uint32_t total = 0;
    for (std::uint16_t i = 0; i < segs; ++i) total += k.segments[i].length;
    return static_cast<std::uint16_t>(std::min<std::uint32_t>(total, 0xFFFF));
}

std::uint16_t KeyOfField(std::uint8_t n, std::uint16_t field) {
    n = FileResolve(n);
    for (std::uint16_t k = 1; k <= KeyCount(n); ++k) {
        KeyFieldList list = KeyFields(n, k);
        if (list.count > 0 && list.fields[0] == field) return k;
    }
    return 0;
}

std::uint16_t KeyOfDate(std::uint8_t n) {
    n = FileResolve(n);
    for (std::uint16_t k = 1; k <= KeyCount(n); ++k) {
        KeyFieldList list = KeyFields(n, k);
        if (list.count > 0 && FieldInfo(n, list.fields[0]).type == 'D') return k;
    }
    return 0xFFFF;
}

}  // namespace rt
