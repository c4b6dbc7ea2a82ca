// Field references and reading and writing field values in the record buffer.
#include "runtime/data/fields.h"

#include <algorithm>
#include <cstring>

#include "runtime/data/file_table_state.h"
#include "runtime/data/record_buffer.h"
#include "runtime/env/errors.h"
#include "runtime/text/err_codes.h"
#include "runtime/vars/masks.h"
#include "runtime/vars/var_system.h"
#include "runtime/text/dyn_strings.h"
#include "runtime/text/text_build.h"
#include "runtime/text/text_clean.h"
#include "runtime/text/text_search.h"

namespace rt {

namespace {

FieldDesc RefFailure(ErrCode code, StrDesc text) {
    FieldDesc desc;
    if (code == kErrSintaxError) {
        DynScope scope;
        ErrSetText(kErrSintaxError, StrConcat(S("Field:"), text));
    }
    desc.status = code;
    return desc;
}

// Compact dates: six bytes YYMMDD whose first byte carries the century (a digit for 19xx, a
// letter 'A'..'J' for 20xx) and whose month and day tens are blank when zero.
bool IsCompactDate(const FieldDesc& desc) {
    return desc.type == 'F' && desc.width == 6 && (SysBits(kSysCompat) & kCompatCompactDates) != 0;
}

StrDesc CompactExpand(StrDesc raw) {
    StrDesc out = DynAlloc(8);
    if (out.IsError()) return out;
    char* p = out.mut();
    std::memcpy(p + 2, raw.ptr, 6);
    signed char first = static_cast<signed char>(raw.ptr[0]);
    if (first <= 64) {
        std::memcpy(p, first <= 32 ? "  " : "19", 2);
    } else {
        std::memcpy(p, "20", 2);
        p[2] = static_cast<char>(p[2] - 17);
    }
    if (p[0] != ' ') std::replace(p, p + 8, ' ', '0');
    return out;
}

// fullDate is the value's date before it was cut to six bytes. A date of the 1900s keeps its plain
// first digit, so that it reads back in its own century; a blank date stays blank.
void CompactPack(StrDesc stored, StrDesc fullDate) {
    char* p = stored.mut();
    if (stored.len == 0 || static_cast<unsigned char>(p[0]) <= ' ') return;
    bool nineteen = fullDate.len == 8 && fullDate.ptr[0] == '1' && fullDate.ptr[1] == '9';
    if (!nineteen) p[0] = static_cast<char>(p[0] + 17);
    for (std::uint16_t i : {2, 4})
        if (i < stored.len && p[i] == '0') p[i] = ' ';
}

}  // namespace

FieldDesc FieldRef(StrDesc text) {
    if (text.IsError()) return RefFailure(text.len, S(""));
    std::uint16_t open = FindChar(text, 0, '{', kExact);
    std::uint16_t close = FindChar(text, 0, '}', kExact);
    if (open == kNone || close == kNone || open > close || close != text.len - 1)
        return RefFailure(kErrSintaxError, text);
    StrDesc fileText{text.ptr + open + 1, static_cast<std::uint16_t>(close - open - 1)};
    // An empty file text counts as a name: the byte looked at is then the '}'.
    std::uint8_t file = text.bytes()[open + 1] >= 'A' ? FileByName(fileText)
                                                       : static_cast<std::uint8_t>(StrToNum(fileText));
    if (!FileValid(file)) return RefFailure(kErrFileOutBound, text);
    StrDesc fieldText{text.ptr, open};
    if (fieldText.len == 0) {
        FieldDesc self;
        self.file = file;
        self.type = 'N';
        return self;
    }
    std::uint16_t field = FieldByName(file, fieldText);
    if (field == 0xFFFF) field = static_cast<std::uint16_t>(StrToNum(fieldText));
    if (field == 0 || field > FieldCount(file)) return RefFailure(kErrSintaxError, text);
    return FieldInfo(file, field);
}

StrDesc FieldRaw(std::uint8_t n, std::uint16_t field, std::uint8_t part) {
    n = FileResolve(n);
    ErrCode code = FieldCheck(n, field == kFileOnly ? 0 : field);
    StrDesc image;
    if (code == 0) {
        image = (part == kRecCurrent || part == kRecReference) ? RecImage(n, part) : StrError(kErrBadFileNumber);
        if (image.IsError()) code = image.len;
    }
    if (code != 0) {
        ErrNote(kNoteFirst, kAreaBufferFld, kErrBadFileNumber, 0);
        return StrError(kErrBadFileNumber);
    }
    FieldDesc desc = FieldInfo(n, field);
    return StrDesc{image.ptr + desc.offset, desc.width};
}

StrDesc FieldGet(std::uint8_t n, std::uint16_t field) { return FieldGetOf(n, field, kRecCurrent); }

StrDesc FieldGetOf(std::uint8_t n, std::uint16_t field, std::uint8_t part) {
    StrDesc raw = FieldRaw(n, field, part);
    if (raw.IsError()) return raw;
    FieldDesc desc = FieldInfo(n, field);
    if (IsCompactDate(desc)) return CompactExpand(raw);
    if (desc.type == 'N' && raw.len > 0 && raw.ptr[0] == 'D') {
        StrDesc rest{raw.ptr + 1, static_cast<std::uint16_t>(raw.len - 1)};
        std::int16_t value = static_cast<std::int16_t>(StrToNum(rest) ^ 10);
        return Format(8, "%d", int{value});
    }
    return raw;
}

ErrCode FieldSet(std::uint8_t n, std::uint16_t field, StrDesc value) {
    n = FileResolve(n);
    DynScope scope;
    ErrCode code = FieldCheck(n, field == kFileOnly ? 0 : field);
    if (code == 0) {
        FieldDesc desc = FieldInfo(n, field);
        StrDesc stored = FieldToStore(desc.type, value, desc.width);
        if (stored.IsError()) {
            code = stored.len;
        } else {
            if (IsCompactDate(desc)) CompactPack(stored, FieldToStore(desc.type, value, kNoFit));
            StrDesc record = RecImage(n, kRecCurrent);
            if (record.IsError()) {
                code = record.len;
            } else {
                std::uint16_t count = std::min(stored.len, desc.width);
                if (count) std::memcpy(record.mut() + desc.offset, stored.ptr, count);
            }
        }
    }
    if (code != 0) ErrNote(kNoteFirst, kAreaBufferFld, kErrBadFileNumber, 0);
    return code;
}

ErrCode FieldSetByRef(StrDesc ref, StrDesc value) {
    FieldDesc desc = FieldRef(ref);
    if (desc.status != 0) return desc.status;
    return FieldSet(desc.file, desc.field, value);
}

bool FieldChanged(std::uint8_t n, std::uint16_t field) {
    // Both sides are compared as stored, so that conversions made for reading do not count as changes.
    StrDesc reference = FieldRaw(n, field, kRecReference);
    StrDesc current = FieldRaw(n, field, kRecCurrent);
    if (reference.IsError() || current.IsError()) return false;
    return !StrEq(reference, current);
}

}  // namespace rt
