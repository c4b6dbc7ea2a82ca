// The line qrt prints for one expression's outcome.
#include "tools/qrt/qrt_output.h"

#include "platform/cp1252.h"
#include "runtime/env/errors.h"
#include "runtime/expr/evaluator.h"
#include "runtime/text/dyn_strings.h"
#include "runtime/text/err_codes.h"
#include "runtime/vars/fixed_number.h"
#include "runtime/vars/var_arena_number.h"

namespace rt::qrt {
namespace {

std::string Utf8(StrDesc d) {
    if (d.IsError()) return std::string();
    return Cp1252ToUtf8(std::string(d.ptr, d.len));
}

}  // namespace

std::string OneLine(const std::string& line) {
    static const char kHex[] = "0123456789ABCDEF";
    std::string out;
    out.reserve(line.size());
    for (char ch : line) {
        auto c = static_cast<unsigned char>(ch);
        if (c >= 0x20) out += ch;
        else if (c == '\r') out += "\\r";
        else if (c == '\n') out += "\\n";
        else if (c == '\t') out += "\\t";
        else out += std::string("\\x") + kHex[c >> 4] + kHex[c & 15];
    }
    return out;
}

std::string OutcomeLine(ErrCode result, bool* failed) {
    DynScope scope;
    *failed = false;
    if (result == kExpNumber) {
        StrDesc text = NumText(VarNumFromEntry(DynTop()));
        return text.len == 0 ? std::string("0") : Utf8(text);
    }
    if (result == kExpText) return OneLine("'" + Utf8(DynTop()) + "'");
    // Outcomes below 128 (a refused duplicate, no data, a cancelled dialog) are no errors.
    *failed = result >= kErrSerious;
    const char* kind = *failed ? "error " : "status ";
    return OneLine(kind + std::to_string(result) + ": " + Utf8(ErrText(result)));
}

std::string TooLongLine(std::size_t bytes) {
    DynScope scope;
    return "error " + std::to_string(kErrStringTooLong) + ": " + Utf8(ErrName(kErrStringTooLong)) +
           ": an expression of " + std::to_string(bytes) + " bytes (at most " +
           std::to_string(kMaxExpressionBytes) + ")";
}

}  // namespace rt::qrt
