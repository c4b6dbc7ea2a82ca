// Message lookup and the run's language file. The language file is tried once, at the first lookup:
// its lines pass through the work queue (slot group 37), their texts are kept end to end in slot
// (9, 2) and an end-offset table maps each code of the file's range to its text.
#include "runtime/env/catalog.h"

#include <string>

#include "runtime/env/catalog_builtin.h"
#include "runtime/env/paths.h"
#include "runtime/env/streams.h"
#include "runtime/env/parm_files.h"
#include "runtime/text/dyn_strings.h"
#include "runtime/text/slot_table.h"
#include "runtime/text/str_bridge.h"
#include "runtime/text/text_build.h"
#include "runtime/text/text_clean.h"
#include "runtime/text/text_lists.h"

namespace rt {
namespace {

constexpr std::uint16_t kMaxEntries = 256;

constexpr char kLangCodes[] = "EN,ES,FR,DE,IT";
constexpr char kLangSuffixes[] = "_en,_es,_fr,_de,_it";

struct LoadedTexts {
    LangState state = LangState::kNotTried;
    char code[3] = {};        // the language code of the file's name, empty when it gives none
    std::uint16_t first = 0;  // first code of the file
    std::uint16_t last = 0;   // last code of the file
    std::uint16_t count = 0;  // entries in ends
    std::uint16_t ends[kMaxEntries] = {};
};
LoadedTexts g_lang;

// The language file a caller chose for the run, kept apart from the loaded texts so that start-up's
// reset does not forget it.
struct LangChoice {
    bool chosen = false;
    std::string file;  // runtime path; empty: the built-in catalog
};
LangChoice g_choice;

// The language code in a file name KV_LANG_xx.MSJ (any letter case), when it is one the runtime knows.
void NoteCode(StrDesc name) {
    std::string upper = StrToStd(PathPart(name, kPathFileName));
    for (char& c : upper)
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 32);
    const std::string prefix = "KV_LANG_", suffix = ".MSJ";
    if (upper.size() != prefix.size() + 2 + suffix.size() || upper.compare(0, prefix.size(), prefix) != 0 ||
        upper.compare(upper.size() - suffix.size(), suffix.size(), suffix) != 0)
        return;
    std::string code = upper.substr(prefix.size(), 2);
    if (ItemIndex(S(kLangCodes), StrViewStd(code), ',') == 0) return;
    g_lang.code[0] = code[0];
    g_lang.code[1] = code[1];
}

// Reads the first four bytes of a code or line as a number; a negative number names no code.
std::uint16_t CodeNumber(StrDesc text) {
    std::int16_t n = StrToNum(StrMake(text.ptr, text.len < 4 ? text.len : 4));
    return n > 0 ? static_cast<std::uint16_t>(n) : 0;
}

// Appends one language line (already with its line breaks restored) to the loaded texts.
// Gives false when the texts slot is full, which ends the load.
bool TakeLine(StrDesc line) {
    std::uint16_t n = CodeNumber(line);
    if (n == 0) return true;
    // Codes must ascend; a repeated or descending code is skipped so that every entry stays
    // the text of its own code.
    if (g_lang.state == LangState::kLoaded && n <= g_lang.last) return true;
    if (g_lang.state != LangState::kLoaded) g_lang.first = n;
    std::uint16_t m = DynMark();
    StrDesc old = SlotGet(kRunTextsGroup, kSlotLangTexts);
    std::uint16_t end = old.len;
    while (g_lang.count < kMaxEntries && g_lang.count < n - g_lang.first) g_lang.ends[g_lang.count++] = end;
    StrDesc text = line.len > 5 ? StrMake(line.ptr + 5, static_cast<std::uint16_t>(line.len - 5)) : StrEmpty();
    StrDesc all = StrConcat(old, text);
    bool ok = !all.IsError() && SlotSet(kRunTextsGroup, kSlotLangTexts, all) == 0;
    DynRelease(m);
    if (!ok) return false;
    if (g_lang.count < kMaxEntries) g_lang.ends[g_lang.count++] = all.len;
    g_lang.last = n;
    g_lang.state = LangState::kLoaded;
    return true;
}

void LoadLanguageFile() {
    g_lang.state = LangState::kTried;
    std::uint16_t m = DynMark();
    StrDesc found;
    if (g_choice.chosen) {
        found = StrViewStd(g_choice.file);  // an empty file finds nothing
    } else {
        StrDesc code = SlotGet(kRunGroup, kSlotLanguage);
        StrDesc name = Format(15, "KV_LANG_%s.MSJ", StrToC(code.len ? code : S("*")));
        StrDesc pattern = name.IsError() ? name : PathJoin(SlotGet(kRunGroup, kSlotDefaultFolder), name);
        found = pattern.IsError() ? pattern : FindFiles(pattern);
    }
    if (!found.IsError() && found.len != 0) {
        StrDesc first = Item(found, '\0', 1);
        // Opened by name in the current folder, else in the default folder.
        std::uint16_t queued = ParmLoadLines(first, 0, kParmAllLines);
        std::uint32_t lines = queued == kNone ? 0 : queued;
        bool use = lines >= 1 && lines <= 255;
        bool room = true;
        for (std::uint32_t i = 0; i < lines; ++i) {
            if (use && room) {
                std::uint16_t lm = DynMark();
                StrDesc line = ReplaceAll(SlotPeek(kWorkQueueGroup), S("\\n"), S("\r\n"), kExact);
                if (!line.IsError()) room = TakeLine(line);
                DynRelease(lm);
            }
            SlotPop(kWorkQueueGroup);
        }
        if (g_lang.state == LangState::kLoaded) NoteCode(first);
    }
    DynRelease(m);
}

}  // namespace

