// Key conditions and range conditions, built field by field over a key's fields.
#include "runtime/sql/sql_conditions.h"

#include <algorithm>
#include <cstring>

#include "runtime/data/fields.h"
#include "runtime/data/file_table.h"
#include "runtime/data/keys.h"
#include "runtime/sql/sql_literals.h"
#include "runtime/sql/sql_schema.h"
#include "runtime/text/dyn_strings.h"
#include "runtime/text/str_bridge.h"

namespace rt {

namespace {

constexpr unsigned char kNoLimit = 0xFF;

// Only the strict part of a mode: >= and > become >, <= and < become <.
constexpr std::uint8_t kStrictBits = 6;
// Bit of a range mode that makes the high value an upper limit.
constexpr std::uint8_t kUpwardBit = 2;

}  // namespace

std::string KeyConditionText(StrDesc value, std::uint8_t file, std::uint16_t key, std::uint8_t mode,
                             std::uint16_t firstField) {
    if (value.IsError()) return std::string();
    KeyFieldList list = KeyFields(file, key);
    std::string cond;
    std::uint16_t p = 0;
    for (std::uint16_t i = firstField; i < list.count && p < value.len; ++i) {
        DynScope scope;
        FieldDesc desc = FieldInfo(file, list.fields[i]);
        std::uint16_t take = std::min<std::uint16_t>(desc.width, static_cast<std::uint16_t>(value.len - p));
        std::string literal = StrToStd(SqlLiteral(StrDesc{value.ptr + p, take}, desc.type));
        std::string name = StrToStd(FieldName(file, list.fields[i]));
        bool notNull = SqlFieldNotNull(file, list.fields[i]);
        bool continues = std::uint32_t(p) + desc.width < value.len;
        std::uint8_t fieldMode = continues ? static_cast<std::uint8_t>(mode & kStrictBits) : mode;
        std::string compare = SqlCompare(name, mode == kCmpEqual ? std::uint8_t{kCmpEqual} : fieldMode, literal, desc.type, notNull);
        if (mode == kCmpEqual) {
            cond = SqlCombine(cond, kJoinAnd, compare);
        } else if (i == firstField) {
            cond = compare;
        } else {
            std::string equal = KeyConditionText(StrDesc{value.ptr, p}, file, key, kCmpEqual, firstField);
            cond = SqlCombine(cond, kJoinOr, "(" + SqlCombine(equal, kJoinAnd, compare) + ")");
        }
        p = static_cast<std::uint16_t>(p + desc.width);
    }
    return cond;
}

StrDesc SqlKeyCondition(StrDesc value, std::uint8_t file, std::uint16_t key, std::uint8_t mode) {
    return StrFromStd(KeyConditionText(value, file, key, mode));
}

StrDesc SqlRangeCondition(std::uint8_t file, std::uint16_t key, StrDesc low, StrDesc high, StrDesc extra,
                          std::uint8_t mode) {
    if (low.IsError()) return low;
    if (high.IsError()) return high;
    KeyFieldList list = KeyFields(file, key);
    std::uint16_t shorter = std::min(low.len, high.len);
    std::uint16_t consumed = 0, fields = 0;
    for (std::uint16_t i = 0; i < list.count && consumed < shorter; ++i) {
        std::uint16_t width = FieldInfo(file, list.fields[i]).width;
        if (width == 0) break;
        std::uint32_t upto = std::uint32_t(consumed) + width;
        std::uint16_t lowPart = static_cast<std::uint16_t>(std::min<std::uint32_t>(upto, low.len));
        std::uint16_t highPart = static_cast<std::uint16_t>(std::min<std::uint32_t>(upto, high.len));
        if (lowPart != highPart || std::memcmp(low.ptr, high.ptr, lowPart) != 0) break;
        // With an even (strict) mode the last field is always compared, never taken as equal.
        if ((mode & 1) == 0 && i + 1 == list.count) break;
        consumed = static_cast<std::uint16_t>(std::min<std::uint32_t>(upto, shorter));
        ++fields;
    }
    std::string cond = KeyConditionText(StrDesc{low.ptr, consumed}, file, key, kCmpEqual);
    if (low.len > consumed) {
        StrDesc rest{low.ptr + consumed, static_cast<std::uint16_t>(low.len - consumed)};
        cond = SqlCombine(cond, kJoinAnd, KeyConditionText(rest, file, key, mode, fields));
    }
    StrDesc highRest{high.ptr + std::min(consumed, high.len), static_cast<std::uint16_t>(high.len - std::min(consumed, high.len))};
    if (highRest.len != 0 && !(highRest.len == 1 && highRest.bytes()[0] == kNoLimit)) {
        std::uint8_t highMode = (mode & kUpwardBit) ? kCmpLessEq : kCmpGreaterEq;
        cond = SqlCombine(cond, kJoinAnd, KeyConditionText(highRest, file, key, highMode, fields));
    }
    cond = SqlCombine(cond, kJoinAnd, StrToStd(extra));
    return StrFromStd(cond);
}

}  // namespace rt
