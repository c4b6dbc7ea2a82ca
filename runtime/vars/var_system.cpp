// The system variables' names and defaults, and their creation at start-up in slot order.
#include "runtime/vars/var_system.h"

#include "runtime/text/err_codes.h"
#include "runtime/vars/var_internal.h"
#include "runtime/vars/variables.h"
#include "runtime/text/dyn_strings.h"

namespace rt {
namespace {

const SysVarDef kSysVars[kSysVarCount] = {
    {"_AUXSTAT", 0},   {"_RELRES", 0},  {"_CURFIL", 0},   {"_CUREDFLD", 0}, {"_DEVHIG", 24},
    {"_DEVWID", 80},   {"_DEVLIN", 0},  {"_DEVPOS", 0},   {"_DEVPAG", 0},   {"_CURROW", 0},
    {"_STAT", 0},      {"_LASTKEY", 4}, {"_SGN", 0},      {"_UPSTAT", 1},   {"_IER", 0},
    {"_SYSCOMPAT", 0}, {"_SQLSTK", 0},  {"_COUNT", 0},    {"_HCOUNT", 0},   {"_ADMSTAT", 0},
    {"_COMPAT", 0},    {"_SCRSTAT", 0}, {"_LMAX", 0},     {"_LNUM", 0},     {"_LLST", 0},
    {"_HNUM", 0},      {"_SAFE", 0},    {"_LB", 128},     {"_AUX", 0},      {"_KEYMAP", 0},
    {"", 0},           {"_TRACE", 1},   {"_PRECIS", 2},   {"_BYEAR", 2000}, {"_BKYEAR", 80},
    {"_DX", 0},        {"_INHND", 0},   {"_OUTHND", 0},   {"_DATE", 0},     {"_DOCST", 0},
    {"_WMAXROW", 0},   {"_USER01", 0},  {"_USER02", 0},   {"_USER03", 0},
};

const char* const kSysTexts[kSysTextCount] = {"_ACUM$", "_ACUMX$", "_LTEXT$"};

const SysVarDef kNoVar = {"", 0};

}  // namespace

const SysVarDef& SysVarDefault(std::uint16_t slot) { return slot < kSysVarCount ? kSysVars[slot] : kNoVar; }


std::int16_t SysVar(std::uint16_t slot) {
    if (!VarReady()) return SysVarDefault(slot).value;
    return VarIntSlot(slot);
}

ErrCode SysVarSet(std::uint16_t slot, std::int16_t value) { return VarIntSlotSet(slot, value); }

std::uint32_t SysCount32() {
    return (std::uint32_t(SysBits(kSysHCount)) << 16) | SysBits(kSysCount);
}

ErrCode SysCount32Set(std::uint32_t n) {
    if (ErrCode e = SysBitsSet(kSysCount, static_cast<std::uint16_t>(n & 0xFFFF))) return e;
    return SysBitsSet(kSysHCount, static_cast<std::uint16_t>(n >> 16));
}

ErrCode SysVarSeed() {
    // The store is seeded through its own assignment, past the screen-field hook, so that the slot
    // numbers come out fixed whatever hook is installed.
    for (std::uint16_t slot = 0; slot < kSysVarCount; ++slot) {
        const SysVarDef& def = kSysVars[slot];
        StrDesc name = StrFromC(def.name);
        if (name.len == 0) {
            if (VarListAppend(kVarInteger, name) != slot) return kErrVarNameError;
            continue;
        }
        DynScope scope;
        if (ErrCode e = VarNumPush(NumFromInteger(def.value))) return e;
        if (ErrCode e = VarStoreAssign(kVarInteger, name, DynTop())) return e;
        if (VarFind(name).slot != slot) return kErrVarNameError;
    }
    for (std::uint16_t slot = 0; slot < kSysTextCount; ++slot) {
        StrDesc name = StrFromC(kSysTexts[slot]);
        if (ErrCode e = VarStoreAssign(kVarText, name, StrEmpty())) return e;
        if (VarFind(name).slot != slot) return kErrVarNameError;
    }
    return 0;
}

}  // namespace rt