LangState MsgLangState() { return g_lang.state; }

void MsgLangReset() {
    g_lang = LoadedTexts{};
    if (SlotReady()) SlotSet(kRunTextsGroup, kSlotLangTexts, StrEmpty());
}

StrDesc MsgLangCode() {
    return g_lang.state == LangState::kLoaded && g_lang.code[0] != 0 ? StrMake(g_lang.code, 2) : StrEmpty();
}

void MsgLangChoose(StrDesc file) {
    g_choice.chosen = true;
    g_choice.file = file.IsError() ? std::string() : StrToStd(file);
}

void MsgLangUnchoose() { g_choice = LangChoice{}; }

StrDesc MsgText(StrDesc code) {
    if (code.IsError()) return StrEmpty();
    std::uint16_t n = CodeNumber(code);
    if (g_lang.state == LangState::kNotTried) LoadLanguageFile();
    if (n != 0 && g_lang.state == LangState::kLoaded && n >= g_lang.first && n <= g_lang.last) {
        std::uint16_t k = static_cast<std::uint16_t>(n - g_lang.first);
        // Codes beyond the table's 256 entries have no recorded text: they fall through.
        if (k < g_lang.count) {
            std::uint16_t start = k == 0 ? 0 : g_lang.ends[k - 1];
            StrDesc all = SlotGet(kRunTextsGroup, kSlotLangTexts);
            std::uint16_t end = g_lang.ends[k] < all.len ? g_lang.ends[k] : all.len;
            return start < end ? StrMake(all.ptr + start, static_cast<std::uint16_t>(end - start)) : StrEmpty();
        }
    }
    // A code that carries its own default text keeps it also when a language file covers
    // other codes.
    if (n != 0 && code.len > 4)
        return code.len > 5 ? StrMake(code.ptr + 5, static_cast<std::uint16_t>(code.len - 5)) : StrEmpty();
    return MsgBuiltin(code);
}

StrDesc MsgText(const char* code) { return MsgText(StrFromC(code)); }

std::uint16_t LangIndex() {
    return ItemIndex(S(kLangCodes), SlotGet(kRunGroup, kSlotLanguage), ',');
}

StrDesc LangFileName(StrDesc path, int index) {
    if (path.IsError()) return path;
    if (index < 0) index = LangIndex();
    if (index <= 0 || index > 5) return path;
    std::uint16_t m = DynMark();
    StrDesc ext = PathPart(path, kPathExt);
    StrDesc rest = PathPart(path, kPathNoExt);
    // A name with more than one point gets its suffix before the first extension.
    StrDesc named = PathPart(rest, kPathExt).len != 0 ? LangFileName(rest, index)
                                               : StrConcat(rest, Item(S(kLangSuffixes), ',', static_cast<std::uint16_t>(index)));
    return DynKeep(m, ExtJoin(named, ext));
}

}  // namespace rt
