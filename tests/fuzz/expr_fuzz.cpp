// Fuzz target of the evaluator: an input is a few lines evaluated in order, as qrt evaluates its
// standard input, so that assignments carry from one line to the next; each outcome must make one
// qrt line.
#include <cstdint>
#include <string>

#include "runtime/env/errors.h"
#include "runtime/expr/evaluator.h"
#include "runtime/text/dyn_strings.h"
#include "runtime/text/err_codes.h"
#include "tests/fuzz/support/fuzz_runtime.h"
#include "tools/qrt/qrt_output.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace rt;
    fuzz::FuzzInput input;
    for (std::string_view line : fuzz::SplitInput(data, size, "\n", 32)) {
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        if (line.size() > qrt::kMaxExpressionBytes) continue;  // qrt refuses it unevaluated
        ErrSetText(0, StrEmpty());
        ErrClear();
        DynScope scope;
        ErrCode result = ExpEval(fuzz::View(line));
        bool failed = false;
        std::string out = qrt::OutcomeLine(result, &failed);
        fuzz::FuzzCheck(out.find_first_of("\r\n") == std::string::npos, "one qrt line per expression");
        fuzz::FuzzCheck(failed == (result >= kErrSerious), "only codes of 128 and up fail");
    }
    return 0;
}
