// Keys of data files: lists of byte ranges of the record. A key's value is the concatenation of its
// segments' bytes; a file given no key has the default key (from byte 0 to the end of the field
// N_LINE, or of field 1).
#pragma once
#include <cstdint>
#include "runtime/text/str_desc.h"

namespace rt {

constexpr std::uint16_t kMaxKeySegments = 5;

struct KeySegment {
    std::uint16_t offset = 0;  // bytes from the start of the record
    std::uint16_t length = 0;
};

struct KeyDesc {
    std::uint16_t count = 0;  // as registered; only the first five segments are kept
    KeySegment segments[kMaxKeySegments]{};
};

// Fields holding the first byte of each segment, in segment order.
struct KeyFieldList {
    std::uint16_t count = 0;
    std::uint16_t fields[kMaxKeySegments]{};
};

// Adds a key to file n (163 when n is not registered) after giving every earlier file without
// keys its default key. segments holds min(count, 5) entries.
ErrCode KeyAdd(std::uint8_t n, std::uint16_t count, const KeySegment* segments);
// Gives the default key to every file after the last keyed one, up to file upto.
ErrCode KeyDefaults(std::uint8_t upto);
// Number of keys of n (255: the current file); 0 for an unregistered number.
std::uint16_t KeyCount(std::uint8_t n);
// The key's entry; count 0 for a missing key.
KeyDesc KeyInfo(std::uint8_t n, std::uint16_t key);
// Empty for a missing key, one of more than five segments, or a segment outside the record;
// (1) for a key without segments.
KeyFieldList KeyFields(std::uint8_t n, std::uint16_t key);
// The key value taken from a record image, as a copy on DynStrings; without an image,
// from the current record. 168 for a missing key; the image's error when the file is not open.
StrDesc KeyValue(std::uint8_t n, std::uint16_t key, StrDesc image);
StrDesc KeyValue(std::uint8_t n, std::uint16_t key);
// Summed lengths of the first count segments (0 or 0xFFFF: all).
std::uint16_t KeyLength(std::uint8_t n, std::uint16_t key, std::uint16_t count);
// First key whose field list begins with field; 0 when none.
std::uint16_t KeyOfField(std::uint8_t n, std::uint16_t field);
// First key whose first field is a date (type D); 0xFFFF when none.
std::uint16_t KeyOfDate(std::uint8_t n);

}  // namespace rt
