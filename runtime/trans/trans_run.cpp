// Runs one transfer: the interactive start (the external file asked for), the preparation of the
// parameters and the data file, the limits (dialog or LIMITS$), the dispatch to the mass SQL update,
// the count or the record loop, the relational-update switch around it, and the outcome.
#include "runtime/trans/trans_run.h"

#include <string>

#include "runtime/data/fields.h"
#include "runtime/data/file_table.h"
#include "runtime/data/keys.h"
#include "runtime/env/catalog.h"
#include "runtime/env/errors.h"
#include "runtime/env/paths.h"
#include "runtime/expr/evaluator.h"
#include "runtime/sql/sql_literals.h"
#include "runtime/sql/sql_read.h"
#include "runtime/sql/sql_write.h"
#include "runtime/sql/sql_where.h"
#include "runtime/text/dyn_strings.h"
#include "runtime/text/err_codes.h"
#include "runtime/text/slot_table.h"
#include "runtime/text/str_bridge.h"
#include "runtime/text/text_build.h"
#include "runtime/text/text_clean.h"
#include "runtime/text/text_lists.h"
#include "runtime/text/text_search.h"
#include "runtime/trans/trans_ask.h"
#include "runtime/trans/trans_low.h"
#include "runtime/trans/trans_parms.h"
#include "runtime/ui/error_box.h"
#include "runtime/ui/file_select.h"
#include "runtime/ui/file_utils.h"
#include "runtime/ui/message_box.h"
#include "runtime/ui/progress.h"
#include "runtime/vars/masks.h"
#include "runtime/vars/var_system.h"

