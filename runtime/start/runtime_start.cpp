// Runtime start-up in its phases (memory, command line, options, dictionary, language) and the end
// of a run, which takes the layers down in reverse order.
#include "runtime/start/runtime_start.h"

#include "runtime/start/runtime_layers.h"
#include "platform/process.h"
#include "runtime/data/dictionary.h"
#include "runtime/data/file_table.h"
#include "runtime/env/catalog.h"
#include "runtime/env/catalog_builtin.h"
#include "runtime/env/errors.h"
#include "runtime/env/fonts.h"
#include "runtime/env/options.h"
#include "runtime/env/paths.h"
#include "runtime/env/streams.h"
#include "runtime/text/err_codes.h"
#include "runtime/ui/error_box.h"
#include "runtime/vars/parm_blocks.h"
#include "runtime/vars/run_log.h"
#include "runtime/vars/var_system.h"
#include "runtime/vars/variables.h"
#include "runtime/text/dyn_strings.h"
#include "runtime/text/mem_areas.h"
#include "runtime/text/platform_text.h"
#include "runtime/text/slot_table.h"
#include "runtime/text/text_build.h"
#include "runtime/text/text_clean.h"
#include "runtime/text/text_lists.h"
#include "runtime/text/text_search.h"
#include "runtime/ui/about_box.h"
#include "runtime/ui/screen.h"
#include "runtime/ui/win_create.h"

