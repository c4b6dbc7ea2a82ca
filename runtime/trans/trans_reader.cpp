// Puts the values of one external record into the current record: delimited values by the quoting
// rule of trans_delim.h or fixed-width pieces, each through its field spec; and the DOS code-page
// conversion of imported records.
#include "runtime/trans/trans_reader.h"

#include <array>
#include <cstdlib>

#include "runtime/data/fields.h"
#include "runtime/data/file_table.h"
#include "runtime/data/record_buffer.h"
#include "runtime/env/errors.h"
#include "runtime/expr/evaluator.h"
#include "runtime/text/dyn_strings.h"
#include "runtime/text/err_codes.h"
#include "runtime/text/slot_map.h"
#include "runtime/text/slot_table.h"
#include "runtime/text/str_bridge.h"
#include "runtime/text/text_build.h"
#include "runtime/text/text_lists.h"
#include "runtime/text/text_search.h"
#include "runtime/trans/trans_delim.h"
#include "runtime/vars/fixed_number.h"
#include "runtime/vars/var_arena_number.h"

namespace rt {
namespace {

constexpr unsigned char kEsc = 27;
constexpr std::uint16_t kMaxWidthChars = 3;  // W of "W;TARGET" is one to three characters
// The field types whose image must hold a number (an image with anything else is repaired).
constexpr StrDesc kImageNumericTypes = S("NL123456789");
constexpr StrDesc kNumberChars = S(".-1234567890");

StrDesc View(const std::string& s) { return StrDesc{s.data(), static_cast<std::uint16_t>(s.size())}; }

bool AllDigits(const std::string& s) {
    if (s.empty()) return false;
    for (char c : s)
        if (c < '0' || c > '9') return false;
    return true;
}

// An integer expression: 0 with *n set, 128 for a text, or the evaluation's failure.
ErrCode EvalInteger(const std::string& text, std::int32_t* n) {
    DynScope scope;
    ErrCode r = ExpEval(View(text));
    if (r == kExpNumber) {
        std::int64_t i = NumInteger(VarNumFromEntry(DynTop()));
        *n = i < 0 ? 0 : (i > 0xFFFF ? 0xFFFF : static_cast<std::int32_t>(i));
        return 0;
    }
    return r == kExpText ? static_cast<ErrCode>(kErrIncompatibleTypes) : r;
}

// The width of the field that a target reference, or the left side of a target assignment, names.
std::uint16_t TargetFieldWidth(const std::string& target) {
    std::size_t eq = target.find('=');
    std::string left = eq == std::string::npos ? target : target.substr(0, eq);
    FieldDesc f = FieldRef(View(left));
    return f.status == 0 && f.field != 0 ? f.width : 0;
}

ErrCode ParseSpec(StrDesc item, TransReadSpec* spec) {
    spec->spec = StrToStd(item);
    std::uint16_t semi = FindChar(item, 0, ';', kQuoteAware);
    if (semi != kNone && semi >= 1 && semi <= kMaxWidthChars) {
        spec->width = spec->spec.substr(0, semi);
        spec->target = spec->spec.substr(semi + 1u);
        if (AllDigits(spec->width)) spec->fixedWidth = std::atoi(spec->width.c_str());
    } else if (semi == kNone && item.len >= 1 && item.len <= kMaxWidthChars &&
               FindAny(item, 0, S("{="), kExact) == kNone) {
        // A short item that is neither a field reference nor an assignment is a width of bytes to pass over.
        spec->widthOnly = true;
        spec->width = spec->spec;
        if (AllDigits(spec->width)) spec->fixedWidth = std::atoi(spec->width.c_str());
        return 0;
    } else {
        spec->target = spec->spec;
    }
    StrDesc target = View(spec->target);
    spec->expression = FindChar(target, 0, '=', kQuoteAware) != kNone;
    if (!spec->expression) {
        FieldDesc f = FieldRef(target);
        if (f.status != 0 || f.field == 0) return ErrSetText(kErrSintaxError, item);
        spec->file = f.file;
        spec->field = f.field;
    }
    // Without W a fixed-width item takes its field's width; an expression that names no field takes
    // as many bytes as its own text has.
    std::uint16_t w = TargetFieldWidth(spec->target);
    spec->defaultWidth = w != 0 ? w : item.len;
    return 0;
}

// The next value of a record for spec: the next delimited value, or the next width bytes.
ErrCode NextValue(const TransReadLayout& layout, const TransReadSpec& spec, StrDesc record, DelimCursor* cursor,
                  std::uint32_t* pos, std::string* scratch, StrDesc* value) {
    if (layout.mode & kTransDelimited) {
        if (!cursor->Next(value, scratch)) *value = StrEmpty();
        return 0;
    }
    std::int32_t width = spec.fixedWidth;
    if (width < 0) {
        if (spec.width.empty()) {
            width = spec.defaultWidth;
        } else if (ErrCode e = EvalInteger(spec.width, &width)) {
            return ErrSetText(e, View(spec.spec));
        }
    }
    std::uint32_t start = *pos < record.len ? *pos : record.len;
    std::uint32_t end = start + static_cast<std::uint32_t>(width);
    if (end > record.len) end = record.len;
    *value = StrDesc{record.ptr + start, static_cast<std::uint16_t>(end - start)};
    *pos = start + static_cast<std::uint32_t>(width);
    return 0;
}

// Gives value to the spec's target: stored into its field, or read by its expression as _$(30).
ErrCode Deliver(const TransReadSpec& spec, StrDesc value) {
    if (!spec.expression) return FieldSet(spec.file, spec.field, value);
    if (ErrCode e = SlotPush(kUserStackGroup, value)) return e;
    std::uint16_t depth = SlotCount(kUserStackGroup);
    ErrCode e = ExpRun(View(spec.target));
    // The expression may have read the value off the stack itself; only what is still there goes.
    if (SlotCount(kUserStackGroup) >= depth) SlotTruncate(kUserStackGroup, static_cast<std::uint16_t>(depth - 1));
    return e;
}

// Rewrites each numeric field of a record image that holds more than a number as the integer its
// leading digits give.
ErrCode RepairNumericImage(std::uint8_t file) {
    std::uint16_t count = FieldCount(file);
    for (std::uint16_t i = 1; i <= count; ++i) {
        FieldDesc f = FieldInfo(file, i);
        if (FindChar(kImageNumericTypes, 0, static_cast<unsigned char>(f.type), kExact) == kNone) continue;
        DynScope scope;
        std::string text = StrToStd(FieldRaw(file, i, kRecCurrent));
        std::size_t start = text.find_first_not_of(' ');
        if (start == std::string::npos) continue;
        if (text.find_first_not_of(StrToStd(kNumberChars), start) == std::string::npos) continue;
        std::size_t at = start;
        bool negative = at < text.size() && text[at] == '-';
        if (negative) ++at;
        long long n = 0;
        while (at < text.size() && text[at] >= '0' && text[at] <= '9' && n < 100000000000000000LL)
            n = n * 10 + (text[at++] - '0');
        if (ErrCode e = FieldSet(file, i, Format(32, "%lld", negative ? -n : n))) return e;
    }
    return 0;
}

constexpr std::array<unsigned char, 256> MakeDosTable() {
    std::array<unsigned char, 256> t{};
    for (int i = 0; i < 256; ++i) t[i] = static_cast<unsigned char>(i);
    t[0xA7] = 0xBA;  // º
    t[0xA5] = 0xD1;  // Ñ
    t[0xA4] = 0xF1;  // ñ
    t[0xA0] = 0xE1;  // á
    t[0x82] = 0xE9;  // é
    t[0xA1] = 0xED;  // í
    t[0xA2] = 0xF3;  // ó
    t[0xA3] = 0xFA;  // ú
    t[0x80] = 0xC7;  // Ç
    t[0xCD] = '=';   // double horizontal lines
    t[0xF0] = '=';
    // Box-drawing corners and lines become blanks.
    for (unsigned char c : {0xDA, 0xD9, 0xC4, 0xC3, 0xC1, 0xC2, 0xC0, 0xC5, 0xBF, 0xB4, 0xB3}) t[c] = ' ';
    return t;
}
constexpr std::array<unsigned char, 256> kDosTable = MakeDosTable();

}  // namespace

ErrCode TransReadLayoutBuild(std::uint8_t file, TransMode mode, StrDesc structList, unsigned char delimiter,
                             std::uint16_t buffSize, TransReadLayout* layout) {
    layout->file = file;
    layout->mode = mode;
    layout->delimiter = delimiter;
    layout->specs.clear();
    std::uint32_t widths = 0;
    ItemCursor items(structList, ',');
    StrDesc item;
    while (items.Next(&item)) {
        DynScope scope;
        TransReadSpec spec;
        if (ErrCode e = ParseSpec(item, &spec)) return e;
        std::int32_t w = spec.fixedWidth >= 0 ? spec.fixedWidth : (spec.width.empty() ? spec.defaultWidth : 0);
        widths += static_cast<std::uint32_t>(w);
        layout->specs.push_back(std::move(spec));
    }
    std::uint32_t length = buffSize != 0 ? buffSize : (widths != 0 ? widths : RecordLength(file));
    layout->recordLength = static_cast<std::uint16_t>(length > 0xFFFF ? 0xFFFF : length);
    return 0;
}

ErrCode TransReadRecord(const TransReadLayout& layout, StrDesc record) {
    std::uint8_t file = layout.file;
    {
        DynScope scope;
        StrDesc blank = StrFill(RecordLength(file), ' ');
        if (blank.IsError()) return blank.len;
        if (ErrCode e = RecWrite(file, kRecCurrent, blank)) return e;
    }
    if (record.IsError() || record.len == 0 || record.bytes()[0] == kEsc) return kErrNoData;

    std::string scratch;
    ErrCode result = 0;
    if (layout.specs.empty()) {
        if (layout.mode & kTransDelimited) {
            DelimCursor values(record, layout.delimiter);
            StrDesc value;
            std::uint16_t count = FieldCount(file);
            while (result == 0 && values.Next(&value, &scratch)) {
                std::uint16_t n = values.number();
                if (n > count) {
                    DynScope scope;
                    result = ErrSetText(kErrSintaxError, Format(48, "%u{%u}", unsigned(n), unsigned(file)));
                    break;
                }
                result = FieldSet(file, n, value);
            }
        } else {
            result = RecWrite(file, kRecCurrent, record);
            if (result == 0) result = RepairNumericImage(file);
        }
    } else {
        DelimCursor values(record, layout.delimiter);
        std::uint32_t pos = 0;
        for (const TransReadSpec& spec : layout.specs) {
            DynScope scope;
            StrDesc value;
            result = NextValue(layout, spec, record, &values, &pos, &scratch, &value);
            if (result == 0 && !spec.widthOnly) result = Deliver(spec, value);
            if (result >= kErrSerious) break;
            result = 0;
        }
    }
    if (result == 0 && (layout.mode & kTransDosCodePage)) TransFromDosCodePage(file);
    return result;
}

unsigned char TransDosByte(unsigned char c) { return kDosTable[c]; }

void TransFromDosCodePage(std::uint8_t file) {
    StrDesc image = RecImage(file, kRecCurrent);
    if (image.IsError()) return;
    char* p = image.mut();
    for (std::uint16_t i = 0; i < image.len; ++i) p[i] = static_cast<char>(kDosTable[static_cast<unsigned char>(p[i])]);
}

}  // namespace rt
