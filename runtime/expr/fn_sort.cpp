// SORT$: sorted lists of fixed-width text elements in one memory area, held by expressions through a
// 24-byte handle text, and sorted copies of lists.
#include <cstring>
#include <string>

#include "runtime/expr/fn_internal.h"
#include "runtime/text/err_codes.h"
#include "runtime/vars/var_system.h"
#include "runtime/text/dyn_strings.h"
#include "runtime/text/mem_areas.h"
#include "runtime/text/text_build.h"
#include "runtime/text/text_clean.h"
#include "runtime/text/text_lists.h"

namespace rt {

namespace {

constexpr std::uint16_t kHandleLength = 24;
enum SortFlags : std::uint8_t { kSortUnique = 1, kSortDescending = 2, kSortNulSeparated = 64, kSortTrim = 128 };

struct SortedList {
    unsigned char* block = nullptr;
    std::uint16_t used = 0;
    std::uint16_t capacity = 0;
    std::uint16_t error = 0;
    std::uint16_t area = 0;  // the area's number, so that a handle can be checked before use
    std::uint16_t keyLength = 0;
    std::uint16_t width = 0;
    std::uint16_t count = 0;
    std::uint16_t position = 0;
    std::uint8_t flags = 0;
};

void Put16(unsigned char* p, std::uint16_t v) {
    p[0] = static_cast<unsigned char>(v & 0xFF);
    p[1] = static_cast<unsigned char>(v >> 8);
}
std::uint16_t Get16(const unsigned char* p) { return static_cast<std::uint16_t>(p[0] | (p[1] << 8)); }

std::uint32_t Low32(const void* p) { return static_cast<std::uint32_t>(reinterpret_cast<std::uintptr_t>(p)); }

// The handle image: block address (low 32 bits), bytes in use, capacity, first error, area number,
// key length, element width, count, position, flags, three zero bytes.
StrDesc Encode(const SortedList& l) {
    StrDesc h = DynAlloc(kHandleLength);
    if (h.IsError()) return h;
    auto* p = reinterpret_cast<unsigned char*>(h.mut());
    std::memset(p, 0, kHandleLength);
    std::uint32_t address = Low32(l.block);
    for (int i = 0; i < 4; ++i) p[i] = static_cast<unsigned char>((address >> (8 * i)) & 0xFF);
    Put16(p + 4, l.used);
    Put16(p + 6, l.capacity);
    Put16(p + 8, l.error);
    Put16(p + 10, l.area);
    Put16(p + 12, l.keyLength);
    Put16(p + 14, l.width);
    Put16(p + 16, l.count);
    Put16(p + 18, l.position);
    p[20] = l.flags;
    return h;
}

// Reads a handle and checks it against its memory area; 147 for anything that is no live handle.
ErrCode Decode(StrDesc h, SortedList* l) {
    if (h.IsError() || h.len != kHandleLength) return kErrSintaxError;
    const unsigned char* p = h.bytes();
    std::uint32_t address = p[0] | (p[1] << 8) | (p[2] << 16) | (std::uint32_t(p[3]) << 24);
    l->used = Get16(p + 4);
    l->capacity = Get16(p + 6);
    l->error = Get16(p + 8);
    l->area = Get16(p + 10);
    l->keyLength = Get16(p + 12);
    l->width = Get16(p + 14);
    l->count = Get16(p + 16);
    l->position = Get16(p + 18);
    l->flags = p[20];
    MemArea area;
    if (AreaGet(l->area, &area) != 0 || area.block == nullptr || area.owner != kOwnerSort) return kErrSintaxError;
    if (Low32(area.block) != address || l->capacity > area.size || l->width == 0 || l->keyLength > l->width)
        return kErrSintaxError;
    if (std::uint32_t(l->count) * l->width > l->capacity || l->used != l->count * l->width) return kErrSintaxError;
    l->block = area.block;
    return 0;
}

std::uint16_t AreaNumberOf(const void* block) {
    for (std::uint16_t i = 0; i < kAreaCount; ++i) {
        MemArea a;
        if (AreaGet(i, &a) == 0 && a.block == block) return i;
    }
    return kNone;
}

ErrCode Create(std::uint16_t width, std::uint16_t keyLength, std::uint32_t capacity, std::uint8_t flags,
               SortedList* l) {
    if (width == 0) return kErrSintaxError;
    if (capacity > 0xFFFF) capacity = 0xFFFF;
    if (capacity < width) capacity = width;
    std::uint16_t n = AreaAlloc(kOwnerSort, capacity, ' ');
    MemArea a;
    if (n == kNone || AreaGet(n, &a) != 0 || a.block == nullptr) return kErrOutOfMemory;
    *l = SortedList{};
    l->block = a.block;
    l->area = n;
    l->capacity = static_cast<std::uint16_t>(capacity);
    l->width = width;
    l->keyLength = keyLength;
    l->flags = flags;
    return 0;
}

// Inserts text keeping the order: after the elements whose key is equal (so equal keys keep the
// order of insertion). 0, 5 for a refused duplicate, 163 too wide, 145 when the storage cannot grow.
ErrCode Insert(SortedList& l, StrDesc text) {
    if (text.len > l.width) return kErrData;
    std::string element(l.width, ' ');
    std::memcpy(element.data(), text.ptr, text.len);
    const bool descending = l.flags & kSortDescending;
    std::uint16_t at = l.count;
    for (std::uint16_t i = 0; i < l.count; ++i) {
        int c = std::memcmp(l.block + std::size_t(i) * l.width, element.data(), l.keyLength);
        if (descending) c = -c;
        if (c < 0) continue;
        if (c == 0) {
            if (l.flags & kSortUnique) return kStatusDuplicate;
            continue;
        }
        at = i;
        break;
    }
    std::uint32_t need = (std::uint32_t(l.count) + 1) * l.width;
    if (need > 0xFFFF) return kErrOutOfMemory;
    if (need > l.capacity) {
        std::uint32_t grown = need * 2 > 0xFFFF ? 0xFFFF : need * 2;
        void* fresh = AreaGrow(kOwnerSort, l.block, l.capacity, grown);
        if (fresh == nullptr) return kErrOutOfMemory;
        l.block = static_cast<unsigned char*>(fresh);
        l.area = AreaNumberOf(fresh);
        l.capacity = static_cast<std::uint16_t>(grown);
    }
    unsigned char* slot = l.block + std::size_t(at) * l.width;
    std::memmove(slot + l.width, slot, std::size_t(l.count - at) * l.width);
    std::memcpy(slot, element.data(), l.width);
    ++l.count;
    l.used = static_cast<std::uint16_t>(l.count * l.width);
    return 0;
}

StrDesc Element(const SortedList& l, std::uint16_t i) {
    return StrMake(reinterpret_cast<const char*>(l.block) + std::size_t(i) * l.width, l.width);
}

ErrCode SortedCopy(FnArgs& a) {
    StrDesc list;
    std::int16_t flagArg = 0;
    if (ErrCode e = FnArgText(a, 0, StrEmpty(), &list)) return e;
    if (ErrCode e = FnArgInt(a, 1, 0, &flagArg)) return e;
    std::uint8_t flags = static_cast<std::uint8_t>(flagArg & 0xFF);
    unsigned char sep = (flags & kSortNulSeparated) ? 0 : ',';
    std::uint16_t width = ItemWidth(list, sep, false);
    if (width == 0) return FnText(StrEmpty());
    SortedList l;
    if (Create(width, width, std::uint32_t(ItemCount(list, sep)) * width, flags, &l)) return FnText(StrEmpty());
    ItemCursor cursor(list, sep);
    StrDesc item;
    bool failed = false;
    while (!failed && cursor.Next(&item)) {
        item = Unquote(item);
        if (item.len == 0) continue;
        ErrCode e = Insert(l, item);
        failed = e >= kErrSerious;
    }
    std::string out;
    if (!failed) {
        bool first = true;
        for (std::uint16_t i = 0; i < l.count; ++i) {
            StrDesc e = Element(l, i);
            if (flags & kSortTrim) e = TrimSet(e, kTrimRight, S(" "));
            if (e.len == 0) continue;
            if (!first) out += static_cast<char>(sep);
            out.append(e.ptr, e.len);
            first = false;
        }
    }
    AreaFree(kOwnerSort, l.block);
    if (out.size() > 0xFFFF) return FnText(StrEmpty());
    return FnText(StrMake(out.data(), static_cast<std::uint16_t>(out.size())));
}

}  // namespace

std::uint16_t FnNavigationKey(StrDesc command) {
    static const std::uint16_t kKeys[] = {3841, 3876, 3862, 0, 3858, 3872, 64, 3840, 3328, 1602, 66, 255, 70};
    DynScope scope;
    StrDesc upper = CaseFold(Trim(command, kTrimBoth), kCaseUpper);
    if (upper.IsError()) return 255;
    if (StrEq(upper, S("NEXT"))) upper = S("NXT");
    else if (StrEq(upper, S("PREVIOUS"))) upper = S("PRV");
    else if (StrEq(upper, S("BOTTOM"))) upper = S("BOT");
    std::uint16_t n = ItemIndex(S("NEW,TOP,PRV,RLD,NXT,BOT,FND,SVE,INS,DEL,LST,NLS,BLS,IMP,MDE,DDE,PRN,TSL"), upper, ',');
    return (n >= 1 && n <= sizeof kKeys / sizeof kKeys[0]) ? kKeys[n - 1] : 255;
}

ErrCode FnSort(FnArgs& a) {
    StrDesc op;
    if (ErrCode e = FnArgText(a, 0, StrEmpty(), &op)) return e;
    std::uint16_t which = ItemIndex(S("NEW,ADD,MOVE,GET,KILL"), op, ',');
    static const std::uint16_t kMin[] = {2, 3, 3, 2, 2};
    static const std::uint16_t kMax[] = {4, 3, 3, 2, 2};
    if (which == 0) {
        if (a.count > 2) return kErrSintaxError;
        return SortedCopy(a);
    }
    if (a.count < kMin[which - 1] || a.count > kMax[which - 1]) return kErrSintaxError;
    if (which == 1) {
        std::int16_t first = 0, second = 0, flags = 0;
        if (ErrCode e = FnArgInt(a, 1, 0, &first)) return e;
        if (ErrCode e = FnArgInt(a, 2, 0, &second)) return e;
        if (ErrCode e = FnArgInt(a, 3, 0, &flags)) return e;
        if (first < 0 || second < 0) return kErrSintaxError;
        std::uint16_t w = static_cast<std::uint16_t>(first > second ? first : second);
        std::uint16_t k = static_cast<std::uint16_t>(first > second ? second : first);
        SortedList l;
        if (ErrCode e = Create(w, k, std::uint32_t(first) * 256, static_cast<std::uint8_t>(flags & 0xFF), &l)) return e;
        return FnText(Encode(l));
    }
    StrDesc handle;
    if (ErrCode e = FnArgText(a, 1, StrEmpty(), &handle)) return e;
    SortedList l;
    if (ErrCode e = Decode(handle, &l)) return e;
    switch (which) {
        case 2: {
            StrDesc text;
            if (ErrCode e = FnArgText(a, 2, StrEmpty(), &text)) return e;
            ErrCode e = Insert(l, text);
            if (e >= kErrSerious) return e;
            ErrCode r = FnText(Encode(l));
            return r >= kErrFirstFailure ? r : e == kStatusDuplicate ? ErrCode{kStatusDuplicate} : r;
        }
        case 3: {
            StrDesc command;
            if (ErrCode e = FnArgText(a, 2, StrEmpty(), &command)) return e;
            switch (FnNavigationKey(command)) {
                case 3876: l.position = 0; break;
                case 3858: ++l.position; break;
                case 3862: --l.position; break;
                case 3872: l.position = static_cast<std::uint16_t>(l.count - 1); break;
                default: break;
            }
            std::int16_t outcome = 0;
            if (l.position >= l.count) {
                outcome = 2;
                l.position = l.count ? static_cast<std::uint16_t>(l.count - 1) : 0;
            }
            SysVarSet(kSysIer, outcome);
            return FnText(Encode(l));
        }
        case 4:
            if (l.position >= l.count) return FnText(StrEmpty());
            return FnText(Element(l, l.position));
        default: {
            ErrCode e = AreaFree(kOwnerSort, l.block);
            if (e) return e;
            return FnText(StrEmpty());
        }
    }
}

}  // namespace rt