namespace rt {
namespace {

ErrCode Call(AppCallback cb, std::uint16_t phase) { return cb ? cb(phase) : 0; }

void ClearErrors() {
    ErrSetText(0, StrEmpty());
    ErrClear();
}

// Memory, variables, the locale record (the run's first message lookup, which decides the language
// file) and the normalised command line.
ErrCode InitRuntime(const std::u16string& cmdLine) {
    if (ErrCode e = SlotInit()) return e;
    if (ErrCode e = VarInit()) return e;
    FileTableReset();
    // Every upper layer's seam, the screens and the credentials dialog among them.
    RuntimeLayersInstall();
    MsgLangReset();
    DynScope scope;
    StrDesc nul = S("\0");
    StrDesc locale = StrAssemble({MsgText(kMsgNumberFormat), nul, MsgText(kMsgDateNames), nul, S(" ")});
    if (ErrCode e = SlotSet(kRunGroup, kSlotLocale, locale)) return e;
    StrDesc line = FromPlatform(cmdLine.data(), cmdLine.size());
    return SlotSet(kRunGroup, kSlotCmdLine, CmdLineNormalise(line));
}

// _TRACE from option 14, with bit value 1 always set.
void SetTrace() {
    DynScope scope;
    std::int16_t trace = StrToNum(OptGet(kOptTrace));
    VarIntSlotSet(kSysTrace, static_cast<std::int16_t>(trace | 1));
}

void SetIdentity(StrDesc identity, StrDesc description) {
    DynScope scope;
    StrDesc named = OptGet(kOptApName);
    StrDesc id = named.len ? named : identity;
    if (id.len != 0 && !id.IsError()) {
        StrDesc previousName = Item(SlotGet(kRunGroup, kSlotIdentity), ':', 2);
        SlotSet(kRunGroup, kSlotIdentity, StrJoin(id, S(":"), previousName));
    }
    if (description.len != 0 && !description.IsError()) SlotSet(kRunGroup, kSlotDescription, description);
}

// The two-letter application code: the part of the identity before its first colon.
StrDesc AppCode() {
    StrDesc code = Item(SlotGet(kRunGroup, kSlotIdentity), ':', 1);
    return code.len < 2 ? StrEmpty() : StrDesc{code.ptr, 2};
}

ErrCode LoadApplication(std::uint8_t flags) {
    ClearErrors();
    DynScope scope;
    StrDesc code = StrCopy(AppCode());
    if (code.len < 2) return kErrLoadStrError;
    ErrCode outcome = DictLoadForStart(SlotGet(kRunGroup, kSlotDefaultFolder), code);
    if (outcome != 0) {
        FoldersSecondMode(OptGet(kOptDPath));
        outcome = DictLoadForStart(SlotGet(kRunGroup, kSlotDefaultFolder), code);
    }
    if ((flags & kStartForgiveMissing) && (outcome == kErrLoadStrError || outcome == kErrFileNotFound)) outcome = 0;
    // A load that found its dictionary on the second attempt, or was forgiven, leaves no error of
    // the failed attempt to be reported with a later failure of the start.
    if (outcome == 0) ClearErrors();
    return outcome;
}

// The font file: "height;width;weight;face" before the first colon of its block 0.
void LoadFonts() {
    DynScope scope;
    if (ParmPush(S("KVFONT.PPN"), 0, 0) != 0) return;
    StrDesc set = StrCopy(Item(SlotPeek(kParmStackGroup), ':', 1));
    ParmPop();
    std::uint16_t height = static_cast<std::uint16_t>(StrToNum(Item(set, ';', 1)));
    std::uint16_t width = static_cast<std::uint16_t>(StrToNum(Item(set, ';', 2)));
    std::uint16_t weight = FindText(Item(set, ';', 3), S("BOLD"), kExact) != kNone ? 1 : 0;
    FontSet(height, width, weight, Trim(Item(set, ';', 4), kTrimBoth));
}

ErrCode StartTrace(ErrCode outcome) {
    std::uint16_t trace = static_cast<std::uint16_t>(VarIntSlot(kSysTrace));
    if (!(trace & 256)) return outcome;
    bool b16 = trace & 16, b1 = trace & 1;
    if (b1 && !b16) {
        DynScope scope;
        AboutBox(Format(16, "%d", VarIntSlot(kSysPrecis)));
        return outcome;
    }
    if (b1 && b16) {
        DynScope scope;
        StrDesc path = PathJoin(CurrentFolder(), S("log.txt"));
        SlotSet(kRunTextsGroup, kSlotLogPath, path);
        FileDelete(path);
        LogLine(Format(64, "%s,%s", "0", StrToC(SlotGet(kRunGroup, kSlotLanguage))), 1);
        return kErrDetailMessage;
    }
    return outcome;
}

}  // namespace

ErrCode RuntimeStart(const StartRequest& request) {
    const std::uint8_t flags = request.flags;
    const std::uint16_t phaseBase = static_cast<std::uint16_t>(flags * 16);

    ErrCode outcome = InitRuntime(request.commandLine);
    if (outcome != 0) {
        if (outcome >= kErrFirstFailure) ErrShow(outcome);
        return outcome;
    }

    // A start that the application stops here is shown as any other failed start would be.
    if (ErrCode e = Call(request.callback, static_cast<std::uint16_t>(phaseBase + 1))) {
        if (e >= kErrFirstFailure) ErrShow(e);
        return e;
    }

    // Without a language of its own the run speaks the language of the file its texts came from,
    // else the built-in Spanish.
    if (SlotGet(kRunGroup, kSlotLanguage).len == 0) {
        StrDesc loaded = MsgLangCode();
        SlotSet(kRunGroup, kSlotLanguage, loaded.len != 0 ? loaded : S("ES"));
    }

    SetTrace();
    SetIdentity(request.identity, request.description);
    FoldersFirstMode();
    // Flag 8 loads when the identity settled above (APNAME, say) is not the one the caller gave.
    bool load = (flags & kStartLoadApp) ||
                ((flags & kStartLoadIfNew) && !StrEq(request.identity, SlotGet(kRunGroup, kSlotIdentity)));
    if (load) outcome = LoadApplication(flags);

    if (outcome == 0) LoadFonts();
    outcome = StartTrace(outcome);

    if ((outcome == 0 || outcome == kErrLoadStrError) && request.callback)
        outcome = request.callback(static_cast<std::uint16_t>(phaseBase + 2));
    if (outcome == 0) ClearErrors();
    if (outcome >= kErrFirstFailure) ErrShow(outcome);
    return outcome;
}

ErrCode RuntimeStartArgs(int argc, const char* const* argv, StrDesc identity, StrDesc description,
                         std::uint8_t flags, AppCallback callback) {
    // The arguments from the second on, joined by blanks, follow the program path as in the wide
    // form: the program's folder and an option given first are both found in the same way.
    std::string args;
    for (int i = 1; i < argc; ++i) {
        if (i > 1) args += ' ';
        args += argv[i] ? argv[i] : "";
    }
    if (!args.empty() && static_cast<unsigned char>(args.back()) <= '\r') args.pop_back();
    std::string line = argc > 0 && argv[0] ? argv[0] : "";
    if (!args.empty()) line += ' ' + args;
    StartRequest r;
    r.commandLine.reserve(line.size());
    for (unsigned char c : line) r.commandLine.push_back(Cp1252ToUnit(c));
    r.identity = identity;
    r.description = description;
    r.flags = flags;
    r.callback = callback;
    return RuntimeStart(r);
}

ErrCode RuntimeEnd(AppCallback callback, ErrCode code) {
    ErrCode c = callback ? callback(3) : 0;
    ScreenReset();
    WinLayerReset();
    FileTableReset();
    VarShutdown();
    std::uint16_t m = MemShutdown();
    FontReset();
    ErrCode final = code != 0 ? code : c != 0 ? c : m;
    return final < kErrSerious ? 0 : final;
}

}  // namespace rt
