// FILEFIND, FILEREL, FILESEL's open lists and FN#FLEN of data files.
#include "runtime/access/fn_records.h"

#include <string>

#include "runtime/access/file_read.h"
#include "runtime/access/open_list.h"
#include "runtime/access/relational_read.h"
#include "runtime/data/file_table.h"
#include "runtime/data/record_buffer.h"
#include "runtime/env/errors.h"
#include "runtime/expr/fn_args.h"
#include "runtime/sql/sql_read.h"
#include "runtime/sql/sql_where.h"
#include "runtime/text/dyn_strings.h"
#include "runtime/text/err_codes.h"
#include "runtime/text/slot_table.h"
#include "runtime/text/str_bridge.h"
#include "runtime/vars/var_system.h"

namespace rt {

namespace {

constexpr std::int16_t kFindCondition = 8;
constexpr std::int16_t kFindPartial = 4;
constexpr std::int16_t kKeyPageDown = 29;
constexpr std::int16_t kKeyPageUp = 23;

// A status is the function's number; a failure of 128 and up stops the expression.
ErrCode Status(ErrCode r) { return r >= kErrSerious ? r : FnInteger(r); }

}  // namespace

ErrCode FnFileFind(FnArgs& a) {
    StrDesc text;
    std::int16_t file = 0, key = 0, flags = 0;
    if (ErrCode e = FnArgText(a, 0, StrEmpty(), &text)) return e;
    if (ErrCode e = FnArgInt(a, 1, 0, &file)) return e;
    if (ErrCode e = FnArgInt(a, 2, 0, &key)) return e;
    if (ErrCode e = FnArgInt(a, 3, 0, &flags)) return e;
    std::uint8_t n = FileResolve(static_cast<std::uint8_t>(file));
    if (ErrCode e = FieldCheck(n, kFileOnly)) return e;
    std::uint16_t k = key != 0 ? static_cast<std::uint16_t>(key) : FileCtrl(n).activeKey;
    if (flags & kFindCondition) {
        // From the top of the file, the first record that meets the condition.
        ErrCode r;
        {
            DynScope scope;
            StrDesc condition = SqlWhere(text);
            if (condition.IsError()) return condition.len;
            FileCtrl(n).activeKey = k;
            RecBlank(n, 1);
            FileCtrl(n).status = 0;
            r = FileRead(n, kReadNext, StrEmpty(), condition);
        }
        return Status(r);
    }
    std::uint8_t findFlags = static_cast<std::uint8_t>(flags & (kFindNewWhenMissing | kFindAtOrAfter));
    ErrCode r = FileFind(n, k, text, findFlags);
    if (r == kStatusNoRecord && (flags & kFindPartial) && key != 0)
        r = FileFind(n, k, text, static_cast<std::uint8_t>(findFlags | kFindAtOrAfter));
    return Status(r);
}

ErrCode FnFileRel(FnArgs& a) {
    std::int16_t file = 0, target = 0, relation = 0, flags = 0;
    if (ErrCode e = FnArgInt(a, 0, 0, &file)) return e;
    if (ErrCode e = FnArgInt(a, 1, 0, &target)) return e;
    if (ErrCode e = FnArgInt(a, 2, 0, &relation)) return e;
    if (ErrCode e = FnArgInt(a, 3, 0, &flags)) return e;
    StrDesc text = StrEmpty();
    if (a.pieces > 4 && a.offset[4] <= a.all.len)
        text = StrDesc{a.all.ptr + a.offset[4], static_cast<std::uint16_t>(a.all.len - a.offset[4])};
    flags = static_cast<std::int16_t>(flags | kRelAlways);
    std::int16_t lastKey = SysVar(kSysLastKey);
    if (!(flags & kRelKeepReadOn) && lastKey != kKeyPageDown && lastKey != kKeyPageUp)
        flags = static_cast<std::int16_t>(flags & ~kRelReadOn);
    return Status(RelationalRead(static_cast<std::uint8_t>(file), static_cast<std::uint8_t>(target),
                                 static_cast<std::uint16_t>(relation), static_cast<std::uint8_t>(flags), text));
}

ErrCode FnFileSelectList(FnArgs& a) {
    StrDesc list;
    if (ErrCode e = FnArgText(a, 0, StrEmpty(), &list)) return e;
    ErrCode r;
    if (StrEq(list, S("RESTORE"))) {
        if (SlotCount(kOpenListGroup) == 0) return ErrSetText(kErrInternal, S("FILESEL('RESTORE')"));
        SlotPop(kOpenListGroup);
        // The list now on top, or none: every data file closed.
        std::string modes = SlotCount(kOpenListGroup) ? StrToStd(SlotPeek(kOpenListGroup)) : std::string();
        r = FileApplyVector(modes);
    } else {
        std::string modes;
        r = FileOpenVector(list, &modes);
        if (r == 0) r = SlotPush(kOpenListGroup, StrViewStd(modes));
        if (r == 0) r = FileApplyVector(modes);
    }
    return r >= kErrFirstFailure ? r : FnInteger(r);
}

ErrCode FnFileRows(std::uint8_t file) {
    std::uint32_t rows;
    {
        DynScope scope;
        rows = SqlCount(SqlCountSelect(file, 0, StrEmpty(), StrEmpty(), StrEmpty()));
    }
    return FnInteger(rows);
}

}  // namespace rt
