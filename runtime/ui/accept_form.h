// Reading a field-entry dialog's form: the field list and the parameter block after " /", the ';'
// rule, and each field's label, type, binding, default, target and placement.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "runtime/text/str_desc.h"

namespace rt {

// What a binding is, which decides how its value is quoted and whether it joins the condition.
enum class AcceptBinding : std::uint8_t { kNone, kText, kVariable, kField, kExpression };

struct AcceptItem {
    ErrCode status = 0;
    std::uint16_t parts = 0;
    std::string label;              // the text shown (runtime bytes)
    int label_row = -1, label_col = -1;  // from a "{row,col}" prefix
    int row = 0, col = 0;           // from /ROW and /COL (0: not given)
    char type = 'A';
    std::uint16_t width = 0;
    std::string binding;            // as written (a field reference keeps its operator)
    AcceptBinding binding_kind = AcceptBinding::kNone;
    bool text_kind = true;          // the binding is of text kind
    std::string op;                 // a field binding's comparison operator (implied for a from/to pair)
    std::uint8_t file = 0;          // a field binding's data-file field
    std::uint16_t field = 0;
    std::string default_expr;       // the fourth part: the default
    std::string target;             // the variable that receives the value (empty: none)
};

// The form cut at " /": the field list (with ';' read as ':' when it has no ':') and the block.
void AcceptSplit(StrDesc form, std::string* fields, std::string* block);
// The fields of a field list, each parsed; parsing stops after the first field whose status is not 0.
std::vector<AcceptItem> AcceptParse(const std::string& fields);

}  // namespace rt
