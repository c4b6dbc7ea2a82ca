// Saves the running transfer as a definition of the definitions file, which the transfer menu
// offers afterwards.
#include "runtime/trans/trans_config.h"

#include "runtime/env/catalog.h"
#include "runtime/env/errors.h"
#include "runtime/env/paths.h"
#include "runtime/text/dyn_strings.h"
#include "runtime/text/err_codes.h"
#include "runtime/text/slot_table.h"
#include "runtime/text/text_build.h"
#include "runtime/text/text_lists.h"
#include "runtime/text/text_search.h"
#include "runtime/trans/trans_ask.h"
#include "runtime/trans/trans_block_file.h"
#include "runtime/trans/trans_parms.h"
#include "runtime/ui/error_box.h"
#include "runtime/ui/message_box.h"
#include "runtime/vars/parm_blocks.h"

namespace rt {
namespace {

constexpr StrDesc kNamesParm = S("FD$");
constexpr StrDesc kModeParm = S("TRANSPARMSMODE%");
constexpr std::uint16_t kAppCodeChars = 2;

}  // namespace

StrDesc TransDefinitionsFile(StrDesc given) {
    if (!given.IsError() && given.len != 0) return StrCopy(given);
    DynScope scope;
    StrDesc code = Item(SlotGet(kRunGroup, kSlotIdentity), ':', 1);
    if (code.len > kAppCodeChars) code.len = kAppCodeChars;
    StrDesc name = StrConcat(code, S("trans.ppn"));
    return scope.Keep(PathJoin(FolderOf(kFolderData), name));
}

StrDesc TransDefinitionNames(StrDesc file) {
    DynScope scope;
    StrDesc path = StrCopy(file);
    if (ErrCode e = ParmPushOrEmpty(path, kTransDefinitionsType, 0)) return scope.Keep(StrError(e));
    StrDesc names = StrCopy(ParmTop(kNamesParm));
    ParmPop();
    return scope.Keep(names);
}

ErrCode TransDefinitionSave(StrDesc file, StrDesc name, TransMode mode) {
    DynScope scope;
    if (name.IsError() || name.len == 0) return scope.Release(kErrCancelled);
    StrDesc path = StrCopy(file);
    StrDesc names = TransDefinitionNames(path);
    if (names.IsError()) return scope.Release(names.len);
    if (FindChar(name, 0, ',', kExact) != kNone || ItemIndex(names, name, ',') != 0)
        return scope.Release(ErrSetText(kErrFileExists, name));
    std::uint16_t n = static_cast<std::uint16_t>(ItemCount(names, ',') + 1);

    StrDesc block = Format(64, "%.*s=%u", int(kModeParm.len), kModeParm.ptr, unsigned(mode));
    for (std::uint16_t i = 1; i <= kTransParmCount && !block.IsError(); ++i) {
        StrDesc value = StrCopy(TransParm(i));
        if (value.len == 0) continue;
        // A value holding '"' is kept in apostrophes (163 when it holds both quotes).
        StrDesc line = StrAssemble({TransParmName(i), S("="), QuoteAuto(value, '"')});
        block = line.IsError() ? line : StrJoin(block, S(":"), line);
    }
    if (block.IsError()) return scope.Release(block.len);
    if (ErrCode e = TransBlockRewrite(path, kTransDefinitionsType, n, block)) return scope.Release(e);

    StrDesc list = names.len == 0 ? StrCopy(name) : StrJoin(names, S(","), name);
    StrDesc first = StrAssemble({kNamesParm, S("="), QuoteAuto(list, '"')});
    if (first.IsError()) return scope.Release(first.len);
    return scope.Release(TransBlockRewrite(path, kTransDefinitionsType, 0, first));
}

ErrCode TransSaveConfig(TransMode mode) {
    DynScope scope;
    if (!MsgAsk(MsgText("0097"))) return scope.Release(0);
    StrDesc file = TransDefinitionsFile(StrEmpty());
    for (;;) {
        std::uint16_t mark = DynMark();
        TransAnswer a = TransAsk(StrEmpty(), MsgText("0056"));
        if (a.status != 0) return scope.Release(TransAskOutcome(a));
        StrDesc name = TransAnswerItem(a.values, 1);
        ErrCode e = name.len == 0 ? ErrCode{kErrCancelled} : TransDefinitionSave(file, name, mode);
        DynRelease(mark);
        if (e != kErrFileExists) return scope.Release(e);
        ErrShow(e);
    }
}

}  // namespace rt