namespace rt {
namespace {

constexpr StrDesc kFileNumberChars = S(".-1234567890");
constexpr StrDesc kTriggerDisable = S("DISABLE");
constexpr std::uint16_t kUpRelationalBit = 1;
constexpr std::uint16_t kMessageMax = 512;
constexpr unsigned char kNoBound = 0xFF;  // a last key of this one byte is no bound

StrDesc View(const std::string& s) { return StrDesc{s.data(), static_cast<std::uint16_t>(s.size())}; }

// The data file FILE names: a number, a name, or (empty) the current file; 0 when none is registered.
std::uint8_t ResolveFile(StrDesc text) {
    std::uint8_t n = 0;
    if (text.len == 0) {
        n = FileResolve(kCurrentFile);
    } else if (KeepChars(text, kFileNumberChars).len == text.len) {
        n = static_cast<std::uint8_t>(StrToNum(text));
    } else {
        // A plain block value comes back in upper case; data files are registered in lower case.
        n = FileByName(text);
        if (n == 0) {
            DynScope scope;
            n = FileByName(CaseFold(text, kCaseLower));
        }
    }
    return n >= 1 && n <= FileCount() ? n : 0;
}

// The text of message "0101" for a count and the file, as the informative code 121.
ErrCode CountMessage(std::uint32_t count, std::uint8_t file) {
    DynScope scope;
    StrDesc number = Format(16, "%lu", static_cast<unsigned long>(count));
    StrDesc text = FormatText(kMessageMax, MsgText("0101"), StrToC(number), StrToC(FileName(file, kFileNameBare)));
    return ErrSetText(kErrDetailMessage, text.IsError() ? StrEmpty() : text);
}

// Steps of the preparation: counters, parameters, SET$, the data file, the IS_SQL field list.
ErrCode Prepare(StrDesc target, TransMode mode, TransRunState* run) {
    SysCount32Set(0);
    if (ErrCode e = TransParmsFromBlock(target, mode)) return e;
    if (TransHas(mode, kTransExternIndexed | kTransUsrUpdate)) return kErrFeatureRemoved;
    {
        DynScope scope;
        StrDesc set = StrCopy(TransParm(kTpSet));
        if (set.len != 0) {
            ErrCode r = ExpEval(set);
            if (r >= kErrSerious) return r;
        }
    }
    std::uint8_t file = 0;
    {
        DynScope scope;
        file = ResolveFile(StrCopy(TransParm(kTpFile)));
    }
    while (file == 0) {
        if (mode & kTransBatch) return ErrSetText(kErrData, S("FILE"));
        DynScope scope;
        TransAnswer a = TransAsk(MsgText("0055"), MsgText("0056"));
        if (a.status != 0) return TransAskOutcome(a);
        StrDesc name = TransAnswerItem(a.values, 1);
        if (name.len == 0) return kErrCancelled;
        file = ResolveFile(name);
    }
    FileSelect(file);
    run->file = file;
    run->mode = mode;
    run->target = StrToStd(target);

    // An SQL transfer into another data file takes the fields of the same name, position by position.
    std::uint8_t other = TransHas(mode, kTransIsSql) ? FileByName(target) : 0;
    if (other != 0 && other <= FileCount() && other != file && TransParm(kTpStruct).len == 0) {
        DynScope scope;
        StrDesc list = StrEmpty();
        for (std::uint16_t i = 1; i <= FieldCount(other) && !list.IsError(); ++i) {
            StrDesc name = StrCopy(FieldName(other, i));
            std::uint16_t same = FieldByName(file, name);
            StrDesc ref = same != kNone ? FieldRefName(file, same) : FieldRefName(other, i);
            list = i == 1 ? ref : StrJoin(list, S(","), ref);
        }
        if (list.IsError()) return list.len;
        if (ErrCode e = TransParmSet(kTpStruct, list)) return e;
    }

    // The ordering key: INDEX$, else key 1 (in BATCHMODE the file's current key); 0 means key 1.
    {
        DynScope scope;
        StrDesc index = StrCopy(TransParm(kTpIndex));
        std::int32_t key = index.len != 0 ? ExpInteger(index) : ((mode & kTransBatch) ? FileCtrl(file).activeKey : 1);
        run->key = key >= 1 && key <= KeyCount(file) ? static_cast<std::uint16_t>(key) : 1;
    }
    return 0;
}

// The range and the condition: the limits dialog outside BATCHMODE when ACBOUND$ is given, else
// LIMITS$ (each item evaluated); 122 when the dialog was cancelled.
ErrCode Limits(TransRunState* run) {
    DynScope scope;
    StrDesc bounds = StrCopy(TransParm(kTpAcBound));
    if (bounds.len != 0 && !(run->mode & kTransBatch)) {
        TransAnswer a = TransAsk(MsgText("0057"), bounds);
        if (a.status != 0 || a.values.len == 0) return kErrCancelled;
        run->low = StrToStd(Unquote(Trim(Item(a.values, ',', 1), kTrimBoth)));
        run->high = StrToStd(Unquote(Trim(Item(a.values, ',', 2), kTrimBoth)));
        if (a.condition.len != 0) {
            StrDesc cond = StrCopy(TransParm(kTpCond));
            StrDesc joined = cond.len != 0 ? StrAssemble({a.condition, S("&&"), cond}) : a.condition;
            if (joined.IsError()) return joined.len;
            if (ErrCode e = SlotSet(kTransParmsGroup, kTpCond, joined)) return e;
        }
        return 0;
    }
    StrDesc limits = StrCopy(TransParm(kTpLimits));
    for (std::uint16_t i = 1; i <= 2; ++i) {
        StrDesc item = Item(limits, ',', i);
        StrDesc value = Trim(item, kTrimBoth).len != 0 ? ExpText(item) : StrEmpty();
        if (value.IsError()) return value.len;
        (i == 1 ? run->low : run->high) = StrToStd(value);
    }
    return 0;
}

// A bound of a key whose first field is a number, in that field's stored form (right-aligned in
// its width), as the key values it is compared with are: typed as "1" it would sort after "10" and
// reach the server as a text. A bound longer than the field, or of a key of texts, stays as given.
std::string NumericKeyBound(const TransRunState& run, const std::string& bound) {
    if (bound.empty() || (bound.size() == 1 && static_cast<unsigned char>(bound[0]) == kNoBound)) return bound;
    KeyFieldList list = KeyFields(run.file, run.key);
    if (list.count == 0) return bound;
    FieldDesc first = FieldInfo(run.file, list.fields[0]);
    if (!SqlNumericType(first.type) || bound.size() > first.width) return bound;
    DynScope scope;
    StrDesc stored = FieldToStore(first.type, View(bound), first.width);
    return stored.IsError() ? bound : StrToStd(stored);
}

void NumericKeyBounds(TransRunState* run) {
    run->low = NumericKeyBound(*run, run->low);
    run->high = NumericKeyBound(*run, run->high);
}

// The last key as a bound of the server's statements: filled up to the key's length with the
// highest byte, so that it takes every key that starts with it, as the record loop's range does; an
// open last key is no bound.
std::string CountHigh(const TransRunState& run) {
    if (run.high.empty()) return std::string(1, '\xFF');
    std::string high = run.high;
    std::uint16_t length = KeyLength(run.file, run.key, 0);
    if (high.size() < length) high.append(length - high.size(), '\xFF');
    return high;
}

// The records of the range that satisfy COND$, counted by the server.
std::uint32_t CountRange(const TransRunState& run) {
    DynScope scope;
    StrDesc cond = StrCopy(TransParm(kTpCond));
    StrDesc where = cond.len != 0 ? SqlWhere(cond) : StrEmpty();
    if (where.IsError()) return 0;
    std::string high = CountHigh(run);
    return SqlCount(SqlCountSelect(run.file, run.key, View(run.low), View(high), where));
}

// The mass SQL update: the records of the range that satisfy COND$ counted, the user asked (outside
// BATCHMODE), and all of them updated by one statement with WREXP$ as its SET list.
ErrCode MassUpdate(TransRunState* run) {
    std::uint32_t count = CountRange(*run);
    if (count == 0) return kErrCancelled;
    DynScope scope;
    if (!(run->mode & kTransBatch) &&
        !MsgAsk(Format(64, "%lu records. Proceed?", static_cast<unsigned long>(count))))
        return kErrCancelled;
    StrDesc set = StrCopy(TransParm(kTpWrExp));
    StrDesc cond = StrCopy(TransParm(kTpCond));
    ErrCode rows = SqlUpdateWhere(run->file, run->key, View(run->low), View(CountHigh(*run)), set, cond, true);
    if (rows == kNone) return kErrSqlError;
    run->count = rows;
    SysCount32Set(rows);
    return 0;
}

ErrCode Dispatch(TransRunState* run) {
    TransMode mode = run->mode;
    bool switchOff = false;
    if (TransHas(mode, kTransUpdate | kTransExternFile)) {
        DynScope scope;
        StrDesc trigger = StrCopy(TransParm(kTpTrigger));
        switchOff = trigger.len == 0 || StrEq(CaseFold(trigger, kCaseUpper), kTriggerDisable);
    }
    if (switchOff) SysBitsSet(kSysUpStat, static_cast<std::uint16_t>(SysBits(kSysUpStat) & ~kUpRelationalBit));
    ErrCode e = Limits(run);
    if (e == 0) NumericKeyBounds(run);
    if (e == 0) {
        if ((mode & (kTransMassSqlUpdate | kTransExternFile | kTransDeleting)) == kTransMassSqlUpdate) {
            e = MassUpdate(run);
        } else if (mode & kTransIndexChk) {
            std::uint32_t count = CountRange(*run);
            run->count = count;
            SysCount32Set(count);
            e = CountMessage(count, run->file);
        } else {
            e = FileTransLow(*run);
        }
    }
    if (switchOff) SysBitsSet(kSysUpStat, static_cast<std::uint16_t>(SysBits(kSysUpStat) | kUpRelationalBit));
    return e;
}

// The interactive form's progress: a bar when the amount of work is known, else the key's text.
struct ProgressContext {
    std::uint32_t total = 0;
};

ErrCode InteractiveProgress(void* context, StrDesc keyText, std::uint32_t step) {
    const ProgressContext* p = static_cast<const ProgressContext*>(context);
    std::uint16_t s = static_cast<std::uint16_t>(step > 0xFFFF ? 0xFFFF : step);
    return p->total != 0 ? ProgressStep(p->total, s, keyText) : ProgressText(0, s, keyText);
}

// The external file asked for: 0 with *target set, or 122.
ErrCode AskTarget(TransMode* mode, std::string* target) {
    DynScope scope;
    StrDesc chosen = FileSelectKind(!(*mode & kTransImport), kFileRestoreFolder);
    if (chosen.len == 0) return kErrCancelled;
    TransAnswer a = TransAsk(MsgText("0088"), FormatText(0xFFFF, MsgText("0095"), StrToC(chosen)));
    if (a.status != 0) return kErrCancelled;
    StrDesc name = TransAnswerItem(a.values, 1);
    if (name.len == 0) return kErrCancelled;
    StrDesc append = TransAnswerItem(a.values, 2);
    if (IsYes(append) || (StrToNum(append) & 1) != 0) *mode |= kTransAppend;
    *target = StrToStd(name);
    return 0;
}

}  // namespace

ErrCode TransRunBatch(StrDesc target, TransMode mode, const TransHooks& hooks) {
    std::string name = StrToStd(target);
    mode = TransModeFromBlock(View(name), mode);
    TransRunState run;
    ErrCode e = Prepare(View(name), mode, &run);
    if (e == 0) {
        run.hooks = hooks;
        e = Dispatch(&run);
    }
    TransParmsClear();
    return e;
}

ErrCode TransRun(StrDesc target, TransMode mode) {
    std::string name = StrToStd(target);
    if ((mode & kTransExternFile) && name.empty()) {
        if (ErrCode e = AskTarget(&mode, &name)) {
            TransParmsClear();
            return e;
        }
    }
    mode = TransModeFromBlock(View(name), mode);
    TransRunState run;
    ErrCode e = Prepare(View(name), mode, &run);
    if (e == 0) {
        // The work is known for an import of fixed-width records from a named file: twice its size.
        ProgressContext progress;
        if (TransIsExternImport(mode) && !TransHas(mode, kTransDelimited | kTransExternIndexed | kTransIsSql) &&
            TransStdHandle(View(name)) == kNone) {
            DynScope scope;
            StrDesc path = StrCopy(TransParm(kTpTarPath));
            progress.total = 2 * FileSizeOf(path.len != 0 ? PathJoin(path, View(name)) : View(name));
        }
        run.hooks.progress = InteractiveProgress;
        run.hooks.context = &progress;
        ProgressOpen(0, progress.total);
        {
            DynScope scope;
            ProgressCaption(StrConcat(MsgText("0016"), PathPart(View(name), kPathName)));
        }
        e = Dispatch(&run);
        ProgressClose();
    }
    if (e != kErrCancelled && !(mode & kTransBatch)) {
        if (e == 0) e = CountMessage(SysCount32(), run.file);
        // "No hay datos" is told to the user in place of the count, although codes up to 127 are
        // otherwise never shown.
        if (e == kErrNoData) {
            DynScope scope;
            ErrSetText(kErrDetailMessage, StrCopy(ErrText(kErrNoData)));
            ErrShow(kErrDetailMessage);
        } else {
            ErrShow(e);
        }
    }
    TransParmsClear();
    return e;
}

}  // namespace rt
