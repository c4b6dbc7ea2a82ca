// Parsing field-entry forms. Separators count only outside text quoted with ' or ".
#include "runtime/ui/accept_form.h"

#include <cctype>

#include "runtime/data/fields.h"
#include "runtime/data/file_table.h"
#include "runtime/env/catalog.h"
#include "runtime/expr/evaluator.h"
#include "runtime/text/dyn_strings.h"
#include "runtime/text/err_codes.h"
#include "runtime/text/str_bridge.h"
#include "runtime/text/text_clean.h"
#include "runtime/text/text_lists.h"
#include "runtime/vars/masks.h"
#include "runtime/vars/var_system.h"
#include "runtime/vars/variables.h"

namespace rt {

namespace {

// _COMPAT bit 1024: a 'V' field keeps its own type and width instead of its variable's.
constexpr std::uint16_t kCompatPlainV = 1024;
constexpr std::uint16_t kMaxParts = 5;

// Positions of sep outside quotes; npos-terminated walk.
std::vector<std::string> SplitQuoted(const std::string& s, char sep) {
    std::vector<std::string> out(1);
    char quote = 0;
    for (char c : s) {
        if (quote != 0) {
            if (c == quote) quote = 0;
        } else if (c == '\'' || c == '"') {
            quote = c;
        } else if (c == sep) {
            out.emplace_back();
            continue;
        }
        out.back() += c;
    }
    return out;
}

std::size_t FindOutside(const std::string& s, const std::string& needle, bool fold) {
    char quote = 0;
    for (std::size_t i = 0; i < s.size(); ++i) {
        const char c = s[i];
        if (quote != 0) {
            if (c == quote) quote = 0;
            continue;
        }
        if (c == '\'' || c == '"') {
            quote = c;
            continue;
        }
        if (s.size() - i < needle.size()) break;
        bool match = true;
        for (std::size_t k = 0; k < needle.size() && match; ++k) {
            char a = s[i + k], b = needle[k];
            if (fold) a = static_cast<char>(std::toupper(static_cast<unsigned char>(a)));
            match = a == b;
        }
        if (match) return i;
    }
    return std::string::npos;
}

std::string Trimmed(const std::string& s) {
    std::size_t a = 0, b = s.size();
    while (a < b && (s[a] == ' ' || s[a] == '\t')) ++a;
    while (b > a && (s[b - 1] == ' ' || s[b - 1] == '\t')) --b;
    return s.substr(a, b - a);
}

bool Quoted(const std::string& s) {
    return s.size() >= 2 && (s.front() == '\'' || s.front() == '"') && s.back() == s.front();
}

std::string Text(StrDesc d) { return StrToStd(d); }

// The comparison operator at the end of a reference ("" when none) and the item of "0080" it names.
struct Operator {
    std::string text;
    std::uint16_t item = 0;
};
Operator TrailingOperator(const std::string& s) {
    static const Operator kOps[] = {{">=", 4}, {"<=", 5}, {"<>", 6}, {"==", 3}, {">", 1}, {"<", 2}};
    for (const Operator& op : kOps)
        if (s.size() > op.text.size() && s.compare(s.size() - op.text.size(), op.text.size(), op.text) == 0) return op;
    return {};
}

// A data-file field reference NAME{FILE}, with its operator cut off.
bool FieldReference(const std::string& part, std::string* ref, Operator* op, FieldDesc* desc) {
    *op = TrailingOperator(part);
    *ref = Trimmed(part.substr(0, part.size() - op->text.size()));
    if (ref->empty() || Quoted(*ref) || ref->back() != '}' || ref->find('{') == std::string::npos) return false;
    DynScope scope;
    *desc = FieldRef(StrViewStd(*ref));
    return desc->status == 0 && desc->field != 0;
}

bool PlainVariable(const std::string& s) {
    if (s.empty() || Quoted(s)) return false;
    for (char c : s) {
        const unsigned char u = static_cast<unsigned char>(c);
        if (!(std::isalnum(u) || c == '_' || c == '$' || c == '#' || c == '.')) return false;
    }
    if (std::isdigit(static_cast<unsigned char>(s[0]))) return false;
    const VarKind kind = VarKindOf(StrViewStd(s));
    return kind == kVarInteger || kind == kVarNumber || kind == kVarText;
}

bool TextType(char type) { return !IsNumericType(type) && type != 'L'; }

// Label texts of "{row,col}" prefixes: the prefix places the label, the rest is shown.
void LabelPrefix(AcceptItem& item) {
    if (item.label.empty() || item.label[0] != '{') return;
    const std::size_t close = item.label.rfind('}');
    if (close == std::string::npos) return;
    const std::string inside = item.label.substr(1, item.label.find('}') - 1);
    const std::size_t comma = inside.find(',');
    if (comma == std::string::npos) return;
    item.label_row = std::atoi(inside.substr(0, comma).c_str());
    item.label_col = std::atoi(inside.substr(comma + 1).c_str());
    item.label = item.label.substr(close + 1);
}

// "/ROW" and "/COL", one separating character and a number; the field text ends at the first.
std::string Placement(const std::string& field, AcceptItem& item) {
    std::size_t end = std::string::npos;
    for (const char* key : {"/ROW", "/COL"}) {
        const std::size_t at = FindOutside(field, key, true);
        if (at == std::string::npos) continue;
        end = std::min(end, at);
        const int value = std::atoi(field.c_str() + std::min(field.size(), at + 5));
        (key[1] == 'R' ? item.row : item.col) = value;
    }
    return end == std::string::npos ? field : field.substr(0, end);
}

AcceptItem ParseField(const std::string& field_text, std::uint16_t index) {
    AcceptItem item;
    const std::vector<std::string> parts = SplitQuoted(Placement(field_text, item), ':');
    item.parts = static_cast<std::uint16_t>(parts.size());
    auto part = [&](std::size_t n) { return n <= parts.size() ? Trimmed(parts[n - 1]) : std::string(); };
    if (parts.size() > kMaxParts) {
        item.status = kErrData;
        return item;
    }
    DynScope scope;

    // The label: a quoted text, a data-file field (its name and operator), or an expression.
    const std::string first = part(1);
    std::string ref;
    Operator op;
    FieldDesc desc;
    const bool first_is_field = FieldReference(first, &ref, &op, &desc);
    if (Quoted(first)) {
        item.label = first.substr(1, first.size() - 2);
    } else if (first_is_field) {
        std::uint16_t op_item = op.item;
        if (op_item == 0) op_item = index == 1 ? 4 : index == 2 ? 5 : 0;
        item.label = Text(FieldName(desc.file, desc.field));
        if (op_item != 0) item.label += Text(Item(MsgText("0080"), ',', op_item));
        item.label += ":";
    } else if (!first.empty()) {
        StrDesc t = ExpText(StrViewStd(first));
        if (t.IsError()) {
            item.status = t.len;
            return item;
        }
        item.label = Text(t);
    }
    LabelPrefix(item);

    // The binding: the third part, or the label part when the third is empty or missing.
    item.binding = parts.size() >= 3 && !part(3).empty() ? part(3) : first;
    if (item.binding.empty()) {
        item.binding_kind = AcceptBinding::kNone;
    } else if (Quoted(item.binding)) {
        item.binding_kind = AcceptBinding::kText;
    } else if (FieldReference(item.binding, &ref, &op, &desc)) {
        item.binding_kind = AcceptBinding::kField;
        item.file = desc.file;
        item.field = desc.field;
        item.text_kind = TextType(desc.type);
        item.op = op.text;
        if (item.op.empty()) item.op = index == 1 ? ">=" : index == 2 ? "<=" : "==";
        item.binding = ref;
    } else if (PlainVariable(item.binding)) {
        item.binding_kind = AcceptBinding::kVariable;
        item.text_kind = VarKindOf(StrViewStd(item.binding)) == kVarText;
    } else {
        item.binding_kind = AcceptBinding::kExpression;
        item.text_kind = false;
    }

    // The type: a letter and a width; a field of one part takes both from its data-file field.
    if (parts.size() == 1 && item.binding_kind == AcceptBinding::kField) {
        const FieldDesc d = FieldInfo(item.file, item.field);
        item.type = d.type;
        item.width = DisplayWidth(d.type, d.width);
    } else if (!part(2).empty()) {
        StrDesc t = ExpText(StrViewStd(part(2)));
        if (t.IsError() || t.len == 0) {
            item.status = t.IsError() ? t.len : ErrCode{kErrData};
            return item;
        }
        item.type = static_cast<char>(std::toupper(t.bytes()[0]));
        item.width = static_cast<std::uint16_t>(std::max<std::int16_t>(0, StrToNum(StrDesc{t.ptr + 1, static_cast<std::uint16_t>(t.len - 1)})));
    }
    if (item.type == 'V' && !(SysBits(kSysCompat) & kCompatPlainV)) {
        // A 'V' field is as its variable: text, or a number.
        const bool text = item.binding_kind == AcceptBinding::kVariable && item.text_kind;
        item.type = text ? 'A' : 'N';
        if (item.width == 0) item.width = text ? 30 : 15;
    }
    if (item.width == 0) item.width = 1;

    item.default_expr = part(4);
    item.target = part(5);
    if (item.target.empty() && item.binding_kind == AcceptBinding::kVariable) item.target = item.binding;
    return item;
}

}  // namespace

void AcceptSplit(StrDesc form, std::string* fields, std::string* block) {
    const std::string s = StrToStd(form);
    const std::size_t cut = FindOutside(s, " /", false);
    *fields = cut == std::string::npos ? s : s.substr(0, cut);
    *block = cut == std::string::npos ? std::string() : s.substr(cut + 2);
    // A list without ':' and with ';' separates its parts by ';'.
    if (FindOutside(*fields, ":", false) == std::string::npos && FindOutside(*fields, ";", false) != std::string::npos) {
        char quote = 0;
        for (char& c : *fields) {
            if (quote != 0) {
                if (c == quote) quote = 0;
            } else if (c == '\'' || c == '"') {
                quote = c;
            } else if (c == ';') {
                c = ':';
            }
        }
    }
}

std::vector<AcceptItem> AcceptParse(const std::string& fields) {
    std::vector<AcceptItem> items;
    if (Trimmed(fields).empty()) return items;
    const std::vector<std::string> list = SplitQuoted(fields, ',');
    for (std::size_t i = 0; i < list.size(); ++i) {
        items.push_back(ParseField(list[i], static_cast<std::uint16_t>(i + 1)));
        if (items.back().status != 0) break;
    }
    return items;
}

}  // namespace rt
