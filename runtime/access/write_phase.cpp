// The write phase of maintenance actions and the relational-update statements around writes.
#include "runtime/access/write_phase.h"

#include <string>

#include "runtime/access/file_read.h"
#include "runtime/data/dictionary.h"
#include "runtime/data/fields.h"
#include "runtime/data/file_table.h"
#include "runtime/data/keys.h"
#include "runtime/data/record_buffer.h"
#include "runtime/env/parm_files.h"
#include "runtime/env/paths.h"
#include "runtime/expr/evaluator.h"
#include "runtime/sql/sql_control.h"
#include "runtime/sql/sql_write.h"
#include "runtime/text/dyn_strings.h"
#include "runtime/text/err_codes.h"
#include "runtime/text/slot_table.h"
#include "runtime/text/str_bridge.h"
#include "runtime/text/text_clean.h"
#include "runtime/text/text_lists.h"
#include "runtime/vars/var_system.h"

namespace rt {

namespace {

constexpr std::uint16_t kNoRelationMark = 0xFFFF;
constexpr std::uint16_t kRelParmType = 4;  // relational-update files: two-digit identifier, content from 2

bool SqlOpen() { return (SysBits(kSysAuxStat) & kAuxSqlConnected) != 0; }

}  // namespace

ErrCode KeyCheck(std::uint8_t file, StrDesc keyRange) {
    file = FileResolve(file);
    DynScope scope;
    StrDesc key = KeyValue(file, 1);
    bool blank = key.IsError() || Trim(key, kTrimLeft).len == 0;
    if (blank || keyRange.len == 0) return blank ? 1 : 0;
    // A key range that does not depend on the record counts as unset.
    std::string kept = StrToStd(RecImage(file, kRecCurrent));
    RecWrite(file, kRecCurrent, StrFromStd(std::string(kept.size(), ' ')));
    std::string empty = StrToStd(ExpText(keyRange));
    RecWrite(file, kRecCurrent, StrViewStd(kept));
    std::string filled = StrToStd(ExpText(keyRange));
    return empty == filled ? 1 : 0;
}

ErrCode FileWritePhase(std::uint16_t code, std::uint8_t file, StrDesc selector, StrDesc keyRange) {
    file = FileResolve(file);
    DynScope scope;
    ErrCode r = 0;
    bool checked = true;
    if (code & kActKeyCheck) {
        checked = KeyCheck(file, keyRange) == 0;
        if (checked && (code & (kActAdd | kActRemove)) == kActAdd && !(SysBits(kSysUpStat) & kUpNoInsertCheck)) {
            StrDesc key = KeyValue(file, 1);
            if (FileSeek(file, 1, key, 0) == 0) return kStatusDuplicate;
        }
    }
    std::uint16_t operation = code & kActOperation;
    if (checked) {
        if (operation == kActInsert) r = FileInsert(file);
        else if (operation == kActUpdate) r = FileUpdate(file, 0);
    }
    StrDesc statements = StrEmpty();
    if (r == 0 && !(code & kActNoRelations)) {
        statements = RelStatements(file, selector);
        if (statements.IsError()) r = statements.len;
    }
    if (r == 0 && checked && (code & kActRemove)) {
        if (operation == kActDelete) r = FileDelete(file, 0);
        if (r == 0 && !(code & kActNoRelations)) r = RelRun(kActRemove, file, statements);
    }
    if (r == 0 && (code & (kActAdd | kActNoRelations)) == kActAdd && checked) r = RelRun(kActAdd, file, statements);
    return r;
}

StrDesc RelOption(StrDesc text, std::uint16_t n) {
    if (StrEq(text, S("NONE"))) return StrEmpty();
    if (text.len != 0) return text;
    std::uint16_t count = SlotCount(kRelStatementsGroup);
    if (n == count) return StrEmpty();
    if (n + 1 == count || n + 2 == count) return S("1");
    std::uint8_t current = FileResolve(kCurrentFile);
    if (FieldByName(current, S("N_LINE")) != 0xFFFF) return S("1+(N_LINE{}>0)");
    return StrEmpty();
}

StrDesc RelStatements(std::uint8_t file, StrDesc selector) {
    file = FileResolve(file);
    std::uint16_t mark = DynMark();
    StrDesc chosen = selector.len != 0 ? ExpText(selector) : StrEmpty();
    if (chosen.IsError()) return chosen;
    std::string list = "0," + StrToStd(chosen);
    std::uint16_t relMark = FileCtrl(file).relationMark;
    std::string out;
    if (relMark != kNoRelationMark) {
        ItemCursor items(StrViewStd(list), ',');
        StrDesc item;
        while (items.Next(&item)) {
            if (Trim(item, kTrimBoth).len == 0) continue;
            std::uint16_t n = static_cast<std::uint16_t>(StrToNum(item));
            std::string statement = StrToStd(SlotGet(kRelStatementsGroup, static_cast<std::uint16_t>(relMark + n)));
            if (statement.empty()) continue;
            if (!out.empty()) out += ";";
            out += statement;
        }
    }
    DynRelease(mark);
    return StrFromStd(out);
}

ErrCode RelRun(std::uint16_t half, std::uint8_t file, StrDesc statements) {
    if (!(SysBits(kSysUpStat) & kUpRelational)) return 0;
    file = FileResolve(file);
    DynScope scope;
    std::string kept;
    if (half == kActRemove) {
        kept = StrToStd(RecImage(file, kRecCurrent));
        RecCopy(file, 2);  // the old values
    }
    if (SqlOpen()) SysBitsSet(kSysUpStat, static_cast<std::uint16_t>(SysBits(kSysUpStat) | kUpRelRunning));
    SysVarSet(kSysSgn, half == kActAdd ? 1 : -1);
    ErrCode r = ExpRun(statements);
    SysVarSet(kSysSgn, 0);
    SysBitsSet(kSysUpStat, static_cast<std::uint16_t>(SysBits(kSysUpStat) & ~kUpRelRunning));
    if (half == kActRemove) RecWrite(file, kRecCurrent, StrViewStd(kept));
    return r;
}

ErrCode RelLoad(std::uint8_t file, StrDesc name) {
    file = FileResolve(file);
    DataFileCtrl& ctrl = FileCtrl(file);
    if (ctrl.relationMark != kNoRelationMark || StrEq(name, S("NONE"))) return 0;
    DynScope scope;
    StrDesc app = Item(SlotGet(kRunGroup, kSlotIdentity), ':', 1);
    StrDesc fileName = DictFileName(app, SqlOpen() ? kDictRelUpdatesSql : kDictRelUpdates);
    StrDesc path = PathJoin(StrCopy(SlotGet(kRunGroup, kSlotDefaultFolder)), fileName);
    std::uint16_t lines = ParmLoadLines(path, kRelParmType, file);
    if (lines == kNone || lines == 0) return 0;
    std::uint16_t mark = SlotCount(kRelStatementsGroup);
    FileCtrl(file).relationMark = mark;
    for (std::uint16_t i = 0; i < lines; ++i) {
        DynScope line;
        StrDesc text = StrCopy(SlotPeek(kWorkQueueGroup));
        SlotPop(kWorkQueueGroup);
        if (text.len < 2) continue;
        std::uint16_t n = static_cast<std::uint16_t>(StrToNum(StrDesc{text.ptr, 2}));
        StrDesc body = Trim(StrDesc{text.ptr + 2, static_cast<std::uint16_t>(text.len - 2)}, kTrimLeft);
        std::uint16_t item = static_cast<std::uint16_t>(mark + n);
        StrDesc old = StrCopy(SlotGet(kRelStatementsGroup, item));
        StrDesc joined = old.len != 0 ? StrJoin(old, S(";"), body) : body;
        if (ErrCode e = SlotSet(kRelStatementsGroup, item, joined)) return e;
    }
    return 0;
}

ErrCode RelUnload(std::uint8_t file, std::uint16_t mark) {
    file = FileResolve(file);
    for (std::uint16_t n = SlotCount(kRelStatementsGroup); n > mark; --n) SlotDelete(kRelStatementsGroup, n - 1);
    DataFileCtrl& ctrl = FileCtrl(file);
    if (ctrl.relationMark != kNoRelationMark && ctrl.relationMark >= mark) ctrl.relationMark = kNoRelationMark;
    return 0;
}

}  // namespace rt
