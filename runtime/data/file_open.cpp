// Opening and closing data files.
#include "runtime/data/file_open.h"

#include "runtime/data/file_table.h"
#include "runtime/data/file_table_state.h"
#include "runtime/env/errors.h"
#include "runtime/env/streams.h"
#include "runtime/text/err_codes.h"
#include "runtime/vars/var_system.h"
#include "runtime/text/dyn_strings.h"
#include "runtime/text/slot_table.h"

namespace rt {

namespace {

// Without record access there is nothing to read: the file stays at end of file.
ErrCode NoRead(std::uint8_t, std::uint8_t) { return 2; }
void NoMultiReadEnd(std::uint8_t file) {
    DataFileCtrl& ctrl = FileCtrl(file);
    ctrl.multiSlot = 0xFFFF;
    ctrl.multiRow = 0xFFFF;
}
void NoResultClear(std::uint16_t) {}

const FileReadLayer kNoReadLayer{NoRead, NoMultiReadEnd, NoResultClear};
const FileReadLayer* g_layer = &kNoReadLayer;

}  // namespace

const FileReadLayer* FileReadLayerSet(const FileReadLayer* layer) {
    const FileReadLayer* previous = g_layer == &kNoReadLayer ? nullptr : g_layer;
    g_layer = layer != nullptr ? layer : &kNoReadLayer;
    return previous;
}

ErrCode FileOpen(std::uint8_t n, std::uint8_t mode) {
    n = FileResolve(n);
    if (ErrCode e = FieldCheck(n, kFileOnly)) return e;
    {
        DynScope scope;
        StrDesc blank = StrFill(static_cast<std::uint16_t>(2 * RecordLength(n)), ' ');
        if (blank.IsError()) return blank.len;
        if (ErrCode e = SlotSet(kRecordsGroup, n - 1, blank)) return e;
    }
    CtrlReset(n);
    FileCtrl(n).openMode = mode;
    if ((mode & kOpenReadFirst) == 0) return 0;

    FileSelect(n);
    ErrCode result = g_layer->read(n, kReadFirst);
    // A server that rejects NULLS ordering clauses gets plain ordering from here on.
    if (result == kErrSqlError && (SysBits(kSysSysCompat) & kSysCompatPlainOrder) == 0) {
        ErrSetText(0, StrEmpty());
        SysBitsSet(kSysSysCompat, static_cast<std::uint16_t>(SysBits(kSysSysCompat) | kSysCompatPlainOrder));
        result = g_layer->read(n, kReadFirst);
    }
    if (FileCtrl(n).multiSlot != 0xFFFF) g_layer->multiReadEnd(n);
    return result;
}

ErrCode FileClose(std::uint8_t n) {
    n = FileResolve(n);
    if (ErrCode e = FieldCheck(n, kFileOnly)) return e;
    DataFileCtrl& ctrl = FileCtrl(n);
    if (ctrl.openMode == 0) return 0;
    g_layer->multiReadEnd(n);
    g_layer->resultClear(ctrl.resultSlots[0]);
    if (ctrl.handle != 0xFFFF) StreamClose(ctrl.handle);
    CtrlReset(n);
    return 0;
}

}  // namespace rt
