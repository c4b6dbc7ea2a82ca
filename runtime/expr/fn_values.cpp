// Value functions: FN#VALN, FN$DATE, FN$MASK, TIME$, CHK#, CHK$, FN#ACUM, _#, _$, ENVRON$.
#include "runtime/env/paths.h"
#include "runtime/text/err_codes.h"
#include "runtime/vars/dates.h"
#include "runtime/expr/evaluator.h"
#include "runtime/expr/exp_budget.h"
#include "runtime/expr/fn_internal.h"
#include "runtime/vars/masks.h"
#include "runtime/vars/parm_syntax.h"
#include "runtime/vars/var_arena_number.h"
#include "runtime/vars/var_arrays.h"
#include "runtime/vars/var_system.h"
#include "runtime/vars/variables.h"
#include "runtime/text/dyn_strings.h"
#include "runtime/text/slot_table.h"
#include "runtime/text/text_build.h"
#include "runtime/text/text_clean.h"
#include "runtime/text/text_lists.h"

namespace rt {

ErrCode FnValn(FnArgs& a) {
    StrDesc t, which;
    if (ErrCode e = FnArgText(a, 0, StrEmpty(), &t)) return e;
    if (ErrCode e = FnArgText(a, 1, S("N"), &which)) return e;
    char letter = which.len ? static_cast<char>(which.ptr[0]) : 'N';
    if (letter >= 'a' && letter <= 'z') letter = static_cast<char>(letter - 'a' + 'A');
    if (letter == 'N') return FnNumber(NumRead(NumClean(t)));
    std::uint16_t code = DateCodeOf(letter);
    if (code == 0) return kErrSintaxError;
    if (!FnGiven(a, 2)) return FnInteger(DatePart(t, code));
    // A shift: a number, or a date text whose whole value is a second date.
    std::int64_t amount = 0;
    if (FnIsText(a, 2)) amount = DatePart(a.value[2], kDateValue);
    else amount = NumInteger(VarNumFromEntry(a.value[2]));
    return FnInteger(DateShift(t, amount, code));
}

namespace {

// The local modification stamp of the first file matching name; false when there is none.
bool FileStampOf(StrDesc name, FileStamp* stamp) {
    DynScope scope;
    StrDesc path = FnFilePath(name);
    return !path.IsError() && FindFileStamp(path, stamp) == 0;
}

}  // namespace

ErrCode FnDate(FnArgs& a) {
    std::int16_t mode = 0;
    if (ErrCode e = FnArgInt(a, 1, 0, &mode)) return e;
    std::uint16_t bits = static_cast<std::uint16_t>(mode);
    StrDesc date;
    if (!FnGiven(a, 0)) {
        date = DateToday();
    } else if (!FnIsText(a, 0)) {
        date = NumText(VarNumFromEntry(a.value[0]));
    } else if (bits & 128) {
        FileStamp s;
        date = FileStampOf(a.value[0], &s) ? Format(16, "%04u%02u%02u", unsigned(s.year), unsigned(s.month), unsigned(s.day))
                                           : StrEmpty();
    } else {
        // DateShow reads a typed date itself; parsing it here first would turn an invalid one into
        // the empty text, which DateShow takes for today.
        date = a.value[0];
    }
    return FnText(DateShow(date, bits & 127));
}

ErrCode FnMask(FnArgs& a) {
    StrDesc mask;
    std::int16_t mode = 255;
    if (ErrCode e = FnArgText(a, 0, StrEmpty(), &mask)) return e;
    if (ErrCode e = FnArgInt(a, 2, 255, &mode)) return e;
    StrDesc value = FnArgAsText(a, 1, StrEmpty());
    return FnText(MaskApply(mask, value, static_cast<std::uint16_t>(mode)));
}

ErrCode FnTime(FnArgs& a) {
    StrDesc t;
    std::int16_t mode = 0;
    if (ErrCode e = FnArgText(a, 0, StrEmpty(), &t)) return e;
    if (ErrCode e = FnArgInt(a, 1, 0, &mode)) return e;
    std::uint16_t bits = static_cast<std::uint16_t>(mode);
    std::int64_t ms = 0;
    if (bits & 128) {
        FileStamp s;
        if (FileStampOf(t, &s)) ms = ((s.hour * 60LL + s.minute) * 60 + s.second) * 1000;
    } else {
        ms = TimeParse(t);
    }
    return FnText(TimeShow(ms, bits & 127));
}

ErrCode FnChoice(FnArgs& a, bool text) {
    std::int64_t n = 0;
    if (ErrCode e = FnArgLong(a, 0, 0, &n)) return e;
    // Only the chosen argument is evaluated.
    std::uint16_t chosen = n != 0 ? 1 : 2;
    if (chosen >= a.count || Trim(a.raw[chosen], kTrimBoth).len == 0) return text ? FnText(StrEmpty()) : FnNumber(0);
    if (ErrCode e = FnArgEval(a, chosen)) return e;
    bool isText = a.kind[chosen] == kArgText;
    if (ErrCode e = FnText(a.value[chosen])) if (e >= kErrFirstFailure) return e;
    return isText == text ? (text ? 1 : 0) : kErrAtypicalType;
}

namespace {

// Adds the value of the addend expression to sum; a text result is read as a number text.
ErrCode AddValue(StrDesc addend, FixedNumber* sum) {
    DynScope scope;
    StrDesc value;
    ErrCode code = FnEvalValue(addend, &value);
    if (code >= kErrFirstFailure) return code;
    FixedNumber n = code == kExpText ? NumRead(value) : VarNumFromEntry(value);
    // Sums hold at the ends of the range as the + operator does.
    *sum = NumAdd(*sum, n);
    return 0;
}

// Additions one FN#ACUM may make; a loop whose condition never turns false ends with 129. Every
// round also spends a unit of the evaluation's work budget, so that nested loops cannot multiply it.
constexpr std::uint32_t kAccumMaxRounds = 1000000;

// ExpCondition with its failures separated: 1 true, 0 false, or a code of 122 and up.
ErrCode Condition(StrDesc text) {
    DynScope scope;
    return ExpCondition(text);
}

}  // namespace

ErrCode FnAccumulate(FnArgs& a) {
    StrDesc addend = FnStripParens(a.raw[0]);
    StrDesc test = a.count > 1 ? FnStripParens(a.raw[1]) : StrEmpty();
    StrDesc step = a.count > 2 ? FnStripParens(a.raw[2]) : StrEmpty();
    StrDesc limitText = a.count > 3 ? FnStripParens(a.raw[3]) : StrEmpty();
    FixedNumber sum = 0;
    if (limitText.len) {
        // Counting form: the test names the integer loop variable, the step its first value.
        if (test.len == 0 || VarKindOf(test) != kVarInteger || FindAny(test, 0, S("'\"{(.0123456789"), kExact) == 0)
            return kErrSintaxError;
        std::int64_t limit = 0;
        {
            DynScope scope;
            StrDesc value;
            ErrCode code = FnEvalValue(limitText, &value);
            if (code >= kErrFirstFailure) return code;
            if (code != kExpNumber) return kErrIncompatibleTypes;
            limit = NumInteger(VarNumFromEntry(value));
        }
        {
            DynScope scope;
            StrDesc init = StrAssemble({test, S("="), step.len ? step : S("0")});
            if (init.IsError()) return init.len;
            if (ErrCode e = ExpRun(init)) return e;
        }
        for (std::uint32_t round = 0;; ++round) {
            if (round == kAccumMaxRounds || !ExpWorkSpend()) return kErrLoopFailure;
            FixedNumber v = 0;
            if (ErrCode e = VarGetNumber(test, &v)) return e;
            std::int64_t i = NumInteger(v);
            if (i > limit) break;
            if (ErrCode e = AddValue(addend, &sum)) return e;
            // The addend may have changed the variable: the step goes from what it holds now.
            if (ErrCode e = VarGetNumber(test, &v)) return e;
            i = NumInteger(v);
            // The variable holds 16 bits: past 32767 it would wrap and never pass the limit.
            if (i >= 32767) break;
            if (ErrCode e = VarSetNumber(test, NumFromInteger(i + 1))) return e;
        }
        return FnNumber(sum);
    }
    // Conditional form. An empty test is true; with no step either, nothing could end the loop.
    if (test.len == 0 && step.len == 0) return kErrSintaxError;
    ErrCode c = test.len ? Condition(test) : 1;
    if (c >= kErrFirstFailure) return c;
    if (c == 1) {
        std::uint32_t round = 0;
        do {
            if (++round > kAccumMaxRounds || !ExpWorkSpend()) return kErrLoopFailure;
            if (ErrCode e = AddValue(addend, &sum)) return e;
            c = Condition(step.len ? step : test);
            if (c >= kErrFirstFailure) return c;
        } while (c == 1);
    }
    return FnNumber(sum);
}

ErrCode FnAccumArray(FnArgs& a) {
    const StrDesc name = VarAccumName();
    if (FnIsText(a, 0)) {
        StrDesc word = a.value[0];
        if (StrEq(word, S("CLS"))) {
            std::int64_t from = 0, to = 0;
            if (ErrCode e = FnArgLong(a, 1, 0, &from)) return e;
            if (ErrCode e = FnArgLong(a, 2, 0, &to)) return e;
            VarArrayShape shape;
            if (!VarArrayInfo(name, &shape)) return FnNumber(0);
            if (from < 0) from = 0;
            if (to > std::int64_t(shape.count)) to = shape.count;
            for (std::int64_t i = from; i < to; ++i) {
                std::int32_t index = static_cast<std::int32_t>(i);
                if (ErrCode e = VarArraySetNumber(name, &index, 1, 0)) return e;
            }
            return FnNumber(0);
        }
        std::int64_t k = 0;
        if (ErrCode e = FnArgLong(a, 1, 0, &k)) return e;
        std::int64_t element = k;
        if (!StrEq(word, S("DIM"))) {
            std::uint16_t position = ItemIndex(VarTextSlot(kSysAcumX), word, ',');
            if (position == 0) return FnNumber(0);
            element = position - 1 + k;
        }
        if (element < 0 || element > 0x7FFFFFFF) return kErrDataOutBound;
        std::int32_t index = static_cast<std::int32_t>(element);
        ErrCode e = VarArrayGet(name, &index, 1);
        return e ? e : 0;
    }
    std::int64_t n = 0, k = 0;
    if (ErrCode e = FnArgLong(a, 0, 0, &n)) return e;
    if (ErrCode e = FnArgLong(a, 1, 0, &k)) return e;
    std::int64_t element = n + k;
    if (element < 0 || element > 0x7FFFFFFF) return kErrDataOutBound;
    std::int32_t index = static_cast<std::int32_t>(element);
    ErrCode e = VarArrayGet(name, &index, 1);
    return e ? e : 0;
}

ErrCode FnSlots(FnArgs& a) {
    std::int16_t group = kUserStackGroup, item = 0;
    StrDesc text;
    if (ErrCode e = FnArgInt(a, 0, kUserStackGroup, &group)) return e;
    if (ErrCode e = FnArgInt(a, 1, 0, &item)) return e;
    if (ErrCode e = FnArgText(a, 2, StrEmpty(), &text)) return e;
    bool store = FnGiven(a, 2);
    if (group < 0 || group >= kSlotGroups) return kErrStrOutBound;
    std::uint16_t g = static_cast<std::uint16_t>(group);
    if (g < kFirstStackGroup) {
        if (item < 0) return kErrSintaxError;
        if (store) {
            if (ErrCode e = SlotSet(g, static_cast<std::uint16_t>(item), text)) return e;
        }
        return FnText(SlotGet(g, static_cast<std::uint16_t>(item)));
    }
    // Stack and queue groups: the item number is no address.
    if (store) {
        if (ErrCode e = SlotPush(g, text)) return e;
    }
    if (item < 0 && SlotCount(g) == 0) return kErrNoData;
    ErrCode r = FnText(SlotPeek(g));
    if (r >= kErrFirstFailure) return r;
    // A negative item pops that many after the read: _$(31;-1) gives the top and removes it.
    for (int i = 0; i < -item; ++i) {
        if (SlotCount(g) == 0) return kErrNoData;
        if (ErrCode e = SlotPop(g)) return e;
    }
    return r;
}

ErrCode FnEnviron(FnArgs& a) {
    StrDesc name;
    std::int16_t n = 1;
    if (ErrCode e = FnArgText(a, 0, StrEmpty(), &name)) return e;
    if (ErrCode e = FnArgInt(a, 1, 1, &n)) return e;
    if (n < 0) return FnText(StrEmpty());
    StrDesc slot = SlotGet(kRunGroup, static_cast<std::uint16_t>(n));
    if (n >= 2) return FnText(slot);
    return FnText(ParmValueList(slot, name));
}

}  // namespace rt
