// The transfer command: the mode, the data file, the limit fields, the export fields, the update
// expression and the relational-update type, each from the command text or asked for, then the offer
// to save the definition and the run.
#include "runtime/trans/trans_command.h"

#include "runtime/data/file_table.h"
#include "runtime/data/keys.h"
#include "runtime/env/catalog.h"
#include "runtime/expr/evaluator.h"
#include "runtime/sql/limits_form.h"
#include "runtime/text/dyn_strings.h"
#include "runtime/text/err_codes.h"
#include "runtime/text/text_build.h"
#include "runtime/text/text_clean.h"
#include "runtime/text/text_lists.h"
#include "runtime/trans/trans_ask.h"
#include "runtime/trans/trans_config.h"
#include "runtime/trans/trans_parms.h"
#include "runtime/trans/trans_run.h"
#include "runtime/ui/select_list.h"
#include "runtime/ui/ui_codes.h"
#include "runtime/vars/var_system.h"

namespace rt {
namespace {

// Items of the command text.
enum CommandItem : std::uint16_t { kCmdMode = 1, kCmdFile = 2, kCmdLimits = 3, kCmdUpdate = 6 };

// The spec of the export fields' dialog: a check box per field, ticked by default.
StrDesc FieldChoiceSpec(std::uint8_t file) {
    DynScope scope;
    StrDesc spec = StrEmpty();
    for (std::uint16_t i = 1; i <= FieldCount(file) && !spec.IsError(); ++i) {
        StrDesc name = FieldName(file, i);
        StrDesc entry = Format(0xFFFF, "'%.*s:':'L1'::1", int(name.len), name.ptr);
        spec = i == 1 ? entry : StrJoin(spec, S(","), entry);
    }
    return scope.Keep(spec);
}

// The references of the ticked fields, or the empty text when every field is ticked.
StrDesc TickedFields(std::uint8_t file, StrDesc values) {
    DynScope scope;
    StrDesc list = StrEmpty();
    bool all = true;
    for (std::uint16_t i = 1; i <= FieldCount(file) && !list.IsError(); ++i) {
        StrDesc v = TransAnswerItem(values, i);
        bool ticked = IsYes(v) || (StrToNum(v) & 1) != 0;
        if (!ticked) {
            all = false;
            continue;
        }
        StrDesc ref = FieldRefName(file, i);
        list = list.len == 0 ? ref : StrJoin(list, S(","), ref);
    }
    return scope.Keep(all ? StrEmpty() : list);
}

// The names of the open data files, comma-separated.
StrDesc OpenFileNames() {
    DynScope scope;
    StrDesc list = StrEmpty();
    for (std::uint8_t n = 1; n <= FileCount() && !list.IsError(); ++n) {
        if (FileCtrl(n).openMode == 0) continue;
        StrDesc name = FileName(n, kFileNameBare);
        list = list.len == 0 ? StrCopy(name) : StrJoin(list, S(","), name);
    }
    return scope.Keep(list);
}

// Steps 2 to 7 of the command, filling the transfer's parameters.
ErrCode Prepare(StrDesc command, TransMode mode) {
    // The data file: named by the command, or chosen among the open files.
    StrDesc fileName = Trim(Item(command, ',', kCmdFile), kTrimBoth);
    if (fileName.len == 0) {
        StrDesc names = OpenFileNames();
        std::uint16_t choice = SelectList(MsgText("0085"), names, kSelectOwnWindow | kSelectListBox);
        if (choice == 0 || choice == kNone) return kErrCancelled;
        fileName = Item(names, ',', choice);
    }
    if (ErrCode e = TransParmSet(kTpFile, fileName)) return e;
    std::uint8_t file = FileByName(fileName);
    if (file == 0 || file > FileCount()) file = FileResolve(kCurrentFile);

    // The limit fields: the command's answer, else the choice dialog.
    StrDesc answer = StrEmpty();
    StrDesc limits = Item(command, ',', kCmdLimits);
    if (Trim(limits, kTrimBoth).len != 0) answer = ExpText(limits);
    if (answer.IsError()) return answer.len;
    if (answer.len == 0) answer = LimitsChoose(file);
    if (answer.len == 0) return kErrCancelled;
    std::uint16_t first = 0;
    StrDesc bounds = LimitsSpec(file, answer, &first);
    if (ErrCode e = TransParmSet(kTpAcBound, bounds)) return e;
    std::uint16_t key = first != 0 ? KeyOfField(file, first) : 0;
    if (ErrCode e = TransParmSet(kTpIndex, Format(16, "%u", unsigned(key)))) return e;

    // The export fields.
    if (mode & kTransExternFile) {
        TransAnswer a = TransAsk(MsgText("0096"), FieldChoiceSpec(file));
        if (a.values.len == 0 && SysVar(kSysLastKey) == kKeyEscape) return kErrCancelled;
        if (ErrCode e = TransParmSet(kTpStruct, a.values.len != 0 ? TickedFields(file, a.values) : StrEmpty())) return e;
    }
    // The update expression of an internal update.
    if (!TransHas(mode, kTransUpdate | kTransExternFile | kTransDeleting | kTransIndexChk)) {
        StrDesc update = StrEmpty();
        StrDesc given = Item(command, ',', kCmdUpdate);
        if (Trim(given, kTrimBoth).len != 0) update = ExpText(given);
        if (update.IsError()) return update.len;
        if (update.len == 0) {
            TransAnswer a = TransAsk(MsgText("0099"), MsgText("0100"));
            if (a.status == 0) update = TransAnswerItem(a.values, 1);
        }
        if (update.len == 0) return kErrCancelled;
        if (ErrCode e = TransParmSet(kTpWrExp, update)) return e;
    }
    // The relational-update type: any answer but 0 keeps relational updates on during the run.
    if (TransHas(mode, kTransUpdate | kTransExternFile)) {
        TransAnswer a = TransAsk(MsgText("0087"), MsgText("0094"));
        if (a.status != 0) return kErrCancelled;
        StrDesc type = TransAnswerItem(a.values, 1);
        if (StrToNum(type) != 0)
            if (ErrCode e = TransParmSet(kTpTrigger, type)) return e;
    }
    if (!(mode & kTransBatch)) {
        ErrCode e = TransSaveConfig(mode);
        if (e >= kErrFirstFailure) return e;
    }
    return 0;
}

}  // namespace

ErrCode TransCommand(StrDesc command) {
    DynScope scope;
    command = StrCopy(command);
    std::int16_t n = ExpInteger(Item(command, ',', kCmdMode));
    TransMode mode = static_cast<TransMode>(n);
    if (mode == kTransMenuMode) return scope.Release(TransMenu(Trim(Item(command, ',', kCmdFile), kTrimBoth)));
    TransParmsClear();
    ErrCode e = Prepare(command, mode);
    if (e != 0) {
        TransParmsClear();
        return scope.Release(e);
    }
    return scope.Release(TransRun(StrEmpty(), mode));
}

}  // namespace rt
