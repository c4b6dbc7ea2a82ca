// qrt: the runtime on a terminal. Evaluates expressions given with -e (or one per line of standard
// input) in one runtime, so that assignments carry from one expression to the next, or runs one
// transfer (--transfer).
#include <cstdio>
#include <cstdlib>
#include <iostream>
#include <string>
#include <vector>

#include "platform/console/console_desktop.h"
#include "platform/cp1252.h"
#include "platform/process.h"
#include "runtime/data/file_open.h"
#include "runtime/data/file_table.h"
#include "runtime/env/catalog.h"
#include "runtime/env/errors.h"
#include "runtime/sql/sql_connect.h"
#include "runtime/start/runtime_start.h"
#include "runtime/expr/evaluator.h"
#include "runtime/env/options.h"
#include "runtime/text/dyn_strings.h"
#include "runtime/text/err_codes.h"
#include "runtime/text/str_bridge.h"
#include "tools/qrt/qrt_args.h"
#include "tools/qrt/qrt_output.h"
#include "tools/qrt/qrt_import.h"
#include "tools/qrt/qrt_transfer.h"

namespace {

// Whether the command line or the working folder gives SQL connection parameters.
bool WantsSql() {
    rt::DynScope scope;
    return rt::OptValue(rt::S("sqlhost")).len != 0 || !rt::PlatformFindFiles("sqlparams.dat").empty();
}

// Phase 2 logs in as the desktop does when connection parameters are given; phase 3 disconnects.
// A terminal has no credentials dialog: a refused connection ends the start with its own error
// (the server's message in the detail) instead of the dialog's cancellation.
rt::ErrCode QrtCallback(std::uint16_t phase) {
    std::uint8_t code = static_cast<std::uint8_t>(phase);
    if ((code & 0x0F) == rt::kSqlHookConnect) {
        if (!WantsSql()) return 0;
        rt::ErrCode r = rt::SqlStartHook(code);
        if (r == rt::kErrCancelled && (rt::ErrNoted() & 0xFFFF) == rt::kErrSqlError) r = rt::kErrSqlError;
        return r;
    }
    if ((code & 0x0F) == rt::kSqlHookEnd) return rt::SqlStartHook(code);
    return 0;
}

void PrintLine(const std::string& line) {
    std::fwrite(line.data(), 1, line.size(), stdout);
    std::fputc('\n', stdout);
    std::fflush(stdout);
}

// Evaluates one expression (Windows-1252) and prints its line; gives whether it ended in an error.
bool RunOne(const std::string& expression) {
    // A runtime text's length is 16 bits: a longer one would be evaluated cut, or as nothing.
    if (expression.size() > rt::qrt::kMaxExpressionBytes) {
        PrintLine(rt::qrt::TooLongLine(expression.size()));
        return true;
    }
    rt::ErrSetText(0, rt::StrEmpty());
    rt::ErrClear();
    rt::DynScope scope;
    rt::ErrCode result =
        rt::ExpEval(rt::StrDesc{expression.data(), static_cast<std::uint16_t>(expression.size())});
    bool failed = false;
    PrintLine(rt::qrt::OutcomeLine(result, &failed));
    return failed;
}

// --lang: Spanish is the built-in catalog; another language is the program's language file of it,
// from QUINTARA_LANG_DIR or the source tree's lang folder. False, said on standard error, without it.
bool ChooseLanguage(const std::string& lang) {
    if (lang == "es") {
        rt::MsgLangChoose(rt::StrEmpty());
        return true;
    }
    const char* dir = std::getenv("QUINTARA_LANG_DIR");
    std::string code = lang;
    for (char& c : code) c = static_cast<char>(c - 32);
    std::string path = std::string(dir != nullptr && *dir ? dir : QRT_LANG_DIR) + "/KV_LANG_" + code + ".MSJ";
    if (FILE* f = std::fopen(path.c_str(), "rb")) {
        std::fclose(f);
        // A runtime path: '\\' separates its folders.
        for (char& c : path)
            if (c == '/') c = '\\';
        rt::MsgLangChoose(rt::StrViewStd(path));
        return true;
    }
    std::fprintf(stderr, "qrt: no language file %s\n", path.c_str());
    return false;
}

}  // namespace

int main(int argc, char** argv) {
    // -e takes the next argument as an expression; every other argument is the runtime's.
    rt::qrt::QrtImportArgs importArgs;
    std::vector<const char*> rest = rt::qrt::QrtImportTakeArgs(argc, argv, &importArgs);
    rt::qrt::QrtArgs args = rt::qrt::QrtParseArgs(static_cast<int>(rest.size()), rest.data());
    if (args.misused || importArgs.misused) {
        std::fputs(rt::qrt::QrtUsage(), stderr);
        return 2;
    }
    if (args.help) {
        std::fputs(rt::qrt::QrtUsage(), stdout);
        return 0;
    }
    if (!args.lang.empty() && !ChooseLanguage(args.lang)) return 2;
    rt::PlatformSetArgs(static_cast<int>(args.runtimeArgs.size()), args.runtimeArgs.data());

    rt::ConsoleDesktop desktop;
    rt::DesktopSet(&desktop);
    rt::StartRequest request;
    request.commandLine = rt::PlatformCommandLine();
    request.identity = rt::S(":qrt");
    request.description = rt::S("qrt");
    request.flags = 6;
    request.callback = QrtCallback;
    rt::ErrCode started = rt::RuntimeStart(request);
    if (started != 0) {
        rt::RuntimeEnd(QrtCallback, started);
        return 2;
    }
    // Every registered data file is opened so that expressions can use its records.
    for (std::uint8_t n = 1; n <= rt::FileCount(); ++n) rt::FileOpen(n, 1);

    bool anyFailed = false;
    if (importArgs.given) {
        anyFailed = rt::qrt::QrtImport(importArgs) != 0;
    } else if (args.transfer) {
        anyFailed = rt::qrt::QrtTransfer(args.transferMode, args.transferTarget, args.transferBlock) != 0;
    } else if (!args.expressions.empty()) {
        for (const std::string& e : args.expressions) anyFailed |= RunOne(rt::Utf8ToCp1252(e));
    } else {
        std::string line;
        while (std::getline(std::cin, line)) {
            if (!line.empty() && line.back() == '\r') line.pop_back();
            anyFailed |= RunOne(rt::Utf8ToCp1252(line));
        }
    }
    for (std::uint8_t n = 1; n <= rt::FileCount(); ++n) rt::FileClose(n);
    rt::RuntimeEnd(QrtCallback, 0);
    return anyFailed ? 1 : 0;
}
