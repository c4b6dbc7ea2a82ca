// Block iteration over a file's rows in key order.
#include "runtime/access/blocks.h"

#include "runtime/data/fields.h"
#include "runtime/data/file_table.h"
#include "runtime/data/keys.h"
#include "runtime/expr/evaluator.h"
#include "runtime/sql/sql_control.h"
#include "runtime/sql/sql_literals.h"
#include "runtime/sql/sql_read.h"
#include "runtime/text/dyn_strings.h"
#include "runtime/text/err_codes.h"
#include "runtime/text/slot_table.h"
#include "runtime/text/str_bridge.h"
#include "runtime/vars/masks.h"

namespace rt {

namespace {

void NoProgress(std::uint16_t, std::uint16_t, StrDesc) {}
BlockProgress g_progress = NoProgress;

// The key of a row as its key fields' column texts, for telling rows apart.
std::string RowKey(const BlockIter& it, std::uint16_t row) {
    KeyFieldList list = KeyFields(it.file, it.key);
    std::string key;
    for (std::uint16_t i = 0; i < list.count; ++i) {
        key += StrToStd(SqlValue(row, static_cast<std::uint16_t>(list.fields[i] - 1), it.slot));
        key += '\0';
    }
    return key;
}

ErrCode Load(BlockIter& it) { return SqlRowToRecord(it.file, kLoadBoth, it.row, it.slot); }

ErrCode Condition() {
    DynScope scope;
    StrDesc cond = StrCopy(SlotGet(kRunTextsGroup, kSlotBlockCondition));
    return cond.len == 0 ? 1 : ExpCondition(cond);
}

}  // namespace

BlockProgress BlockProgressSet(BlockProgress progress) {
    BlockProgress previous = g_progress == NoProgress ? nullptr : g_progress;
    g_progress = progress != nullptr ? progress : NoProgress;
    return previous;
}

ErrCode BlockStart(BlockIter& it, std::uint8_t file, std::uint16_t key, StrDesc low, StrDesc high, StrDesc extra) {
    it = BlockIter{};
    it.file = FileResolve(file);
    it.key = key;
    it.high = StrToStd(high);
    ErrCode r = SqlBlockSelect(it.file, key, low, high, kBlockRows, kCmpGreaterEq, extra);
    if (r == 0) {
        it.slot = FileCtrl(it.file).resultSlots[0];
        it.rows = SqlRows(it.slot);
        it.boundary = static_cast<std::uint16_t>(it.rows - 1);
        if (it.rows == kBlockRows) {
            std::string last = RowKey(it, it.rows - 1);
            std::uint16_t b = static_cast<std::uint16_t>(it.rows - 1);
            while (b > 0 && RowKey(it, b - 1) == last) --b;
            it.boundary = b == 0 ? 0xFFFF : static_cast<std::uint16_t>(b - 1);
            if (it.boundary == 0xFFFF) r = kErrDataOutBound;
        }
        if (r == 0) r = Load(it);
        SlotSet(kRunTextsGroup, kSlotBlockCondition, extra);
    }
    it.status = r;
    return r;
}

ErrCode BlockNext(BlockIter& it) {
    for (;;) {
        if (it.status != 0 && it.status != kNone) return it.status;
        if (it.row + 1 >= it.rows) {
            it.status = kStatusNoRecord;
            return it.status;
        }
        std::uint16_t left = it.row++;
        if (it.rows == kBlockRows && left == it.boundary) {
            // The rest of this block starts the next one, so that one key value stays in one block.
            DynScope scope;
            ErrCode r = Load(it);
            StrDesc low = r == 0 ? KeyValue(it.file, it.key) : StrError(r);
            StrDesc extra = StrCopy(SlotGet(kRunTextsGroup, kSlotBlockCondition));
            StrDesc high = StrFromStd(it.high);
            SqlBlockDrop(it.file);
            if (low.IsError()) return it.status = low.len;
            if (BlockStart(it, it.file, it.key, low, high, extra) != 0) return it.status;
        } else if (ErrCode e = Load(it)) {
            return it.status = e;
        } else {
            DynScope scope;
            KeyFieldList list = KeyFields(it.file, it.key);
            FieldDesc d = FieldInfo(it.file, list.count ? list.fields[0] : 1);
            g_progress(0, 1, FieldToShow(d.type, FieldGet(it.file, d.field), d.width));
        }
        ErrCode c = Condition();
        if (c >= kErrFirstFailure) return it.status = c;
        if (c == 1) return it.status = 0;
    }
}

ErrCode BlockFirst(BlockIter& it, std::uint8_t file, std::uint16_t key, StrDesc low, StrDesc high, StrDesc extra) {
    ErrCode r = BlockStart(it, file, key, low, high, extra);
    if (r != 0) return r;
    ErrCode c = Condition();
    if (c >= kErrFirstFailure) return it.status = c;
    return c == 1 ? 0 : BlockNext(it);
}

}  // namespace rt
