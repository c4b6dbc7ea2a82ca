// The line qrt prints for one expression's outcome.
#include "tools/qrt/qrt_output.h"

#include "platform/cp1252.h"
#include "runtime/env/errors.h"
#include "runtime/expr/evaluator.h"
#include "runtime/vars/fixed_number.h"
#include "runtime/vars/var_arena_number.h"
#include "runtime/text/dyn_strings.h"

namespace rt::qrt {
namespace {

std::string Utf8(StrDesc d) {
    if (d.IsError()) return std::string();
    return Cp1252ToUtf8(std::string(d.ptr, d.len));
}

}  // namespace

std::string OutcomeLine(ErrCode result, bool* failed) {
    DynScope scope;
    *failed = false;
    if (result == kExpNumber) {
        StrDesc text = NumText(VarNumFromEntry(DynTop()));
        return text.len == 0 ? std::string("0") : Utf8(text);
    }
    if (result == kExpText) return "'" + Utf8(DynTop()) + "'";
    *failed = true;
    return "error " + std::to_string(result) + ": " + Utf8(ErrText(result));
}

}  // namespace rt::qrt
