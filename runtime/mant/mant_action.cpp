// The maintenance engine: action codes carried out on the current screen's file, with the messages
// the user sees and the refresh of the screen's fields.
#include "runtime/mant/mant_action.h"

#include <cstring>
#include <string>

#include "runtime/access/file_read.h"
#include "runtime/access/write_phase.h"
#include "runtime/data/file_table.h"
#include "runtime/data/keys.h"
#include "runtime/data/record_buffer.h"
#include "runtime/env/catalog.h"
#include "runtime/expr/evaluator.h"
#include "runtime/expr/fn_args.h"
#include "runtime/expr/fn_internal.h"
#include "runtime/mant/mant_screen.h"
#include "runtime/sql/sql_read.h"
#include "runtime/sql/sql_write.h"
#include "runtime/text/dyn_strings.h"
#include "runtime/text/err_codes.h"
#include "runtime/text/str_bridge.h"
#include "runtime/text/text_clean.h"
#include "runtime/text/text_lists.h"
#include "runtime/ui/error_box.h"
#include "runtime/ui/message_box.h"
#include "runtime/ui/screen.h"
#include "runtime/vars/var_system.h"

namespace rt {

namespace {

// The refresh after an action that moved nowhere or failed: every field keeps its own value.
constexpr std::uint16_t kRefreshPlain = kRefreshRaw;
constexpr std::uint16_t kSetNewRecord = 2;      // item of SET$ run after a new record
constexpr std::uint16_t kMoveBits = kReadStep | kReadEnd;
constexpr std::uint16_t kReadPart = 0x00FF;    // the low byte of a code: the read mode
constexpr std::uint16_t kNoCommand = 255;       // FILELOCATE's key of an unknown command

// Item n of catalog message 0023, the maintenance messages, in a warning box (nothing for an item
// that has no text).
void ShowMaintenanceMessage(ErrCode r) {
    DynScope scope;
    StrDesc text = StrCopy(Item(MsgText("0023"), ',', r));
    if (text.len != 0) MsgShow(text, StrEmpty(), kMsgWarning);
}

bool KeyOneChanged(std::uint8_t file) {
    DynScope scope;
    StrDesc current = KeyValue(file, 1, RecImage(file, kRecCurrent));
    StrDesc reference = KeyValue(file, 1, RecImage(file, kRecReference));
    return !current.IsError() && !reference.IsError() && !StrEq(current, reference);
}

}  // namespace

ErrCode MantKeyRange(std::uint8_t file, ErrCode r, std::uint16_t* mode) {
    if (r != 0) return r;
    DynScope scope;
    StrDesc prefixes = MantScreenParameter(kMantKeyPrefix);
    std::string joined;
    ItemCursor items(prefixes, ',');
    StrDesc item;
    while (items.Next(&item)) joined += StrToStd(ExpText(item));
    if (joined.empty()) return 0;
    std::string key = StrToStd(KeyValue(file, 1));
    if (key.compare(0, joined.size(), joined) == 0) return 0;
    if (mode == nullptr) return kStatusOtherKey;
    if (*mode & kReadEnd) {
        // First becomes a forward step repeated until the record lies inside; last a backward one.
        *mode = static_cast<std::uint16_t>(((*mode & ~kReadEnd) | kReadStep) ^ kReadBackward);
        return kMantReadAgain;
    }
    return FileCtrl(file).activeKey == 1 ? ErrCode{kStatusNoRecord} : kMantReadAgain;
}

void MantNextKey(std::uint8_t file) {
    file = FileResolve(file);
    std::uint16_t key = static_cast<std::uint16_t>(MantKeyCounter() + 1);
    if (key > KeyCount(file)) key = 1;
    MantKeyCounterSet(key);
    FileCtrl(file).activeKey = key;
}

ErrCode MantExecute(std::uint8_t file, std::uint16_t code) {
    file = FileResolve(file);
    if (ErrCode e = FieldCheck(file, kFileOnly)) return e;
    DynScope scope;
    DataFileCtrl& ctrl = FileCtrl(file);
    std::uint16_t status = ctrl.status;
    // A save of a record that was read writes only when it changed; so does the insert it turns into
    // when no record is read (a failed find leaves the row it showed, which must not be inserted again).
    bool saveWhenChanged = (code & (kActAdd | kActRemove)) == (kActAdd | kActRemove);
    ErrCode r = 0;
    if (status > kStatusOtherKey && (code & kActRemove)) {
        // Without a read record there is nothing to delete; a save inserts instead of updating.
        if (code & kActAdd) code = static_cast<std::uint16_t>(code & ~kActRemove);
        else r = kStatusDuplicate;
    }
    bool inserted = false;
    if (r == 0 && code >= kActAdd && (!saveWhenChanged || RecChanged(file))) {
        StrDesc selector = RelOption(MantScreenParameter(kMantRelOption), MantScreenVariables());
        StrDesc keyRange = MantScreenParameter(kMantKeyRange);
        bool keyOk = !(code & kActKeyCheck) || KeyCheck(file, keyRange) == 0;
        r = FileWritePhase(code, file, selector, keyRange);
        inserted = r == 0 && keyOk && (code & kActOperation) == kActInsert;
    }
    r = FileEndTransaction(file, r);
    if (r == 0) r = ExpRun(MantScreenParameter(kMantSaved));

    if (r >= kErrFirstFailure) {
        // No read after a failure.
    } else if (r >= kStatusDuplicate) {
        FileRead(file, static_cast<std::uint8_t>(code & kReadNew));
    } else if (code == 0) {
        r = FileCtrl(file).status;
    } else if (code & kReadPart) {
        std::uint16_t mode = code & kReadPart;
        do {
            r = FileRead(file, static_cast<std::uint8_t>(mode & kReadPart));
            SysVarSet(kSysIer, static_cast<std::int16_t>(r));
            mode = code;
            r = MantKeyRange(file, r, &mode);
        } while (r == kMantReadAgain);
    } else {
        RecCopy(file, 1);
        SysVarSet(kSysIer, 0);
        // The record just inserted is the stored row now: the next save updates it instead of
        // inserting it once more (which would refuse it as an existing key and lose the edits).
        if (inserted) FileCtrl(file).status = 0;
    }
    if ((code & kReadNew) && r < kErrSerious) {
        ErrCode e = ScreenEvent(kSetNewRecord);
        if (e >= kErrSerious) r = e;
    }
    if (r < kStatusDuplicate && !(code & kMoveBits)) r = 0;
    return r;
}

ErrCode MantAction(std::uint16_t code) {
    DynScope scope;
    std::uint8_t file = FileResolve(MantScreenFile());
    bool proceed = true;
    ErrCode result = kErrCancelled;
    if (code == kMantDelete) {
        proceed = MsgAsk(StrCopy(MsgText("0025")));
    } else if (file >= 1 && file <= FileCount() && FileCtrl(file).status < kStatusNoRecord && KeyOneChanged(file)) {
        MsgShow(StrCopy(MsgText("0024")), StrEmpty(), kMsgInfo);
        MantRefreshKey(FileCtrl(file).activeKey, kRefreshFound);
        code = 0;  // nothing is written and nothing is read: the command is dropped
    }
    if (!proceed) return result;
    if (ErrCode e = ScreenSnapshot()) return e;
    ErrCode r = MantExecute(file, code);
    if (r >= 1 && r < kErrFirstFailure) ShowMaintenanceMessage(r);
    else if (r >= kErrSerious) ErrShow(r);
    result = r;
    if (r < kErrSerious) {
        std::uint16_t mode = kRefreshPlain;
        if (r == 0 && (code & kMoveBits)) {
            mode = kRefreshNavigated;
        } else if (r < kErrFirstFailure && ((code & kReadPart) != 0 || r >= kStatusDuplicate)) {
            // The record was read again, blanked or cleared for a new one: the fields bound to it
            // show what it holds now. Kept as they were, they would show a contact the record no
            // longer holds (the one deleted, the one before the end of the file, the values a
            // refused save did not write), and what the user typed over them would go elsewhere.
            mode = kRefreshFromFile;
        }
        if (ErrCode e = ScreenRefresh(mode, nullptr, 0)) result = e;
    }
    return result;
}

ErrCode MantFind(StrDesc text, std::uint16_t key) {
    if (text.IsError()) return text.len;
    DynScope scope;
    std::uint8_t file = FileResolve(MantScreenFile());
    StrDesc wanted = Trim(text, kTrimBoth);
    if (wanted.len == 0) {
        MantNextKey(file);
        return kStatusNoRecord;
    }
    ErrCode r = FileFind(file, key, wanted, 0);
    if (r != 0) r = FileFind(file, key, wanted, kFindAtOrAfter);
    r = MantKeyRange(file, r, nullptr);
    SysVarSet(kSysIer, static_cast<std::int16_t>(r));
    if (r != 0) {
        if (r < kErrFirstFailure) ShowMaintenanceMessage(r);
        else if (r >= kErrSerious) ErrShow(r);
        // A row the find loaded (another key than the one sought, or one outside IK$(1)) is the
        // record the next command works on, so the fields show it whole; without one the key's
        // fields keep what was typed into them.
        const bool loaded = r < kErrFirstFailure && FileCtrl(file).status < kStatusNoRecord;
        if (ErrCode e = loaded ? ScreenRefresh(kRefreshFromFile, nullptr, 0) : MantRefreshKey(key, kRefreshPlain)) r = e;
    } else if (ErrCode e = ScreenRefresh(kRefreshFound, nullptr, 0)) {
        r = e;
    }
    return r;
}

ErrCode FnFileLocate(FnArgs& a) {
    StrDesc command;
    std::int16_t file = 0;
    if (ErrCode e = FnArgText(a, 0, StrEmpty(), &command)) return e;
    if (ErrCode e = FnArgInt(a, 1, 0, &file)) return e;
    std::uint16_t code = FnNavigationKey(command);
    if (code == kNoCommand) return kErrSintaxError;
    ErrCode r = MantExecute(static_cast<std::uint8_t>(file), code);
    return r >= kErrSerious ? r : FnInteger(r);
}

}  // namespace rt
