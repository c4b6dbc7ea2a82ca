// Starting the runtime for the fuzz targets, and putting it back after each input.
#include "tests/fuzz/support/fuzz_runtime.h"

#include <dirent.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "platform/console/console_desktop.h"
#include "platform/desktop.h"
#include "platform/process.h"
#include "runtime/data/file_table.h"
#include "runtime/env/catalog.h"
#include "runtime/env/errors.h"
#include "runtime/env/streams.h"
#include "runtime/expr/exp_budget.h"
#include "runtime/start/runtime_start.h"
#include "runtime/text/dyn_strings.h"
#include "runtime/text/mem_areas.h"
#include "runtime/text/slot_table.h"
#include "runtime/vars/var_system.h"
#include "runtime/vars/variables.h"
#include "tests/fuzz/support/fuzz_sandbox.h"

namespace rt::fuzz {
namespace {

namespace fs = std::filesystem;

bool g_started = false;
bool g_ownRoot = false;

// What the start left: every slot text, the live memory areas, the integer system variables.
std::vector<std::vector<std::string>> g_slots;
MemArea g_areas[kAreaCount];
std::vector<std::int16_t> g_sysInts;
std::vector<std::string> g_sysTexts;
std::uint16_t g_varCount = 0;
std::uint16_t g_mark = 0;  // DynStrings' mark after the start

ErrCode NoCallback(std::uint16_t) { return 0; }

void RemoveOwnRoot() {
    std::error_code ec;
    if (g_ownRoot) fs::remove_all(SandboxRoot(), ec);
}

std::string MakeRoot() {
    if (const char* given = std::getenv("QUINTARA_FUZZ_ROOT"); given && *given) {
        fs::create_directories(given);
        return fs::canonical(given).string();
    }
    char templ[] = "/tmp/qnt_fuzz_XXXXXX";
    if (::mkdtemp(templ) == nullptr) std::abort();
    g_ownRoot = true;
    std::atexit(RemoveOwnRoot);
    return fs::canonical(templ).string();
}

void TakeSlots() {
    g_slots.assign(kSlotGroups, {});
    for (std::uint16_t g = 0; g < kSlotGroups; ++g) {
        if (g == kVarNamesGroup || g == kVarTextsGroup) continue;  // the variable store's own
        for (std::uint16_t i = 0; i < SlotCount(g); ++i) {
            StrDesc t = SlotGet(g, i);
            g_slots[g].emplace_back(t.ptr ? t.ptr : "", t.len);
        }
    }
}

void PutSlotsBack() {
    for (std::uint16_t g = 0; g < kSlotGroups; ++g) {
        if (g == kVarNamesGroup || g == kVarTextsGroup) continue;
        SlotTruncate(g, 0);
        for (std::uint16_t i = 0; i < g_slots[g].size(); ++i) {
            const std::string& t = g_slots[g][i];
            StrDesc d{t.data(), static_cast<std::uint16_t>(t.size())};
            if (g == kWorkQueueGroup || g == kSecondQueueGroup) SlotPush(g, d);
            else SlotSet(g, i, d);
        }
    }
}

void TakeAreas() {
    for (std::uint16_t n = 0; n < kAreaCount; ++n) AreaGet(n, &g_areas[n]);
}

// Every area the start did not leave is released (sort lists, buffers an input left behind).
void FreeNewAreas() {
    for (std::uint16_t n = 0; n < kAreaCount; ++n) {
        MemArea a;
        if (AreaGet(n, &a) != 0 || a.block == nullptr) continue;
        if (a.block == g_areas[n].block && a.owner == g_areas[n].owner) continue;
        AreaFree(a.owner, a.block);
    }
}

// Whether the variable store is as the start left it: variables are never removed, so an unchanged
// count means no new one, and the system variables hold their values.
bool VariablesAsStarted() {
    if (VarCount() != g_varCount) return false;
    for (std::uint16_t s = 0; s < g_sysInts.size(); ++s)
        if (VarIntSlot(s) != g_sysInts[s]) return false;
    for (std::uint16_t s = 0; s < g_sysTexts.size(); ++s) {
        StrDesc t = VarTextSlot(s);
        if (std::string_view(t.ptr ? t.ptr : "", t.len) != g_sysTexts[s]) return false;
    }
    return true;
}

void EmptyScratch() {
    std::error_code ec;
    for (const auto& entry : fs::directory_iterator(SandboxRoot(), ec)) {
        std::string name = entry.path().filename().string();
        // What the fuzzer itself leaves there (crash, timeout and leak reports) stays.
        if (name.rfind("crash-", 0) == 0 || name.rfind("timeout-", 0) == 0 || name.rfind("leak-", 0) == 0 ||
            name.rfind("oom-", 0) == 0 || name.rfind("slow-unit-", 0) == 0)
            continue;
        fs::remove_all(entry.path(), ec);
    }
}

}  // namespace

void FuzzStart() {
    if (g_started) return;
    g_started = true;
    std::string root = MakeRoot();
    SandboxSetRoot(root);
    if (::chdir(root.c_str()) != 0) std::abort();
    ::setenv("TEMP", root.c_str(), 1);

    static ConsoleDesktop desktop;
    DesktopSet(&desktop);
    const char* argv[] = {"fuzz"};
    PlatformSetArgs(1, argv);
    StartRequest request;
    request.commandLine = PlatformCommandLine();
    request.identity = S(":fuzz");
    request.description = S("fuzz");
    request.flags = kStartForgiveMissing;
    request.callback = NoCallback;
    if (RuntimeStart(request) != 0) {
        std::fprintf(stderr, "fuzz: the runtime did not start\n");
        std::abort();
    }
    ExpWorkBudgetSet(kFuzzWorkBudget);
    for (std::uint16_t s = 0; s < kSysVarCount; ++s) g_sysInts.push_back(VarIntSlot(s));
    // The store is seeded again so that its own slot texts are as every later reset leaves them.
    VarShutdown();
    TakeSlots();
    VarInit();
    for (std::uint16_t s = 0; s < g_sysInts.size(); ++s) VarIntSlotSet(s, g_sysInts[s]);
    TakeAreas();
    for (std::uint16_t s = 0; s < kSysTextCount; ++s) {
        StrDesc t = VarTextSlot(s);
        g_sysTexts.emplace_back(t.ptr ? t.ptr : "", t.len);
    }
    g_varCount = VarCount();
    g_mark = DynMark();
}

FuzzInput::FuzzInput() {
    FuzzStart();
    SandboxEnter();
}

FuzzInput::~FuzzInput() {
    FuzzCheck(DynMark() == g_mark, "an input leaves nothing on DynStrings");
    for (std::uint16_t h = kStreamFirstFile; h < kStreamCount; ++h) StreamClose(h);
    FileTableReset();
    // Seeding the store again costs more than most inputs; it is done only for those that changed it.
    bool variables = !VariablesAsStarted();
    if (variables) VarShutdown();
    FreeNewAreas();
    DynRelease(g_mark);
    PutSlotsBack();
    if (variables) {
        VarInit();
        for (std::uint16_t s = 0; s < g_sysInts.size(); ++s) VarIntSlotSet(s, g_sysInts[s]);
        TakeAreas();  // the store's tables may lie in other areas now
    }
    ErrSetText(0, StrEmpty());
    ErrClear();
    MsgLangReset();
    SandboxLeave();
    if (SandboxTakeWrites()) EmptyScratch();
}

std::string ScratchRuntimePath(const std::string& name) {
    std::string p = SandboxRoot() + "/" + name;
    for (char& c : p)
        if (c == '/') c = '\\';
    return p;
}

void ScratchWrite(const std::string& name, std::string_view bytes) {
    std::ofstream(SandboxRoot() + "/" + name, std::ios::binary).write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

std::vector<std::string_view> SplitInput(const std::uint8_t* data, std::size_t size, std::string_view separator,
                                         std::size_t maxParts) {
    std::string_view all(reinterpret_cast<const char*>(data), size);
    std::vector<std::string_view> parts;
    while (parts.size() + 1 < maxParts) {
        std::size_t at = all.find(separator);
        if (at == std::string_view::npos) break;
        parts.push_back(all.substr(0, at));
        all.remove_prefix(at + separator.size());
    }
    parts.push_back(all);
    return parts;
}

void FuzzCheck(bool holds, const char* property) {
    if (holds) return;
    std::fprintf(stderr, "fuzz: broken property: %s\n", property);
    std::abort();
}

}  // namespace rt::fuzz
