// Recognising built-in function names and calling a function with its arguments.
#include <cstring>

#include "runtime/expr/builtin_functions.h"
#include "runtime/expr/exp_budget.h"
#include "runtime/expr/fn_internal.h"
#include "runtime/text/dyn_strings.h"
#include "runtime/text/err_codes.h"
#include "runtime/text/slot_table.h"
#include "runtime/text/text_clean.h"
#include "runtime/text/text_lists.h"

namespace rt {

namespace {

// Which arguments FnCall evaluates before the body runs.
enum EvalMode : std::uint8_t {
    kEvalAll,    // every argument
    kEvalNone,   // the body reads the raw text
    kEvalFirst,  // only the first
    kEvalFour,   // the first four
};

constexpr std::uint16_t kAnyCount = 0xFFFF;

struct FnSpec {
    std::uint16_t minArgs;
    std::uint16_t maxArgs;
    EvalMode eval;
    std::uint8_t kind;  // 0 number, 1 text
    ErrCode (*body)(FnArgs&);
};

ErrCode Flen(FnArgs& a) { return FnFileLength(a); }
ErrCode ChkNumber(FnArgs& a) { return FnChoice(a, false); }
ErrCode ChkText(FnArgs& a) { return FnChoice(a, true); }
const FnRecordLayer* g_recordLayer = nullptr;

ErrCode FileFind(FnArgs& a) {
    if (g_recordLayer && g_recordLayer->find) return g_recordLayer->find(a);
    return FnRecordAccess(a, "FILEFIND()");
}
ErrCode FileRel(FnArgs& a) {
    if (g_recordLayer && g_recordLayer->rel) return g_recordLayer->rel(a);
    return FnRecordAccess(a, "FILEREL()");
}
ErrCode FileLocate(FnArgs& a) {
    if (g_recordLayer && g_recordLayer->locate) return g_recordLayer->locate(a);
    return FnRecordAccess(a, "FILELOCATE()");
}

// In the order of kFnList.
const FnSpec kSpecs[kFnCount] = {
    {1, 3, kEvalAll, 0, FnAccumArray},        // _#
    {1, 1, kEvalAll, 0, Flen},                // FN#FLEN
    {1, 1, kEvalAll, 0, FnSlen},              // FN#SLEN
    {1, 3, kEvalAll, 0, FnParmNumber},        // FN#PARM
    {1, 3, kEvalAll, 0, FnValn},              // FN#VALN
    {2, 4, kEvalNone, 0, FnAccumulate},       // FN#ACUM
    {2, 3, kEvalFirst, 0, ChkNumber},         // CHK#
    {1, 4, kEvalAll, 0, FileFind},            // FILEFIND
    {3, kAnyCount, kEvalFour, 0, FileRel},    // FILEREL
    {1, 2, kEvalAll, 0, FileLocate},          // FILELOCATE
    {1, 2, kEvalAll, 0, FnFileSelect},        // FILESEL
    {2, 4, kEvalAll, 1, FnChng},              // FN$CHNG
    {1, 2, kEvalAll, 1, FnChrs},              // FN$CHRS
    {0, 2, kEvalAll, 1, FnDate},              // FN$DATE
    {1, 2, kEvalNone, 1, FnFields},           // FN$FLDS
    {2, 3, kEvalAll, 1, FnMask},              // FN$MASK
    {2, 3, kEvalAll, 1, FnMids},              // FN$MIDS
    {1, 3, kEvalAll, 1, FnParmText},          // FN$PARM
    {1, 2, kEvalAll, 1, FnTrim},              // FN$TRIM
    {1, 2, kEvalAll, 1, FnEnvelop},           // ENVELOP$
    {2, 3, kEvalFirst, 1, ChkText},           // CHK$
    {1, 4, kEvalAll, 1, FnSort},              // SORT$
    {1, 2, kEvalAll, 1, FnExec},              // EXEC$
    {1, 3, kEvalAll, 1, FnRead},              // READ$
    {3, 3, kEvalAll, 0, FnWrite},             // WRITE
    {1, 3, kEvalAll, 1, FnMacro},             // MACRO$
    {1, 2, kEvalAll, 1, FnEnviron},           // ENVRON$
    {0, 3, kEvalAll, 1, FnSlots},             // _$
    {0, 4, kEvalAll, 1, FnKey},               // KEY$
    {0, 2, kEvalAll, 1, FnTime},              // TIME$
    {0, 1, kEvalAll, 0, FnIer},               // IER
    {1, kAnyCount, kEvalFirst, 1, FnExpTemplate},  // EXP$
    {1, kAnyCount, kEvalNone, 0, FnSqlChild},      // SQLCHILD
};

StrDesc FunctionList() {
    if (!SlotReady()) return kFnList;
    if (SlotGet(kRunGroup, kFnListSlot).len == 0) SlotSetIfEmpty(kFnListSlot, kFnList, false);
    StrDesc list = SlotGet(kRunGroup, kFnListSlot);
    return list.len ? list : kFnList;
}

}  // namespace

const FnRecordLayer* FnRecordLayerInstalled() { return g_recordLayer; }

const FnRecordLayer* FnRecordLayerSet(const FnRecordLayer* layer) {
    const FnRecordLayer* previous = g_recordLayer;
    g_recordLayer = layer;
    return previous;
}

namespace {

// The built-in list split once, for the usual case that the recogniser's list is the built-in one:
// the lookup then compares a handful of short names instead of walking the list text on every call.
struct NameTable {
    StrDesc names[kFnCount];
    NameTable() {
        std::uint16_t n = 0, start = 0;
        for (std::uint16_t i = 0; i <= kFnList.len && n < kFnCount; ++i) {
            if (i == kFnList.len || kFnList.ptr[i] == ',') {
                names[n++] = StrDesc{kFnList.ptr + start, static_cast<std::uint16_t>(i - start)};
                start = static_cast<std::uint16_t>(i + 1);
            }
        }
    }
    std::uint16_t Find(const char* p, std::uint16_t len) const {
        for (std::uint16_t i = 0; i < kFnCount; ++i)
            if (names[i].len == len && std::memcmp(names[i].ptr, p, len) == 0) return static_cast<std::uint16_t>(i + 1);
        return 0;
    }
};

bool IsBuiltInList(StrDesc list) {
    return list.len == kFnList.len && (list.ptr == kFnList.ptr || std::memcmp(list.ptr, kFnList.ptr, list.len) == 0);
}

}  // namespace

std::uint16_t FnLookup(StrDesc name) {
    if (name.IsError() || name.len == 0) return 0;
    StrDesc list = FunctionList();
    if (IsBuiltInList(list)) {
        static const NameTable table;
        if (std::uint16_t n = table.Find(name.ptr, name.len)) return n;
        // No built-in name is longer than 16 bytes, so a longer name cannot match in upper case either.
        if (name.len > 16) return 0;
        char upper[16];
        for (std::uint16_t i = 0; i < name.len; ++i) {
            char c = name.ptr[i];
            upper[i] = (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
        }
        return table.Find(upper, name.len);
    }
    std::uint16_t n = ItemIndex(list, name, ',');
    if (n == 0) {
        DynScope scope;
        StrDesc upper = CaseFold(name, kCaseUpper);
        list = FunctionList();
        if (!upper.IsError()) n = ItemIndex(list, upper, ',');
    }
    return n <= kFnCount ? n : 0;
}

ErrCode FnResultKind(std::uint16_t fn) {
    return (fn >= 1 && fn <= kFnCount) ? kSpecs[fn - 1].kind : 0;
}

ErrCode FnCall(std::uint16_t fn, StrDesc rawArgs) {
    if (fn < 1 || fn > kFnCount) return kErrSintaxError;
    if (!ExpWorkSpend()) return kErrLoopFailure;
    const FnSpec& spec = kSpecs[fn - 1];
    std::uint16_t mark = DynMark();
    std::uint16_t depth = SlotCount(kFnArgsGroup);
    FnArgs args;
    FnArgsCut(rawArgs, args);
    ErrCode code = 0;
    if (args.count < spec.minArgs || args.count > spec.maxArgs) code = kErrSintaxError;
    std::uint16_t evaluate = spec.eval == kEvalAll ? args.count
                           : spec.eval == kEvalFirst ? 1
                           : spec.eval == kEvalFour ? 4 : 0;
    for (std::uint16_t i = 0; code == 0 && i < evaluate && i < args.count; ++i) code = FnArgEval(args, i);
    // The evaluated arguments lie on the arena too; only what the body pushes above them is its value.
    const std::uint16_t bodyMark = DynMark();
    if (code == 0) code = spec.body(args);
    SlotTruncate(kFnArgsGroup, depth);
    if (code >= kErrSerious) {
        DynRelease(mark);
        return code;
    }
    // A cancelled dialog stops the expression quietly; the caller still finds a value of the kind.
    if (code == kErrCancelled) DynRelease(mark);
    // A body that gave a value always pushed it; a status without one (127 from an empty slot group)
    // gets the kind's empty value, never the last argument's bytes.
    if (DynMark() <= bodyMark) {
        if (spec.kind == 0) FnNumber(0);
        else FnText(StrEmpty());
    }
    DynKeep(mark, DynTop());
    return code;
}

}  // namespace rt
