// The menu of saved transfer definitions: the names of block 0 offered in a list, the chosen block
// pushed while its transfer runs, its data files opened and restored around the run.
#include "runtime/trans/trans_command.h"

#include "runtime/data/file_table.h"
#include "runtime/env/catalog.h"
#include "runtime/expr/evaluator.h"
#include "runtime/text/dyn_strings.h"
#include "runtime/text/err_codes.h"
#include "runtime/text/text_build.h"
#include "runtime/text/text_clean.h"
#include "runtime/trans/trans_config.h"
#include "runtime/trans/trans_parms.h"
#include "runtime/trans/trans_run.h"
#include "runtime/ui/message_box.h"
#include "runtime/ui/select_list.h"
#include "runtime/vars/parm_blocks.h"

namespace rt {
namespace {

// Numbered parameters of a definition's block.
constexpr std::uint16_t kParmOpen = 13;    // OPEN$
constexpr std::uint16_t kParmRelOpt = 22;  // RELOPT%
constexpr StrDesc kModeParm = S("TRANSPARMSMODE%");
constexpr StrDesc kTargetParm = S("TARGET$");
constexpr StrDesc kTriggerEnable = S("ENABLE");

// FILESEL of the expression language with one text: an open list applied and kept, or RESTORE.
ErrCode FileSelect(StrDesc list) {
    DynScope scope;
    StrDesc quoted = QuoteAuto(list, '\'');
    if (quoted.IsError()) return quoted.len;
    return ExpRun(StrAssemble({S("FILESEL("), quoted, S(")")}));
}

// Runs the definition on top of the block stack.
ErrCode RunDefinition(bool* stop) {
    DynScope scope;
    StrDesc open = StrCopy(ParmTopByNumber(kParmOpen));
    StrDesc relOpt = StrCopy(ParmTopByNumber(kParmRelOpt));
    if (open.len != 0) {
        if (ErrCode e = FileSelect(open)) {
            *stop = true;
            return e;
        }
    }
    TransParmsClear();
    // Relational options given with the data files keep the relational updates on during the run.
    if (open.len != 0 && relOpt.len != 0 && FileCount() != 0) TransParmSet(kTpTrigger, kTriggerEnable);
    TransMode mode = static_cast<TransMode>(StrToNum(ParmTop(kModeParm)));
    StrDesc target = StrCopy(ParmTop(kTargetParm));
    ErrCode result = TransRun(target, mode);
    TransParmsClear();
    if (open.len != 0) FileSelect(S("RESTORE"));
    return result;
}

}  // namespace

ErrCode TransMenu(StrDesc file) {
    DynScope scope;
    StrDesc path = TransDefinitionsFile(file);
    for (;;) {
        std::uint16_t mark = DynMark();
        StrDesc names = TransDefinitionNames(path);
        if (names.IsError() || names.len == 0) {
            MsgShow(MsgText("0007"), StrEmpty(), kMsgWarning);
            return scope.Release(kErrNoData);
        }
        std::uint16_t choice = SelectList(MsgText("0098"), names, kSelectOwnWindow | kSelectListBox);
        DynRelease(mark);
        if (choice == 0 || choice == kNone) return scope.Release(kErrData);
        if (ParmPush(path, kTransDefinitionsType, choice) != 0) return scope.Release(kErrData);
        bool stop = false;
        RunDefinition(&stop);
        ParmPop();
        if (stop) return scope.Release(kErrData);
    }
}

}  // namespace rt
