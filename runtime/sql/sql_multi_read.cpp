// The multi-read over the rows of one shared key value.
#include "runtime/sql/sql_multi_read.h"

#include <string>

#include "runtime/data/file_table.h"
#include "runtime/data/keys.h"
#include "runtime/data/record_buffer.h"
#include "runtime/env/errors.h"
#include "runtime/sql/sql_conditions.h"
#include "runtime/sql/sql_control.h"
#include "runtime/sql/sql_literals.h"
#include "runtime/sql/sql_read.h"
#include "runtime/text/dyn_strings.h"
#include "runtime/text/err_codes.h"
#include "runtime/text/str_bridge.h"

namespace rt {

namespace {

constexpr std::uint16_t kNoRow = 0xFFFF;

bool StartsAtLastRow(std::uint8_t flags) {
    return (flags & kReadBackward) ? (flags & kReadStep) != 0 : (flags & kReadPositioning) == kReadLast;
}

}  // namespace

bool MultiReadActive(std::uint8_t file) { return FileCtrl(FileResolve(file)).multiSlot != kSqlNoSlot; }

void MultiReadEnd(std::uint8_t file) {
    DataFileCtrl& ctrl = FileCtrl(FileResolve(file));
    if (ctrl.multiSlot < kSqlSlots) SqlClear(ctrl.multiSlot);
    ctrl.multiSlot = kSqlNoSlot;
    ctrl.multiRow = kNoRow;
}

ErrCode MultiReadStart(std::uint8_t file, StrDesc value, std::uint8_t flags) {
    file = FileResolve(file);
    MultiReadEnd(file);
    DynScope scope;
    DataFileCtrl& ctrl = FileCtrl(file);
    std::string statement = "SELECT * FROM " + SqlIdent(SqlTableName(file)) + " WHERE " +
                            KeyConditionText(value, file, ctrl.activeKey, kCmpEqual) + " ORDER BY " +
                            StrToStd(SqlOrder(file, ctrl.activeKey, false)) + ";";
    ErrCode r = SqlExec(StrViewStd(statement));
    if (r >= kErrFirstFailure) return r;
    std::uint16_t rows = r == 0 ? SqlRows(kSqlCurrent) : 0;
    // One row or none: another user changed the table since the rows were counted. The row stays where
    // a single-row result always goes, with the record it belongs to.
    if (rows < 2) return ErrSetText(kErrInternal, StrFromStd("sqlMultiRead: key=" + StrToStd(value)));
    ctrl.multiSlot = SqlSlot(kSqlCurrent);
    ctrl.multiRow = StartsAtLastRow(flags) ? static_cast<std::uint16_t>(rows - 1) : 0;
    return 0;
}

ErrCode MultiReadStep(std::uint8_t file, std::uint8_t mode) {
    file = FileResolve(file);
    DataFileCtrl& ctrl = FileCtrl(file);
    if (ctrl.multiSlot == kSqlNoSlot) {
        DynScope scope;
        StrDesc value = KeyValue(file, ctrl.activeKey);
        if (!SqlDuplicates(file, ctrl.activeKey, value)) return 1;
        return MultiReadStart(file, value, mode);
    }
    std::uint16_t rows = SqlRows(ctrl.multiSlot);
    std::uint16_t row = static_cast<std::uint16_t>((mode & kReadBackward) ? ctrl.multiRow - 1 : ctrl.multiRow + 1);
    bool exhausted = row >= rows;
    ctrl.multiRow = exhausted ? kNoRow : row;
    if (!(mode & kReadStep) || exhausted) MultiReadEnd(file);
    return FileCtrl(file).multiRow == kNoRow ? 1 : 0;
}

ErrCode MultiReadLoad(std::uint8_t file) {
    DataFileCtrl& ctrl = FileCtrl(FileResolve(file));
    return SqlRowToRecord(file, kLoadBoth, ctrl.multiRow, ctrl.multiSlot);
}

ErrCode MultiReadLocate(std::uint8_t file) {
    file = FileResolve(file);
    DynScope scope;
    std::string kept = StrToStd(RecImage(file, kRecReference));
    ErrCode r = MultiReadStart(file, KeyValue(file, FileCtrl(file).activeKey), kReadStep);
    while (r == 0) {
        DataFileCtrl& ctrl = FileCtrl(file);
        r = SqlRowToRecord(file, kLoadReference, ctrl.multiRow, ctrl.multiSlot);
        if (r != 0 || StrToStd(RecImage(file, kRecReference)) == kept) break;
        r = MultiReadStep(file, kReadStep);
    }
    return r;
}

}  // namespace rt
