// Array variables: creation on first read, element addressing, reads and assignments.
#include "runtime/vars/var_arrays.h"

#include <cstring>

#include "runtime/env/errors.h"
#include "runtime/text/err_codes.h"
#include "runtime/vars/var_internal.h"
#include "runtime/vars/variables.h"
#include "runtime/text/dyn_strings.h"
#include "runtime/text/mem_areas.h"

namespace rt {
namespace {

// Each array is one memory area: this header, then the elements. A text element is a 16-bit length
// followed by width bytes, so that texts shorter than the width read back exactly.
struct ArrayHead {
    std::uint32_t size[kVarArrayMaxDims];
    std::uint32_t count;
    std::uint16_t dims;
    std::uint16_t width;
    std::uint16_t stride;
    std::uint16_t kind;
};
constexpr std::uint32_t kHeadBytes = (sizeof(ArrayHead) + 7u) & ~7u;

VarTable g_blocks;  // the block of array k at index k

ArrayHead* BlockOf(std::uint16_t slot) {
    if (slot == kNone || std::uint32_t(slot + 1) * sizeof(void*) > g_blocks.size) return nullptr;
    void* p;
    std::memcpy(&p, static_cast<char*>(g_blocks.block) + std::size_t(slot) * sizeof(void*), sizeof p);
    return static_cast<ArrayHead*>(p);
}

ArrayHead* Find(StrDesc name) { return BlockOf(VarListFind(kVarArray, name)); }

unsigned char* Element(ArrayHead* a, std::uint32_t position) {
    return reinterpret_cast<unsigned char*>(a) + kHeadBytes + std::size_t(position) * a->stride;
}

ErrCode CheckIndexes(const std::int32_t* index, std::uint16_t count) {
    if (count > kVarArrayMaxDims) return kErrDimStrucError;
    if (count == 0 || index == nullptr) return kErrSintaxError;
    for (std::uint16_t i = 0; i < count; ++i)
        if (index[i] < 0) return kErrDataOutBound;
    return 0;
}

// Row-major position (the last index varies fastest) over the array's own dimension sizes; 168
// when it lies beyond the elements.
ErrCode Position(const ArrayHead* a, const std::int32_t* index, std::uint16_t count, std::uint32_t* out) {
    std::uint64_t pos = 0;
    for (std::uint16_t i = 0; i < count; ++i) {
        std::uint64_t size = i < a->dims ? a->size[i] : 1;
        pos = pos * size + std::uint64_t(index[i]);
        if (pos >= a->count) return kErrDataOutBound;  // it only grows from here
    }
    *out = static_cast<std::uint32_t>(pos);
    return 0;
}

ErrCode Create(StrDesc name, VarKind kind, const std::uint32_t* sizes, std::uint16_t dims,
               std::uint16_t textWidth, ArrayHead** out) {
    std::uint16_t width = kind == kVarInteger ? 2 : kind == kVarNumber ? 8 : textWidth;
    if (kind == kVarText && width == 0) width = kVarTextElementWidth;
    std::uint16_t stride = kind == kVarText ? static_cast<std::uint16_t>(width + 2) : width;
    std::uint64_t count = 1;
    for (std::uint16_t i = 0; i < dims; ++i) {
        count *= sizes[i];
        if (count * stride > kVarArrayMaxBytes) return kErrOutOfMemory;
    }
    if (count == 1 || width == 0) return kErrSintaxError;
    std::uint32_t bytes = kHeadBytes + static_cast<std::uint32_t>(count) * stride;
    auto* a = static_cast<ArrayHead*>(AreaAllocPtr(kOwnerArrays, bytes));
    if (a == nullptr) return kErrOutOfMemory;
    for (std::uint16_t i = 0; i < dims; ++i) a->size[i] = sizes[i];
    a->count = static_cast<std::uint32_t>(count);
    a->dims = dims;
    a->width = width;
    a->stride = stride;
    a->kind = kind;
    std::uint16_t slot = VarListAppend(kVarArray, name);
    ErrCode e = slot == kNone ? ErrCode{kErrVarNameError} : VarTableEnsure(g_blocks, kOwnerVarTables, std::uint32_t(slot + 1) * sizeof(void*));
    if (e != 0) {
        if (slot != kNone) VarListTruncate(kVarArray, slot);
        AreaFree(kOwnerArrays, a);
        return e;
    }
    void* p = a;
    std::memcpy(static_cast<char*>(g_blocks.block) + std::size_t(slot) * sizeof(void*), &p, sizeof p);
    *out = a;
    return 0;
}

ErrCode NameKind(StrDesc name, VarKind* kind) {
    if (ErrCode e = StrCheck(name)) return e;
    if (!VarReady()) return kErrData;
    *kind = VarKindOf(name);
    if (*kind == kVarNone || *kind == kVarArray || name.len == 0) return kErrSintaxError;
    return 0;
}

ErrCode Store(StrDesc name, const std::int32_t* index, std::uint16_t count, StrDesc value) {
    VarKind kind;
    if (ErrCode e = NameKind(name, &kind)) return e;
    if (ErrCode e = StrCheck(value)) return e;
    if (ErrCode e = CheckIndexes(index, count)) return e;
    ArrayHead* a = Find(name);
    if (a == nullptr) {
        if (!StrEq(name, VarAccumName())) return kErrDimStrucError;
        std::uint32_t size = kVarAccumSize;
        if (ErrCode e = Create(name, kVarNumber, &size, 1, 0, &a)) return e;
    }
    std::uint32_t pos = 0;
    if (ErrCode e = Position(a, index, count, &pos)) return e;
    unsigned char* el = Element(a, pos);
    if (a->kind == kVarInteger) {
        std::int64_t s = NumScale();
        std::int64_t v = s == 0 ? 0 : VarNumFromEntry(value) / s;  // truncated, unlike integer variables
        std::int16_t low = static_cast<std::int16_t>(static_cast<std::uint16_t>(static_cast<std::uint64_t>(v) & 0xFFFF));
        std::memcpy(el, &low, 2);
    } else if (a->kind == kVarNumber) {
        FixedNumber n = VarNumFromEntry(value);
        std::memcpy(el, &n, 8);
    } else {
        std::uint16_t len = value.len < a->width ? value.len : a->width;  // a longer text is cut
        std::memcpy(el, &len, 2);
        if (len) std::memmove(el + 2, value.ptr, len);
    }
    return 0;
}

}  // namespace

ErrCode VarArraysSetUp() { return VarTableEnsure(g_blocks, kOwnerVarTables, 16 * sizeof(void*)); }

void VarArraysRelease() {
    for (std::uint32_t slot = 0; (slot + 1) * sizeof(void*) <= g_blocks.size; ++slot) {
        ArrayHead* a = BlockOf(static_cast<std::uint16_t>(slot));
        if (a) AreaFree(kOwnerArrays, a);
    }
    VarTableRelease(g_blocks, kOwnerVarTables);
}

ErrCode VarArrayGet(StrDesc name, const std::int32_t* index, std::uint16_t count, std::uint16_t textWidth) {
    VarKind kind;
    if (ErrCode e = NameKind(name, &kind)) return e;
    if (ErrCode e = CheckIndexes(index, count)) return e;
    ArrayHead* a = Find(name);
    if (a == nullptr) {
        std::uint32_t sizes[kVarArrayMaxDims];
        for (std::uint16_t i = 0; i < count; ++i) sizes[i] = std::uint32_t(index[i]) + 1;
        if (ErrCode e = Create(name, kind, sizes, count, textWidth, &a)) return e;
    }
    std::uint32_t pos = 0;
    if (ErrCode e = Position(a, index, count, &pos)) return e;
    const unsigned char* el = Element(a, pos);
    if (a->kind == kVarInteger) {
        std::int16_t v;
        std::memcpy(&v, el, 2);
        return VarNumPush(NumFromInteger(v));
    }
    if (a->kind == kVarNumber) return DynPush(StrMake(reinterpret_cast<const char*>(el), 8));
    std::uint16_t len;
    std::memcpy(&len, el, 2);
    return DynPush(StrMake(reinterpret_cast<const char*>(el + 2), len));
}

ErrCode VarArraySet(StrDesc name, const std::int32_t* index, std::uint16_t count, StrDesc value) {
    ErrCode r = Store(name, index, count, value);
    if (r >= kErrSerious) ErrNote(kNoteFirst, kAreaVarAssign, r, r);
    return r;
}

ErrCode VarArrayGetNumber(StrDesc name, const std::int32_t* index, std::uint16_t count, FixedNumber* out) {
    DynScope scope;
    if (ErrCode e = VarArrayGet(name, index, count)) return e;
    FixedNumber n = VarKindOf(name) == kVarText ? NumRead(DynTop()) : VarNumFromEntry(DynTop());
    if (out) *out = n;
    return 0;
}

ErrCode VarArraySetNumber(StrDesc name, const std::int32_t* index, std::uint16_t count, FixedNumber n) {
    DynScope scope;
    if (VarKindOf(name) == kVarText) return VarArraySet(name, index, count, NumText(n));
    if (ErrCode e = VarNumPush(n)) return e;
    return VarArraySet(name, index, count, DynTop());
}

bool VarArrayInfo(StrDesc name, VarArrayShape* out) {
    if (name.IsError() || !VarReady()) return false;
    ArrayHead* a = Find(name);
    if (a == nullptr) return false;
    if (out) {
        *out = VarArrayShape{};
        out->dims = a->dims;
        for (std::uint16_t i = 0; i < a->dims; ++i) out->size[i] = a->size[i];
        out->count = a->count;
        out->width = a->width;
    }
    return true;
}

}  // namespace rt
