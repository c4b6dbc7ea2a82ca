// Evaluations per second of three expressions in our evaluator, and of the same work in Lua 5.4
// compiling each expression with load() and calling it once per evaluation, as our evaluator works
// from the text every time. Prints both rates and their ratio (ours / Lua's).
//
//   bench_expr [evaluations]        (default 200000)
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <unistd.h>

#include "platform/console/console_desktop.h"
#include "runtime/env/runtime_start.h"
#include "runtime/expr/evaluator.h"
#include "runtime/expr/variables.h"
#include "runtime/text/dyn_strings.h"

namespace {

struct Case {
    const char* name;
    rt::StrDesc expression;
    const char* lua;  // the same work as a Lua chunk
};

const Case kCases[] = {
    {"TOTAL#=TOTAL#+IMPORTE#*2", rt::S("TOTAL#=TOTAL#+IMPORTE#*2"), "TOTAL = TOTAL + IMPORTE * 2"},
    {"NOMBRE$=='MAD*'", rt::S("NOMBRE$=='MAD*'"),
     "return NOMBRE == 'MAD*' or string.upper(string.sub(NOMBRE, 1, 3)) == 'MAD'"},
    {"FN$TRIM(FN$MIDS(A$;2;5))", rt::S("FN$TRIM(FN$MIDS(A$;2;5))"), "return trim(string.sub(A, 2, 6))"},
};

// The Lua side: one chunk compiled with load() and called per evaluation, over the same variables.
const char* kLuaScript = R"LUA(
local n = tonumber(arg[1])
local env = {TOTAL = 0, IMPORTE = 12.5, NOMBRE = "MADRID", A = "  uno dos tres  ", string = string}
env.trim = function(s) return (string.gsub(s, "^%s*(.-)%s*$", "%1")) end
for _, src in ipairs(CHUNKS) do
  local t0 = os.clock()
  for _ = 1, n do
    local f = load(src, "e", "t", env)
    f()
  end
  local t = os.clock() - t0
  print(string.format("%.0f", n / t))
end
)LUA";

double OurRate(const Case& c, long n) {
    auto t0 = std::chrono::steady_clock::now();
    for (long i = 0; i < n; ++i) {
        rt::DynScope scope;
        if (rt::ExpEval(c.expression) >= 122) {
            std::fprintf(stderr, "%s failed\n", c.name);
            std::exit(1);
        }
    }
    double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
    return n / seconds;
}

}  // namespace

int main(int argc, char** argv) {
    long n = argc > 1 ? std::atol(argv[1]) : 200000;
    rt::ConsoleDesktop desktop;
    rt::DesktopSet(&desktop);
    rt::StartRequest request;
    request.commandLine = u"bench_expr";
    if (rt::RuntimeStart(request) != 0) return 2;
    rt::VarSetText(rt::S("NOMBRE$"), rt::S("MADRID"));
    rt::VarSetText(rt::S("A$"), rt::S("  uno dos tres  "));
    rt::DynScope scope;
    rt::ExpEval(rt::S("IMPORTE#=12.5"));

    char path[] = "/tmp/bench_expr_XXXXXX.lua";
    int fd = mkstemps(path, 4);
    if (fd < 0) return 2;
    close(fd);
    {
        // The chunks travel inside the script as long strings, so no quoting can bend them.
        std::ofstream script(path);
        script << "CHUNKS = {\n";
        for (const Case& c : kCases) script << "[==[" << c.lua << "]==],\n";
        script << "}\n" << kLuaScript;
    }
    std::string command = "lua5.4 " + std::string(path) + " " + std::to_string(n);
    FILE* lua = popen(command.c_str(), "r");

    std::printf("%-28s %14s %14s %8s\n", "expression", "ours/s", "lua/s", "ratio");
    bool allFaster = true;
    for (const Case& c : kCases) {
        double ours = OurRate(c, n);
        double theirs = 0;
        if (lua == nullptr || std::fscanf(lua, "%lf", &theirs) != 1) theirs = 0;
        double ratio = theirs > 0 ? ours / theirs : 0;
        allFaster &= ratio >= 1.0;
        std::printf("%-28s %14.0f %14.0f %8.2f\n", c.name, ours, theirs, ratio);
    }
    if (lua) pclose(lua);
    std::remove(path);
    rt::RuntimeEnd(nullptr, 0);
    std::printf("target (ratio >= 1.0 on each): %s\n", allFaster ? "met" : "not met");
    return 0;
}
