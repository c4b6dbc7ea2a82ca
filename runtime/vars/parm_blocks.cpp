// The parameter-block stack and the numbered parameter names read from its top block.
#include "runtime/vars/parm_blocks.h"

#include "runtime/env/parm_files.h"
#include "runtime/text/err_codes.h"
#include "runtime/vars/parm_syntax.h"
#include "runtime/vars/var_system.h"
#include "runtime/vars/variables.h"
#include "runtime/text/dyn_strings.h"
#include "runtime/text/slot_table.h"
#include "runtime/text/text_build.h"
#include "runtime/text/text_clean.h"
#include "runtime/text/text_lists.h"
#include "runtime/text/text_search.h"

namespace rt {
namespace {

struct NameList {
    std::uint16_t base;
    StrDesc names;
};

// Highest base first, so that the first base not above a number is its list.
constexpr NameList kNameLists[] = {
    {100, S("ACCEPT_PRC%,WINNAME$,PROG_MODE$,PARM_FILE$,PARM_FILE_WRITE$,SOURCEFILE%,IMP_MODE%,RD_EXP$,WR_EXP$,"
            "EOT_EXP$,RD_COND$,TARGET$,LOAD_IMPORT$,MNU_IMPORT$,AUTO_IMPORT$,STRUCT$")},
    {90, S("DEVICE$,DOCNAME$,ACBOUND$,INDEX%,LIMITS$,AUXLOAD$,RESET$,STEPS$,PRCNAME$")},
    {70, S("ATEND$,BRKEND$,BREAK$,COND$,MAXLINE%,LINESTEP%,TOTALBASE%,CONTINUE%,EXTRASTEP%,TITLE$,WD")},
    {50, S("FD$,ALARM$,ASSIGN$,LNASSIGN$,FILEDEF$,PERFORM$,UPDFIELDS$,WIDTHS$,TYPES$,WINDOWS$,CLEAR$,ON_CONFIRM$,"
           "ON_CANCEL$,USR_COND$,IK$(1),IK$(2),IK$(3)")},
    {30, S("NUMCAB$,WRITECAB0$,WRITECABS$,WRITELINS$,FITCLC$,FTCLC$,READCABS$,READLINS$,LNINS$,LNDEL$,ALARMLINS$,"
           "BOUNDS$,DOCTYPETXT$,MODE$,FASTFIND$,FLDUPDATE$,BEGINFLD%,MAXLIN%")},
    {10, S("SCREENSIZE$,SET$,OPEN$,EDIT$,NOEDIT$,WRITE$,DOC$,DOCSETS$,HELP$,SAVED$,HIDDEN$,RELOPT%,UNICNDX%,"
           "AUTONDX%,KEYMAP%,SCANDEF$,SCANWIN$,SCANSET$,VOIDMODE%")},
    {0, S("MODULES$,MENU$,CALLER$,SUBMENU$,LOAD$,EXEC$,COUNTER$,MAX_IDS_ATTR%,STATMSG$")},
};

// The name without the _AUX prefix.
StrDesc BareName(std::uint16_t number) {
    for (const NameList& l : kNameLists) {
        if (number < l.base) continue;
        std::uint16_t n = static_cast<std::uint16_t>(number - l.base);
        return n == 0 ? StrEmpty() : Item(l.names, ',', n);
    }
    return StrEmpty();
}

}  // namespace

StrDesc ParmName(std::uint16_t number) {
    StrDesc name = BareName(number);
    std::int16_t aux = VarIntSlot(kSysAux);
    if (name.len == 0 || aux == 0) return name;
    DynScope scope;
    StrDesc prefix = Item(SlotGet(kRunTextsGroup, kSlotParmPrefixes), ',', static_cast<std::uint16_t>(aux));
    return scope.Keep(StrAssemble({prefix, S("."), name}));
}

ErrCode ParmPush(StrDesc file, std::uint16_t type, std::int32_t identifier) {
    std::uint16_t before = SlotCount(kWorkQueueGroup);
    std::uint16_t n = ParmLoadLines(file, type, identifier);
    if (n == kNone || n == 0) return kNone;
    DynScope scope;
    // Join the queued contents head first into one allocation, so that a block of many lines
    // needs no more of the arena than its own length.
    std::uint32_t total = n - 1u;
    for (std::uint16_t i = 0; i < n; ++i) total += SlotGet(kWorkQueueGroup, before + i).len;
    StrDesc block = total > 0xFFFF ? StrError(kErrStringTooLong) : DynAlloc(static_cast<std::uint16_t>(total));
    if (!block.IsError()) {
        std::uint16_t at = 0;
        for (std::uint16_t i = 0; i < n; ++i) {
            if (i != 0) block.mut()[at++] = ':';
            at = StrPutAt(SlotGet(kWorkQueueGroup, before + i), block.mut(), at).len;
        }
    }
    // The lines leave the queue whatever happened, so that no later reader takes them for its own.
    for (std::uint16_t i = 0; i < n; ++i) SlotDelete(kWorkQueueGroup, before);
    if (block.IsError()) return scope.Release(block.len);
    return scope.Release(SlotPush(kParmStackGroup, block));
}

ErrCode ParmPushOrEmpty(StrDesc file, std::uint16_t type, std::int32_t identifier) {
    ErrCode e = ParmPush(file, type, identifier);
    if (e == kNone) return SlotPush(kParmStackGroup, StrEmpty());
    return e;
}

ErrCode ParmPop() { return SlotPop(kParmStackGroup); }

StrDesc ParmTopBlock() { return SlotPeek(kParmStackGroup); }

StrDesc ParmTop(StrDesc name) {
    DynScope scope;
    return scope.Keep(ParmValue(ParmTopBlock(), name));
}

StrDesc ParmTopByNumber(std::uint16_t number) {
    DynScope scope;
    return scope.Keep(ParmTop(ParmName(number)));
}

StrDesc ParmFrom(StrDesc block, std::uint16_t number, std::uint16_t item) {
    DynScope scope;
    StrDesc name = ParmName(number);
    bool found = false;
    StrDesc value = ParmValueList(block, name, &found);
    if (!found && VarIntSlot(kSysAux) != 0) {
        name = BareName(number);
        value = ParmValueList(block, name, &found);
    }
    if (!found && name.len != 0 && FindChar(name, 0, '(', kExact) == kNone) {
        // A setting that the block lacks comes from the variable of the same name, '%' removed.
        StrDesc varName = ReplaceAll(name, S("%"), S(""), kExact);
        value = VarGetText(varName);
        if (value.IsError()) value = StrEmpty();
    }
    if (item != 0) value = Item(value, ',', item);
    return scope.Keep(value);
}

}  // namespace rt
