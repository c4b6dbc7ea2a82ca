// Translation of expression-language conditions into SQL, operand by operand.
#include "runtime/sql/sql_where.h"

#include <string>

#include "runtime/data/fields.h"
#include "runtime/data/file_table.h"
#include "runtime/env/errors.h"
#include "runtime/expr/evaluator.h"
#include "runtime/expr/exp_scan.h"
#include "runtime/sql/sql_control.h"
#include "runtime/sql/sql_literals.h"
#include "runtime/text/dyn_strings.h"
#include "runtime/text/err_codes.h"
#include "runtime/text/str_bridge.h"
#include "runtime/text/text_lists.h"
#include "runtime/vars/fixed_number.h"
#include "runtime/vars/var_arena_number.h"
#include "runtime/vars/var_system.h"

namespace rt {

namespace {

// The SQL text of each expression operator, by operator number.
constexpr const char* kSqlOps[kOpCount + 1] = {
    "", "*", "/", "!", "%", "\xF7", "+", "-", "=", ">", "<", "=", ">=", "<=", "<>", "AND", "OR", "OR", "AND", "OR", "OR",
};

bool StartsTerm(std::uint16_t op) { return op == kOpNone || op == kOpAnd || op == kOpOr || op == kOpXor; }
bool IsComparison(std::uint16_t op) { return op >= kOpAssign + 1 && op <= kOpBitOrAt; }
bool ClosesGroup(std::uint16_t op) { return op == kOpNone || op >= kOpBitAnd; }

ErrCode Fail(ErrCode code, StrDesc expression) { return ErrSetText(code, expression); }

ErrCode Translate(StrDesc expression, std::string* out);

// The operand's whole text: its name and, for a call or an element, its parenthesised part.
StrDesc OperandText(const ExpCursor& c) {
    std::uint16_t len = c.operandLength;
    if (c.kind & (kOpFunction | kOpArray)) len = static_cast<std::uint16_t>(len + c.parenLength + 2);
    return StrDesc{c.text.ptr + c.start, len};
}

ErrCode Translate(StrDesc expression, std::string* out) {
    DynScope scope;
    ExpCursor c = ExpStart(expression);
    if (c.status >= kErrSerious) return Fail(c.status, expression);
    std::string sql;
    std::uint16_t prev = kOpNone, fieldOp = kOpNone, nullGroups = 0;
    std::size_t mark = 0;
    std::string fieldName;
    bool skip = true;
    do {
        ExpScan(c);
        if (c.status >= kErrSerious) return Fail(c.status, expression);
        if (StartsTerm(prev)) skip = false;
        std::string text;
        if (!skip) {
            if (c.kind & kOpParens) {
                std::string inner;
                StrDesc part{c.text.ptr + c.start + c.operandLength + 1, c.parenLength};
                if (ErrCode e = Translate(part, &inner)) return e;
                if (!inner.empty()) text = "(" + inner + ")";
            } else if (StartsTerm(prev)) {
                if ((c.kind & kOpField) && c.field != 0) {
                    fieldName = SqlIdent(FieldName(c.file, c.field));
                    fieldOp = c.op;
                    text = fieldName;
                    if (SqlNumericType(c.fieldType) && (fieldOp == kOpLess || fieldOp == kOpLessEq)) {
                        text = "(" + fieldName + " IS NULL OR " + fieldName;
                        ++nullGroups;
                    }
                } else {
                    skip = true;  // a term without a field first is left out
                }
            } else if (IsComparison(prev)) {
                DynScope value;
                ErrCode kind = ExpEvalPrepared(OperandText(c));
                StrDesc result = DynTop();
                if (kind == kExpNumber) {
                    FixedNumber n = VarNumFromEntry(result);
                    if (fieldOp == kOpEqual && n == 0 && sql.size() >= fieldName.size() + 3) {
                        sql.resize(sql.size() - fieldName.size() - 3);
                        sql += "(" + fieldName + " IS NULL OR " + fieldName + " = ";
                        ++nullGroups;
                    }
                    text = n == 0 ? "0" : StrToStd(NumText(n));
                } else if (kind == kExpText && result.len != 0) {
                    std::string s = StrToStd(result);
                    if (s.find('*') != std::string::npos && prev == kOpEqual) {
                        sql.resize(mark);
                        sql += " ILIKE ";
                        while (!s.empty() && s.back() == ' ') s.pop_back();
                        for (char& ch : s)
                            if (ch == '*') ch = '%';
                    }
                    text = StrToStd(SqlQuote(StrViewStd(s)));
                } else if (kind == kExpText) {
                    text = "NULL";
                } else {
                    return Fail(kErrSintaxError, expression);
                }
            } else {
                skip = true;  // the arithmetic tail of a term
            }
        }
        if (!skip && !text.empty()) {
            sql += text;
            if (nullGroups > 0 && ClosesGroup(c.op)) {
                sql += ")";
                --nullGroups;
            }
            mark = sql.size();
            if (c.op != kOpNone) sql += std::string(" ") + kSqlOps[c.op] + " ";
        }
        prev = c.op;
    } while (c.op != kOpNone && c.next < c.text.len);
    sql.resize(mark);
    *out = sql;
    return 0;
}

}  // namespace

StrDesc SqlWhere(StrDesc expression) {
    if (expression.IsError()) return expression;
    if (SysBits(kSysAuxStat) & kAuxRawSql) return expression;
    if (expression.len == 0) return StrEmpty();
    std::string sql;
    if (ErrCode e = Translate(expression, &sql)) return StrError(e);
    return StrFromStd(sql);
}

StrDesc SqlWhereList(StrDesc list) {
    if (list.IsError()) return list;
    std::uint16_t mark = DynMark();
    std::string out;
    ItemCursor items(list, ';');
    StrDesc item;
    while (items.Next(&item)) {
        StrDesc sql = SqlWhere(item);
        if (sql.IsError()) {
            DynRelease(mark);
            return sql;
        }
        if (!out.empty()) out += ",";
        out += StrToStd(sql);
    }
    DynRelease(mark);
    return StrFromStd(out);
}

}  // namespace rt
