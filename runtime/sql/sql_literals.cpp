// Value literals, key orderings, comparisons and the joining of conditions.
#include "runtime/sql/sql_literals.h"

#include <cstring>

#include "runtime/data/fields.h"
#include "runtime/data/file_table.h"
#include "runtime/data/keys.h"
#include "runtime/sql/sql_schema.h"
#include "runtime/text/str_bridge.h"
#include "runtime/vars/var_system.h"

namespace rt {

namespace {

constexpr const char* kCompareOps[] = {"", "=", ">", ">=", "<", "<=", "<>", "IS", "IS NOT"};
constexpr std::uint16_t kOrderFieldsOfOne = 3;  // a key on field 1 alone orders by fields 1 to 3

bool IsBlank(unsigned char c) { return c == ' ' || c == '\t'; }

// A plain number: an optional sign, digits and at most one point, with at least one digit.
bool PlainNumber(const std::string& s) {
    std::size_t i = (!s.empty() && (s[0] == '-' || s[0] == '+')) ? 1 : 0;
    bool digit = false, point = false;
    for (; i < s.size(); ++i) {
        if (s[i] >= '0' && s[i] <= '9') digit = true;
        else if (s[i] == '.' && !point) point = true;
        else return false;
    }
    return digit;
}

// Whether text holds word outside parentheses and quoted sections.
bool HoldsOutside(const std::string& text, const char* word) {
    std::size_t n = std::strlen(word);
    int depth = 0;
    char quote = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        char c = text[i];
        if (quote) {
            if (c == quote) quote = 0;
        } else if (c == '\'' || c == '"') {
            quote = c;
        } else if (c == '(') {
            ++depth;
        } else if (c == ')') {
            if (depth > 0) --depth;
        } else if (depth == 0 && text.compare(i, n, word) == 0) {
            return true;
        }
    }
    return false;
}

std::string Quoted(std::uint8_t file, std::uint16_t field) { return SqlIdent(FieldName(file, field)); }

}  // namespace

std::string SqlIdent(const std::string& name) {
    std::string out = "\"";
    for (char c : name) {
        out += c;
        if (c == '"') out += '"';
    }
    return out + "\"";
}

std::string SqlIdent(StrDesc name) { return SqlIdent(StrToStd(name)); }

bool SqlNumericType(char type) { return type != 0 && std::strchr("NL123456789", type) != nullptr; }

StrDesc SqlQuote(StrDesc text) {
    std::string s = StrToStd(text);
    if (s.find_first_of("'\"") == std::string::npos) return StrFromStd("'" + s + "'");
    std::string out = "E'";
    for (char c : s) {
        if (c == '\\') out += "\\\\";
        else if (c == '\'') out += "\\x27";
        else if (c == '"') out += "\\x22";
        else out += c;
    }
    return StrFromStd(out + "'");
}

StrDesc SqlLiteral(StrDesc value, char type) {
    std::string s = StrToStd(value);
    std::size_t nul = s.find('\0');
    if (nul != std::string::npos) s.resize(nul);
    while (!s.empty() && IsBlank(static_cast<unsigned char>(s.back()))) s.pop_back();
    if (SqlNumericType(type)) {
        std::size_t first = 0;
        while (first < s.size() && IsBlank(static_cast<unsigned char>(s[first]))) ++first;
        s.erase(0, first);
        if (s.empty()) return StrFromStd("NULL");
        return PlainNumber(s) ? StrFromStd(s) : SqlQuote(StrViewStd(s));
    }
    if (s.empty()) return StrFromStd("NULL");
    return SqlQuote(StrViewStd(s));
}

StrDesc SqlOrder(std::uint8_t file, std::uint16_t key, bool descending) {
    KeyFieldList list = KeyFields(file, key);
    if (list.count == 1 && list.fields[0] == 1) {
        std::uint16_t n = FieldCount(file) < kOrderFieldsOfOne ? FieldCount(file) : kOrderFieldsOfOne;
        list.count = n;
        for (std::uint16_t i = 0; i < n; ++i) list.fields[i] = static_cast<std::uint16_t>(i + 1);
    }
    bool plain = (SysBits(kSysSysCompat) & kSysCompatPlainOrder) != 0;
    std::string out;
    for (std::uint16_t i = 0; i < list.count; ++i) {
        bool noNulls = plain || SqlFieldNotNull(file, list.fields[i]);
        if (i) out += ",";
        out += Quoted(file, list.fields[i]);
        if (descending) out += noNulls ? " DESC" : " DESC NULLS LAST";
        else if (!noNulls) out += " NULLS FIRST";
    }
    return StrFromStd(out);
}

std::string SqlCompare(const std::string& name, std::uint8_t mode, const std::string& literal, char type,
                       bool notNull) {
    bool isNull = literal == "NULL";
    bool orNull = !notNull && (((mode & 1) && isNull) || ((mode & 4) && !isNull));
    std::string value = isNull ? (SqlNumericType(type) ? "0" : "''") : literal;
    const char* op = mode < sizeof kCompareOps / sizeof kCompareOps[0] ? kCompareOps[mode] : "";
    std::string cond = SqlIdent(name) + " " + op + " " + value;
    if (orNull) cond = "(" + cond + " OR " + SqlIdent(name) + " IS NULL)";
    return cond;
}

std::string SqlCombine(const std::string& left, std::uint8_t op, const std::string& right) {
    const char* sep = op == kJoinAnd ? " AND " : " OR ";
    const char* other = op == kJoinAnd ? " OR " : " AND ";
    auto operand = [other](const std::string& s) { return HoldsOutside(s, other) ? "(" + s + ")" : s; };
    // A lone operand needs no parentheses: there is nothing it could be read together with.
    if (left.empty()) return right;
    if (right.empty()) return left;
    return operand(left) + sep + operand(right);
}

StrDesc SqlCombine(StrDesc left, std::uint8_t op, StrDesc right) {
    return StrFromStd(SqlCombine(StrToStd(left), op, StrToStd(right)));
}

}  // namespace rt
