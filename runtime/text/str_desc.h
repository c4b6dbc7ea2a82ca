// The runtime's text value: a pointer and a 16-bit byte length, passed by value.
// A null pointer makes an error descriptor whose length carries the ErrCode.
#pragma once
#include <cstdint>
#include <cstring>

namespace rt {

using ErrCode = std::uint16_t;
constexpr ErrCode kNone = 0xFFFF;  // "none found", also the code of a (null, 0) descriptor

struct StrDesc {
    const char* ptr = nullptr;
    std::uint16_t len = 0;

    bool IsError() const { return ptr == nullptr; }
    // Bytes as unsigned values: Windows-1252 text compares and maps by unsigned byte.
    const unsigned char* bytes() const { return reinterpret_cast<const unsigned char*>(ptr); }
    // Writable view of bytes the caller owns (arena results, record buffers, slots).
    char* mut() const { return const_cast<char*>(ptr); }
};

inline StrDesc StrMake(const char* ptr, std::uint16_t len) { return StrDesc{ptr, len}; }
inline StrDesc StrError(ErrCode code) { return StrDesc{nullptr, code}; }
inline StrDesc StrEmpty() { return StrDesc{"", 0}; }

// A descriptor of a NUL-terminated text; a null text gives the error descriptor 163.
StrDesc StrFromC(const char* text);

// 0 for a usable descriptor, else the error code it carries (0xFFFF for (null, 0)).
ErrCode StrCheck(StrDesc d);

// a when a is not empty, else b; an error descriptor counts as non-empty and is passed on.
inline StrDesc StrOr(StrDesc a, StrDesc b) { return a.len != 0 ? a : b; }

// Unsigned byte comparison: 1, 0 or 0xFFFF (-1); 159 when either pointer is null.
std::uint16_t StrCompare(StrDesc a, StrDesc b);
inline bool StrEq(StrDesc a, StrDesc b) { return StrCompare(a, b) == 0; }

// Copies d into buffer at offset and gives (buffer, offset + len); an error descriptor is returned unchanged.
StrDesc StrPutAt(StrDesc d, char* buffer, std::uint16_t offset);

// Allocating operations: results live on DynStrings.
StrDesc StrCopy(StrDesc d);
StrDesc StrConcat(StrDesc a, StrDesc b);
StrDesc StrJoin(StrDesc a, StrDesc sep, StrDesc b);
StrDesc StrFill(std::uint16_t n, unsigned char byte);  // byte 255: leave the buffer's bytes as they are
inline StrDesc StrChar(unsigned char c) { return StrFill(1, c); }
StrDesc StrRepeat(StrDesc d, std::uint16_t count);
const char* StrToC(StrDesc d);  // NUL-terminated copy on the arena; an error gives a static ""

// Literal helper: S("abc") makes a descriptor of a string literal.
template <std::size_t N>
constexpr StrDesc S(const char (&lit)[N]) { return StrDesc{lit, static_cast<std::uint16_t>(N - 1)}; }

}  // namespace rt
