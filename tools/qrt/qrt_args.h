// qrt's own arguments (-e EXPRESSION, --help) taken apart from the runtime's options, and its usage.
#pragma once
#include <string>
#include <vector>

namespace rt::qrt {

struct QrtArgs {
    std::vector<std::string> expressions;  // the -e texts, UTF-8 as given
    std::vector<const char*> runtimeArgs;  // the program name, then every argument that is not qrt's
    bool help = false;                     // -h, --help or /? was given
    bool misused = false;                  // a -e without an expression after it, an unknown --lang
    std::string lang;                      // --lang XX: es, en, fr, de or it; empty without it
    // --transfer MODE TARGET BLOCK: one transfer in batch form instead of expressions.
    bool transfer = false;
    std::string transferMode, transferTarget, transferBlock;  // UTF-8 as given
};

QrtArgs QrtParseArgs(int argc, const char* const* argv);

// The usage text, ending with a line end.
const char* QrtUsage();

}  // namespace rt::qrt
