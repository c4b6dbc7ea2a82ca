// Text templates: [...] sections of a text replaced by names' values or by expression values.
#include "runtime/env/options.h"
#include "runtime/env/paths.h"
#include "runtime/expr/builtin_functions.h"
#include "runtime/expr/evaluator.h"
#include "runtime/expr/exp_budget.h"
#include "runtime/expr/fn_internal.h"
#include "runtime/text/err_codes.h"
#include "runtime/vars/parm_syntax.h"
#include "runtime/vars/var_arena_number.h"
#include "runtime/text/dyn_strings.h"
#include "runtime/text/text_build.h"
#include "runtime/text/text_clean.h"

namespace rt {

namespace {

// Expansions one template may make; a template whose replacements keep producing sections (with
// kMacroRescan) ends with 129 instead of running forever. Each replacement also spends a unit of the
// evaluation's work budget.
constexpr std::uint32_t kMacroMaxRounds = 10000;

// The value of a section looked up as a name: in the given pairs, among the options, in the
// environment. Empty when nothing was found.
StrDesc NameValue(StrDesc name, StrDesc names) {
    StrDesc v = ParmValueList(names, name);
    if (!v.IsError() && v.len) return v;
    v = OptValue(name);
    if (!v.IsError() && v.len) return v;
    v = EnvValue(name);
    return v.IsError() ? StrEmpty() : v;
}

// The replacement of one section; an error descriptor ends the expansion.
StrDesc Replacement(StrDesc section, std::uint16_t mode, StrDesc names) {
    if (mode & kMacroNames) {
        StrDesc v = NameValue(section, names);
        if (v.len) return v;
    }
    if (section.len && section.ptr[section.len - 1] == '%') return (mode & kMacroNames) ? StrEmpty() : section;
    StrDesc value;
    ErrCode code = FnEvalValue(section, &value);
    if (code >= kErrFirstFailure) return StrError(code);
    if (code == kExpText) return value;
    FixedNumber n = VarNumFromEntry(value);
    if (n == 0) return (mode & kMacroZeroEmpty) ? StrEmpty() : S("0");
    return NumText(n);
}

}  // namespace

StrDesc TextMacro(StrDesc text, std::uint16_t mode, StrDesc names) {
    if (text.IsError()) return text;
    const SearchMode search = (mode & kMacroSeeQuotes) ? kExact : kQuoteAware;
    std::uint16_t mark = DynMark();
    StrDesc current = StrCopy(text);
    if (current.IsError()) return current;
    std::uint16_t from = 0;
    for (std::uint32_t round = 0;; ++round) {
        if (round == kMacroMaxRounds) {
            DynRelease(mark);
            return StrError(kErrLoopFailure);
        }
        std::uint16_t close = FindChar(current, from, ']', search);
        if (close == kNone) break;
        std::uint16_t open = FindLast(StrMake(current.ptr, close), '[', search);
        if (open == kNone || open < from) {
            from = static_cast<std::uint16_t>(close + 1);
            continue;
        }
        StrDesc section = StrMake(current.ptr + open + 1, static_cast<std::uint16_t>(close - open - 1));
        StrDesc r = ExpWorkSpend() ? Replacement(section, mode, names) : StrError(kErrLoopFailure);
        if (r.IsError()) {
            DynRelease(mark);
            return r;
        }
        if (!(mode & kMacroNoTrim)) r = TrimSet(r, kTrimBoth, S(" "));
        if (mode & kMacroQuote) r = Wrap(r, (mode & kMacroDouble) ? '"' : '\'');
        StrDesc next = StrAssemble({StrMake(current.ptr, open), r,
                                    StrMake(current.ptr + close + 1, static_cast<std::uint16_t>(current.len - close - 1))});
        if (next.IsError()) {
            DynRelease(mark);
            return next;
        }
        std::uint16_t rlen = r.len;
        current = DynKeep(mark, next);
        from = (mode & kMacroRescan) ? open : static_cast<std::uint16_t>(open + rlen);
    }
    if (mode & kMacroEscapes) {
        StrDesc t = ReplaceAll(current, S("\\{"), S("["), kExact);
        t = ReplaceAll(t, S("\\}"), S("]"), kExact);
        if (t.IsError()) {
            DynRelease(mark);
            return t;
        }
        current = DynKeep(mark, t);
    }
    return current;
}

ErrCode FnMacro(FnArgs& a) {
    StrDesc t, names;
    std::int16_t flags = 0;
    if (ErrCode e = FnArgText(a, 0, StrEmpty(), &t)) return e;
    if (ErrCode e = FnArgInt(a, 1, 0, &flags)) return e;
    if (ErrCode e = FnArgText(a, 2, StrEmpty(), &names)) return e;
    std::uint16_t given = static_cast<std::uint16_t>(flags) & 255;
    // With names the lookup runs quote-blind and an empty zero; flag 8 evaluates the expansion.
    std::uint16_t mode = (given & kMacroNames) ? (kMacroSeeQuotes | kMacroNames | kMacroZeroEmpty) : (given & ~8u);
    std::uint16_t mark = DynMark();
    StrDesc expanded = TextMacro(t, mode, (given & kMacroNames) ? names : StrEmpty());
    if (expanded.IsError()) return expanded.len;
    if (given & 8) {
        StrDesc value = ExpText(TrimSet(expanded, kTrimBoth, S(" ")));
        if (value.IsError()) return value.len;
        DynKeep(mark, value);
        return kExpText;
    }
    DynKeep(mark, expanded);
    return kExpText;
}

}  // namespace rt
