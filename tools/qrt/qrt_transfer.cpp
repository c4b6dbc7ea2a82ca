// Runs one transfer for qrt: the block pushed as the top parameter block, the run in batch form with
// BATCHMODE added, a progress line while standard error is a terminal, and the outcome as one line.
#include "tools/qrt/qrt_transfer.h"

#include <unistd.h>

#include <cstdio>
#include <cstdlib>

#include "platform/cp1252.h"
#include "platform/process.h"
#include "runtime/data/file_table.h"
#include "runtime/env/catalog.h"
#include "runtime/env/errors.h"
#include "runtime/text/dyn_strings.h"
#include "runtime/text/err_codes.h"
#include "runtime/text/slot_table.h"
#include "runtime/text/str_bridge.h"
#include "runtime/text/text_build.h"
#include "runtime/trans/trans_run.h"
#include "runtime/vars/parm_blocks.h"
#include "runtime/vars/var_system.h"
#include "tools/qrt/qrt_output.h"

namespace rt::qrt {
namespace {

constexpr std::uint64_t kRedrawMs = 100;  // the progress line is redrawn at most ten times a second

struct ProgressLine {
    std::uint64_t records = 0;
    std::uint64_t lastDraw = 0;
    bool drawn = false;
};

ErrCode DrawProgress(void* context, StrDesc, std::uint32_t) {
    ProgressLine* p = static_cast<ProgressLine*>(context);
    ++p->records;
    std::uint64_t now = PlatformTickMs();
    if (p->drawn && now - p->lastDraw < kRedrawMs) return 0;
    p->lastDraw = now;
    p->drawn = true;
    std::fprintf(stderr, "\r%llu", static_cast<unsigned long long>(p->records));
    std::fflush(stderr);
    return 0;
}

void PrintError(const std::string& line) {
    std::string out = OneLine(line);
    std::fwrite(out.data(), 1, out.size(), stderr);
    std::fputc('\n', stderr);
}

}  // namespace

int QrtTransfer(const std::string& mode, const std::string& target, const std::string& block) {
    char* end = nullptr;
    unsigned long n = std::strtoul(mode.c_str(), &end, 10);
    if (mode.empty() || *end != '\0' || n > 0xFFFF) {
        PrintError("error 147: MODE must be a number from 0 to 65535: " + mode);
        return 1;
    }
    std::string blockBytes = Utf8ToCp1252(block), targetBytes = Utf8ToCp1252(target);
    if (blockBytes.size() > 0xFFFF || targetBytes.size() > 0xFFFF) {
        PrintError("error 146: the block or the target is longer than 65,535 bytes");
        return 1;
    }
    ErrSetText(0, StrEmpty());
    ErrClear();
    if (ErrCode e = SlotPush(kParmStackGroup, StrViewStd(blockBytes))) {
        DynScope scope;
        PrintError("error " + std::to_string(e) + ": " + Cp1252ToUtf8(StrToStd(ErrText(e))));
        return 1;
    }
    ProgressLine progress;
    TransHooks hooks;
    if (::isatty(2)) {
        hooks.progress = DrawProgress;
        hooks.context = &progress;
    }
    TransMode m = static_cast<TransMode>(n | kTransBatch);
    ErrCode e = TransRunBatch(StrViewStd(targetBytes), m, hooks);
    ParmPop();
    if (progress.drawn) std::fputs("\r\x1b[K", stderr);

    DynScope scope;
    if (e == 0 || e == kErrDetailMessage) {
        std::string text;
        if (e == 0) {
            StrDesc count = Format(16, "%lu", static_cast<unsigned long>(SysCount32()));
            StrDesc file = FileName(FileResolve(kCurrentFile), kFileNameBare);
            text = StrToStd(FormatText(512, MsgText("0101"), StrToC(count), StrToC(file)));
        } else {
            text = StrToStd(ErrDetail());
        }
        PrintError(Cp1252ToUtf8(text));
        return 0;
    }
    PrintError("error " + std::to_string(e) + ": " + Cp1252ToUtf8(StrToStd(ErrText(e))));
    return 1;
}

}  // namespace rt::qrt
