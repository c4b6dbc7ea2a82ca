// Keeps the running transfer's parameters in string-slot group 10 and fills them from the top
// parameter block, a setting for one target (CLIENTES.TXT.COND$) winning over the general one.
#include "runtime/trans/trans_parms.h"

#include "runtime/env/paths.h"
#include "runtime/text/dyn_strings.h"
#include "runtime/text/err_codes.h"
#include "runtime/text/slot_table.h"
#include "runtime/text/text_build.h"
#include "runtime/text/text_lists.h"
#include "runtime/vars/parm_blocks.h"

namespace rt {
namespace {

// Bit n: entry n was set by the caller and is neither read from the block nor defaulted.
std::uint32_t g_given = 0;

// NAME read from the top block for the target: TARGET.NAME first, then NAME. On DynStrings.
StrDesc ReadForTarget(StrDesc targetName, StrDesc name) {
    DynScope scope;
    if (targetName.len != 0) {
        StrDesc value = ParmTop(StrAssemble({targetName, S("."), name}));
        if (!value.IsError() && value.len != 0) return scope.Keep(value);
    }
    return scope.Keep(ParmTop(name));
}

// The target's file name without its folder, on DynStrings.
StrDesc TargetName(StrDesc target) {
    if (target.IsError() || target.len == 0) return StrEmpty();
    return PathPart(target, kPathFileName);
}

}  // namespace

StrDesc TransParmName(std::uint16_t n) {
    if (n < 1 || n > kTransParmCount) return StrEmpty();
    return Item(kTransParmNames, ',', n);
}

StrDesc TransParm(std::uint16_t n) { return SlotGet(kTransParmsGroup, n); }

ErrCode TransParmSet(std::uint16_t n, StrDesc value) {
    if (n > kTransParmCount) return kErrStrOutBound;
    if (value.IsError()) return value.len;
    g_given |= 1u << n;
    return SlotSet(kTransParmsGroup, n, value);
}

bool TransParmGiven(std::uint16_t n) { return n <= kTransParmCount && (g_given & (1u << n)) != 0; }

void TransParmsClear() {
    g_given = 0;
    SlotClear(kTransParmsGroup);
}

TransMode TransModeFromBlock(StrDesc target, TransMode mode) {
    DynScope scope;
    StrDesc targetName = TargetName(target);
    for (std::uint16_t k = 1; k <= kTransModeNameCount; ++k) {
        TransMode bit = static_cast<TransMode>(1u << (k - 1));
        if (mode & bit) continue;
        std::uint16_t mark = DynMark();
        StrDesc value = ReadForTarget(targetName, Item(kTransModeNames, ',', k));
        if (!value.IsError() && StrEq(value, S("1"))) mode |= bit;
        DynRelease(mark);
    }
    return mode;
}

ErrCode TransParmsFromBlock(StrDesc target, TransMode mode) {
    DynScope scope;
    // The target may be a view into the slots, which every SlotSet below may move.
    target = target.IsError() ? StrEmpty() : StrCopy(target);
    if (!TransParmGiven(kTpTarget))
        if (ErrCode e = SlotSet(kTransParmsGroup, kTpTarget, target)) return e;
    StrDesc targetName = TargetName(target);
    for (std::uint16_t n = 1; n <= kTransParmCount; ++n) {
        if (TransParmGiven(n) || TransParm(n).len != 0) continue;
        std::uint16_t mark = DynMark();
        StrDesc value = ReadForTarget(targetName, TransParmName(n));
        if (value.IsError()) return value.len;
        if (value.len == 0) {
            if (n == kTpAcBound && !TransHas(mode, kTransBatch)) value = kTransDefaultBounds;
            if (n == kTpSqlTable) value = target;
        }
        ErrCode e = value.len != 0 ? SlotSet(kTransParmsGroup, n, value) : 0;
        DynRelease(mark);
        if (e != 0) return e;
    }
    return 0;
}

}  // namespace rt
