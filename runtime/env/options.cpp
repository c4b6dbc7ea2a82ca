// The normalised command line and the lookup of option values in it, by name or by number.
#include "runtime/env/options.h"

#include "runtime/text/dyn_strings.h"
#include "runtime/text/named_values.h"
#include "runtime/text/slot_table.h"
#include "runtime/text/text_build.h"
#include "runtime/text/text_clean.h"
#include "runtime/text/text_lists.h"

namespace rt {
namespace {

constexpr StrDesc kOptionList = S(
    "?;HELP,APNAME,APSTART,DPATH,SCRWID,SCRHIG,INPUT,OUTPUT,FILE,INDEX,DEVICE,RUN,MODE,TRACE,CONFIG,HOST,"
    "DATABASE,USER,PASSW");

StrDesc ValueIn(StrDesc line, StrDesc name, bool* found) {
    StrDesc raw = NamedValueRaw(line, name, found);
    return *found ? CleanValue(raw) : StrEmpty();
}

}  // namespace

StrDesc CmdLineNormalise(StrDesc line) {
    if (line.IsError()) return line;
    DynScope scope;
    StrDesc r = Trim(line, kTrimBoth);
    while (!r.IsError() && FindText(r, S("  "), kExact) != kNone) r = ReplaceAll(r, S("  "), S(" "), kExact);
    r = ReplaceAll(r, S(" --"), S(" /"), kExact);
    r = ReplaceAll(r, S(" -"), S(" /"), kExact);
    return scope.Keep(r);
}

StrDesc OptValue(StrDesc name) {
    if (name.IsError() || name.len == 0) return StrEmpty();
    DynScope scope;
    StrDesc line = SlotGet(kRunGroup, kSlotCmdLine);
    bool found = false;
    StrDesc v = ValueIn(line, name, &found);
    if (!found) {
        // One case-folded form: an upper-case name (first byte at or below '`') is tried in lower case.
        StrDesc folded = CaseFold(name, name.bytes()[0] <= '`' ? kCaseLower : kCaseUpper);
        v = ValueIn(line, folded, &found);
    }
    if (!found) return scope.Keep(StrEmpty());
    return scope.Keep(v);
}

StrDesc OptGet(std::uint16_t number) {
    if (number == 0 || number > ItemCount(kOptionList, ',')) return StrEmpty();
    StrDesc name = Item(kOptionList, ',', number);
    // The first option has two spellings: "?" and "HELP".
    if (number == kOptHelp) {
        DynScope scope;
        StrDesc v = OptValue(S("?"));
        if (v.len == 0) v = OptValue(S("HELP"));
        return scope.Keep(v);
    }
    return OptValue(name);
}

}  // namespace rt
