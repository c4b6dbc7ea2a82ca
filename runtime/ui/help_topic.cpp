// Finding a help page and showing one of its topics.
#include "runtime/ui/help_topic.h"

#include "runtime/env/catalog.h"
#include "runtime/env/parm_files.h"
#include "runtime/env/paths.h"
#include "runtime/text/dyn_strings.h"
#include "runtime/text/err_codes.h"
#include "runtime/text/slot_table.h"
#include "runtime/text/text_build.h"
#include "runtime/text/text_clean.h"
#include "runtime/text/text_lists.h"
#include "runtime/ui/message_box.h"

namespace rt {

namespace {

// Topics up to 100 are lines of file type 1, later ones of type 3.
constexpr std::int32_t kLastShortTopic = 100;

// name in the default folder, then in the help folder; empty when in neither. A name with a folder of
// its own is looked for only where it says.
StrDesc Locate(StrDesc name) {
    DynScope scope;
    if (PathPart(name, kPathParent).len != 0)
        return scope.Keep(FindFiles(name).IsError() ? StrEmpty() : StrCopy(name));
    for (std::uint16_t item : {kSlotDefaultFolder, kSlotHelpFolder}) {
        StrDesc folder = SlotGet(kRunGroup, item);
        if (folder.len == 0) continue;
        StrDesc path = PathJoin(folder, name);
        if (!FindFiles(path).IsError()) return scope.Keep(path);
    }
    scope.Release(0);
    return StrEmpty();
}

}  // namespace

ErrCode HelpTopic(StrDesc text) {
    DynScope scope;
    StrDesc page = Trim(Item(text, ',', 1), kTrimBoth);
    const std::int32_t topic = StrToNum(Item(text, ',', 2));
    StrDesc name = page;
    if (name.len == 0) {
        StrDesc code = Item(SlotGet(kRunGroup, kSlotIdentity), ':', 1);
        name = Format(64, "%sHELP.HLP", StrToC(StrDesc{code.ptr, static_cast<std::uint16_t>(code.len < 2 ? code.len : 2)}));
    }
    StrDesc path = Locate(name);
    if (path.len == 0) path = Locate(LangFileName(name, -1));
    if (path.len == 0) return kErrFileNotFound;

    const std::uint16_t type = topic <= kLastShortTopic ? 1 : 3;
    SlotClear(kWorkQueueGroup);
    const std::uint16_t lines = ParmLoadLines(path, type, topic);
    if (lines == 0 || lines == kNone) {
        SlotClear(kWorkQueueGroup);
        return kErrFileNotFound;
    }
    StrDesc caption = StrCopy(SlotPeek(kWorkQueueGroup));
    SlotPop(kWorkQueueGroup);
    StrDesc body = StrEmpty();
    for (std::uint16_t i = 1; i < lines && SlotCount(kWorkQueueGroup) > 0; ++i) {
        body = i == 1 ? StrCopy(SlotPeek(kWorkQueueGroup)) : StrJoin(body, S("\r\n"), SlotPeek(kWorkQueueGroup));
        SlotPop(kWorkQueueGroup);
    }
    MsgInfo(body, caption);
    return 0;
}

}  // namespace rt
