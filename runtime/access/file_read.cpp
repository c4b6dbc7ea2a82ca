// Reads, finds and new records of data files, over the keyed reads and the multi-read of the SQL layer.
#include "runtime/access/file_read.h"

#include <algorithm>
#include <cstring>

#include "runtime/data/fields.h"
#include "runtime/data/file_open.h"
#include "runtime/data/file_table.h"
#include "runtime/data/keys.h"
#include "runtime/data/record_buffer.h"
#include "runtime/sql/sql_control.h"
#include "runtime/sql/sql_multi_read.h"
#include "runtime/sql/sql_read.h"
#include "runtime/sql/sql_write.h"
#include "runtime/text/dyn_strings.h"
#include "runtime/text/err_codes.h"

namespace rt {

namespace {

constexpr std::uint8_t kBlankPlain = 1;  // RecBlank mode without the 0x1B mark

// The first len(value) bytes of the record's key value are value.
bool KeyStartsWith(std::uint8_t file, std::uint16_t key, StrDesc value) {
    DynScope scope;
    StrDesc kv = KeyValue(file, key);
    if (kv.IsError() || kv.len < value.len) return false;
    return std::memcmp(kv.ptr, value.ptr, value.len) == 0;
}

// After a row was loaded: when its key value is shared, the multi-read takes over.
ErrCode HandOver(std::uint8_t file, std::uint8_t mode) {
    DataFileCtrl& ctrl = FileCtrl(file);
    DynScope scope;
    StrDesc value = KeyValue(file, ctrl.activeKey);
    if (!SqlDuplicates(file, ctrl.activeKey, value)) return 0;
    if (ErrCode e = MultiReadStart(file, value, mode)) return e;
    return MultiReadLoad(file);
}

ErrCode LayerRead(std::uint8_t file, std::uint8_t mode) { return FileRead(file, mode); }
void LayerResultClear(std::uint16_t slot) {
    // 0 marks an empty result-slot stack; the home slot is never a block's.
    if (slot != 0 && slot < kSqlSlots) SqlClear(slot);
}
const FileReadLayer kAccessLayer{LayerRead, MultiReadEnd, LayerResultClear};

ErrCode LayerFind(std::uint8_t file, std::uint16_t key, StrDesc value, std::uint8_t flags) {
    return FileFind(file, key, value, flags);
}

}  // namespace

void AccessInstall() {
    FileReadLayerSet(&kAccessLayer);
    SqlFileFindSet(LayerFind);
}

ErrCode FileRead(std::uint8_t file, std::uint8_t mode, StrDesc high, StrDesc extra) {
    file = FileResolve(file);
    if (ErrCode e = FieldCheck(file, kFileOnly)) return e;
    DataFileCtrl& ctrl = FileCtrl(file);
    if (mode & kReadNew) {
        RecBlank(file, kBlankPlain);
        ctrl.status = kStatusNewRecord;
        return ctrl.status;
    }
    // Stepping back from the end of the file reads the last record.
    if ((mode & kReadPrevious) == kReadPrevious && ctrl.status == kStatusNoRecord) mode = kReadLast;
    if (MultiReadActive(file) && (mode & kReadEnd)) MultiReadEnd(file);
    ErrCode r = 1;
    if (MultiReadActive(file)) r = MultiReadStep(file, mode);
    bool fromMulti = r == 0 && MultiReadActive(file);
    if (!fromMulti) {
        DynScope scope;
        r = SqlRead(file, KeyValue(file, ctrl.activeKey), mode, high, extra);
    }
    if (r != 0) {
        RecBlank(file, kBlankPlain);
    } else if (fromMulti) {
        r = MultiReadLoad(file);
    } else {
        r = SqlRowToRecord(file, kLoadBoth, 0, SqlHomeSlot());
        if (r == 0) r = HandOver(file, mode);
    }
    FileCtrl(file).status = r;
    return r;
}

ErrCode FileFind(std::uint8_t file, std::uint16_t key, StrDesc value, std::uint8_t flags) {
    file = FileResolve(file);
    if (ErrCode e = FieldCheck(file, kFileOnly)) return e;
    if (value.IsError()) return value.len;
    MultiReadEnd(file);
    FileCtrl(file).activeKey = key;
    ErrCode r = SqlFindSelect(file, key, value, flags);
    if (r == 0) {
        r = SqlRowToRecord(file, kLoadBoth, 0, SqlHomeSlot());
        if (r == 0 && !KeyStartsWith(file, key, value)) r = kStatusOtherKey;
    } else if (r == kStatusNoRecord && (flags & kFindNewWhenMissing)) {
        RecBlank(file, kBlankPlain);
        if (ErrCode e = KeySet(file, key, value)) r = e;
    }
    if (r < kStatusNoRecord) {
        if (ErrCode e = HandOver(file, kReadNext)) r = e;
    }
    FileCtrl(file).status = r;
    return r;
}

ErrCode FileSeek(std::uint8_t file, std::uint16_t key, StrDesc value, std::uint8_t flags) {
    file = FileResolve(file);
    if (ErrCode e = FieldCheck(file, kFileOnly)) return e;
    ErrCode r = SqlFindSelect(file, key, value, flags & kFindAtOrAfter);
    if (r == 0 && (flags & kSeekCurrent)) r = SqlRowToRecord(file, kLoadCurrent, 0, SqlHomeSlot());
    else if (r == 0 && (flags & kSeekReference)) r = SqlRowToRecord(file, kLoadReference, 0, SqlHomeSlot());
    FileCtrl(file).status = r;
    return r;
}

ErrCode KeySet(std::uint8_t file, std::uint16_t key, StrDesc value) {
    file = FileResolve(file);
    if (value.IsError()) return value.len;
    KeyFieldList list = KeyFields(file, key);
    std::uint16_t p = 0;
    for (std::uint16_t i = 0; i < list.count && p < value.len; ++i) {
        std::uint16_t width = FieldInfo(file, list.fields[i]).width;
        std::uint16_t take = std::min<std::uint16_t>(width, static_cast<std::uint16_t>(value.len - p));
        if (ErrCode e = FieldSet(file, list.fields[i], StrDesc{value.ptr + p, take})) return e;
        p = static_cast<std::uint16_t>(p + width);
    }
    return 0;
}

}  // namespace rt
