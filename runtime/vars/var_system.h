// The system variables: the first 44 integer variables of the store, created at start-up in this
// order so that every part of the runtime can read and set them by slot number.
#pragma once
#include <cstdint>
#include "runtime/text/str_desc.h"

namespace rt {

enum SysVarSlot : std::uint16_t {
    kSysAuxStat = 0,    // option bits (8 names as written, 128 no wildcards, 256 raw SQL, 2048 SQL connected, 4096 transaction)
    kSysRelRes = 1,
    kSysCurFil = 2,     // the current data file
    kSysCurEdFld = 3,
    kSysDevHig = 4,     // output device height in lines
    kSysDevWid = 5,     // output device width in columns
    kSysDevLin = 6,
    kSysDevPos = 7,
    kSysDevPag = 8,
    kSysCurRow = 9,
    kSysStat = 10,
    kSysLastKey = 11,
    kSysSgn = 12,
    kSysUpStat = 13,    // 1 relational updates on, 16 a transfer's record loop runs
    kSysIer = 14,
    kSysSysCompat = 15,
    kSysSqlStk = 16,    // current SQL slot, the nesting depth of SQLCHILD
    kSysCount = 17,     // record count, low 16 bits
    kSysHCount = 18,    // record count, high 16 bits
    kSysAdmStat = 19,
    kSysCompat = 20,
    kSysScrStat = 21,
    kSysLMax = 22,
    kSysLNum = 23,
    kSysLLst = 24,
    kSysHNum = 25,
    kSysSafe = 26,
    kSysLb = 27,
    kSysAux = 28,
    kSysKeyMap = 29,
    kSysUnnamed30 = 30,  // a slot without a name; it stays 0
    kSysTrace = 31,     // trace mask of the run's log
    kSysPrecis = 32,    // decimals of every number
    kSysBYear = 33,     // base year of two-digit years
    kSysBkYear = 34,    // two-digit-year pivot
    kSysDx = 35,
    kSysInHnd = 36,
    kSysOutHnd = 37,
    kSysDate = 38,
    kSysDocSt = 39,
    kSysWMaxRow = 40,
    kSysUser01 = 41,
    kSysUser02 = 42,
    kSysUser03 = 43,
};
constexpr std::uint16_t kSysVarCount = 44;

// Text system variables: text slots 0 to 2.
enum SysTextSlot : std::uint16_t {
    kSysAcum = 0,   // _ACUM$
    kSysAcumX = 1,  // _ACUMX$: names of the elements of the array _#
    kSysLText = 2,  // _LTEXT$
};
constexpr std::uint16_t kSysTextCount = 3;

struct SysVarDef {
    const char* name;  // empty for the unnamed slot
    std::int16_t value;
};
// The seeding table, in slot order.
// Bits of _AUXSTAT read by the runtime.
enum AuxStatBits : std::uint16_t {
    kAuxNamesKeepCase = 8,     // file names are kept as written instead of lower-cased
    kAuxEmptyDateStays = 64,   // an empty date stays empty instead of becoming today
    kAuxNoWildcards = 128,     // '*' is an ordinary character in ==
};
// Bits of _COMPAT.
enum CompatBits : std::uint16_t {
    kCompatIndexNdx = 2,       // an index companion file takes NDX instead of DIR
    kCompatCompactDates = 4,   // six-byte F fields hold compact dates
    kCompatShortNames = 8,     // companion file names are cut to eight bytes
    kCompatDecimalWidth = 64,  // a numeric field of type 0..8 shows its decimals beyond its width
};
// Bits of _SYSCOMPAT.
enum SysCompatBits : std::uint16_t {
    kSysCompatPlainOrder = 1,  // the server rejected NULLS ordering clauses: plain ordering
};

const SysVarDef& SysVarDefault(std::uint16_t slot);

// Fast access by slot. Before the store is set up a read gives the default and a write gives 163.
std::int16_t SysVar(std::uint16_t slot);
inline std::uint16_t SysBits(std::uint16_t slot) { return static_cast<std::uint16_t>(SysVar(slot)); }
ErrCode SysVarSet(std::uint16_t slot, std::int16_t value);
inline ErrCode SysBitsSet(std::uint16_t slot, std::uint16_t value) {
    return SysVarSet(slot, static_cast<std::int16_t>(value));
}
// _COUNT and _HCOUNT together as one 32-bit counter.
std::uint32_t SysCount32();
ErrCode SysCount32Set(std::uint32_t n);

// Appends the system variables to an empty store with their defaults; the first failure is given.
ErrCode SysVarSeed();

}  // namespace rt
