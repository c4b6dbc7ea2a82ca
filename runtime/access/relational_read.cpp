// Relational reads between data files and the SQL update of related rows.
#include "runtime/access/relational_read.h"

#include <string>

#include "runtime/access/file_read.h"
#include "runtime/access/write_phase.h"
#include "runtime/data/file_table.h"
#include "runtime/data/record_buffer.h"
#include "runtime/data/relations.h"
#include "runtime/expr/builtin_functions.h"
#include "runtime/expr/evaluator.h"
#include "runtime/sql/sql_conditions.h"
#include "runtime/sql/sql_control.h"
#include "runtime/sql/sql_literals.h"
#include "runtime/sql/sql_read.h"
#include "runtime/sql/sql_write.h"
#include "runtime/text/dyn_strings.h"
#include "runtime/text/err_codes.h"
#include "runtime/text/str_bridge.h"
#include "runtime/text/text_clean.h"
#include "runtime/vars/var_system.h"

namespace rt {

namespace {

constexpr std::int16_t kRelResReadOn = 2;
constexpr std::int16_t kRelResCreated = 4;
constexpr std::int16_t kRelResDeleted = 12;
constexpr std::int16_t kKeyPageUp = 23;    // _LASTKEY of the key that reads backwards
constexpr std::uint8_t kMacroPlain = 0;

}  // namespace

ErrCode RelUpdate(std::uint8_t file, std::uint16_t key, StrDesc value, std::uint8_t flags, StrDesc text) {
    file = FileResolve(file);
    DynScope scope;
    std::string cond = KeyConditionText(value, file, key, kCmpEqual);
    ErrCode r = 0;
    for (int round = 0; round < 2; ++round) {
        DynScope pass;
        StrDesc set = TextMacro(ExpText(text), kMacroPlain, StrEmpty());
        if (set.IsError()) {
            r = set.len;
            break;
        }
        std::uint16_t rows = 0;
        r = SqlExec(StrFromStd("UPDATE ONLY " + SqlIdent(SqlTableName(file)) + " SET " + StrToStd(set) + " WHERE " +
                               cond + ";"),
                    kSqlCurrent, &rows);
        if (r != 0 || rows != 0 || !(flags & kRelCreate) || round == 1) break;
        RecBlank(file, 1);
        KeySet(file, key, value);
        r = FileInsert(file);
        SysVarSet(kSysRelRes, kRelResCreated);
        if (r != 0) break;
    }
    return r >= kErrSerious ? r : 0;
}

ErrCode RelationalRead(std::uint8_t file, std::uint8_t target, std::uint16_t relation, std::uint8_t flags,
                       StrDesc text) {
    SysVarSet(kSysRelRes, 0);
    file = FileResolve(file);
    target = FileResolve(target);
    DynScope scope;
    StrDesc expression = RelationValue(file, target, relation);
    if (expression.len == 0) return kErrData;
    StrDesc value = ExpText(expression);
    if (value.IsError()) return value.len;
    if (value.len == 0) return 0;
    std::uint16_t key = RelationKey(file, target, relation);
    if ((SysBits(kSysUpStat) & kUpRelRunning) && (flags & kRelDelete) != kRelDelete) {
        if (text.len != 0) return RelUpdate(target, key, value, flags, text);
        return 0;
    }
    bool blank = Trim(value, kTrimBoth).len == 0;
    if (blank && !(SysBits(kSysScrStat) & kScrReadOn)) flags = static_cast<std::uint8_t>(flags & ~kRelReadOn);
    ErrCode r = FileFind(target, key, value, flags);
    if (r == 0 && (flags & kRelDelete) == kRelDelete) {
        SysVarSet(kSysRelRes, kRelResDeleted);
        r = FileDelete(target, 0);
    } else if (!(flags & kRelOnlyRead) &&
               ((r == 0 && text.len != 0) || ((r == 1 || r == kStatusNoRecord) && (flags & kRelCreate)))) {
        ErrCode found = r;
        if (found == kStatusNoRecord) SysVarSet(kSysRelRes, kRelResCreated);
        r = ExpRun(text);
        if (r == 0) r = ((flags & kRelCreate) && found != 0) ? FileInsert(target) : FileUpdate(target, kWriteReread);
    }
    if (r <= kStatusNoRecord && (flags & kRelReadOn) && (SysBits(kSysScrStat) & kScrReadOn)) {
        std::uint8_t mode = SysVar(kSysLastKey) == kKeyPageUp ? kReadPrevious : kReadNext;
        while ((flags & kRelOnlyRead) && r <= kStatusNoRecord && ExpCondition(text) == 0) r = FileRead(target, mode);
        SysVarSet(kSysRelRes, kRelResReadOn);
        SysBitsSet(kSysScrStat, static_cast<std::uint16_t>(SysBits(kSysScrStat) & ~kScrReadOn));
    }
    return r;
}

}  // namespace rt
