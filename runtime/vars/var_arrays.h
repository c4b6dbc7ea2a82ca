// Array variables: NAME(i), NAME(i;j) ... with up to four indexes, elements of the kind of the name
// (A$ text, N# number, I integer). An array is created by its first read, sized by the indexes of that
// read; only the built-in accumulator array _# is created by its first assignment (257 elements).
#pragma once
#include <cstdint>
#include "runtime/vars/var_arena_number.h"
#include "runtime/text/str_desc.h"

namespace rt {

constexpr std::uint16_t kVarArrayMaxDims = 4;
constexpr std::uint16_t kVarAccumSize = 257;
// Bytes a text element holds when its array is created without a width of its own.
constexpr std::uint16_t kVarTextElementWidth = 64;
// Upper bound of an array's storage; a larger first read fails with 145.
constexpr std::uint32_t kVarArrayMaxBytes = 16u * 1024 * 1024;
inline StrDesc VarAccumName() { return S("_#"); }

struct VarArrayShape {
    std::uint16_t dims = 0;                      // number of dimensions
    std::uint32_t size[kVarArrayMaxDims] = {};   // elements per dimension
    std::uint32_t count = 0;                     // elements in all
    std::uint16_t width = 0;                     // bytes per element (a text's most)
};

// name is the name part without parentheses (for example "T#"). Pushes the element on DynStrings:
// an integer element as its number, a number element as its eight bytes, a text element as its text.
// textWidth sets the element width of a text array created by this read (0: the default width).
ErrCode VarArrayGet(StrDesc name, const std::int32_t* index, std::uint16_t count, std::uint16_t textWidth = 0);
// Stores value (a text, or an eight-byte arena number) into the element; 149 when the array does not
// exist (other than _#), 168 when the position lies beyond it.
ErrCode VarArraySet(StrDesc name, const std::int32_t* index, std::uint16_t count, StrDesc value);

// Number elements by value.
ErrCode VarArrayGetNumber(StrDesc name, const std::int32_t* index, std::uint16_t count, FixedNumber* out);
ErrCode VarArraySetNumber(StrDesc name, const std::int32_t* index, std::uint16_t count, FixedNumber n);

// The shape of an existing array; false when there is no array of that name.
bool VarArrayInfo(StrDesc name, VarArrayShape* out);

}  // namespace rt
