// Message texts by four-digit code. The built-in Spanish catalog serves unless a language file
// KV_LANG_xx.MSJ is found at the first lookup of the run; its texts then replace the built-in ones
// for the codes it covers.
#pragma once
#include <cstdint>
#include "runtime/text/str_desc.h"

namespace rt {

// The text of a message code ("0023"). A code text longer than four bytes carries its own default
// text from its sixth byte on. Never fails: a code in no source gives the empty text.
StrDesc MsgText(StrDesc code);
StrDesc MsgText(const char* code);

// Position of the run's language code (slot 0, 4) in "EN,ES,FR,DE,IT"; 0 when it is none of them.
std::uint16_t LangIndex();

// path with the suffix of language index ("_en" .. "_it") inserted before its extension; index -1
// stands for the run's language, 0 (or an unknown language) leaves the path unchanged. On DynStrings.
StrDesc LangFileName(StrDesc path, int index);

// Language-file state of the run.
enum class LangState : std::uint8_t { kNotTried, kTried, kLoaded };
LangState MsgLangState();
// Forgets the loaded language texts so that the next lookup looks for a language file again.
// Start-up calls it before its first lookup; tests call it after setting the slots up.
void MsgLangReset();

// The language code the loaded language file's name gives ("EN" for KV_LANG_EN.MSJ, in any letter
// case); empty when no file is loaded or its name gives none of "EN,ES,FR,DE,IT". Start-up makes it
// the run's language when none is set, so dates, help files and Qt's own texts follow the texts.
StrDesc MsgLangCode();

// Chooses the run's language file ahead of start-up, as a command-line option does: the first
// lookup then loads file (a runtime path) instead of looking for KV_LANG_*.MSJ, and an empty file
// keeps the built-in catalog for the whole run. The choice outlasts MsgLangReset.
void MsgLangChoose(StrDesc file);
// Drops the choice: the first lookup looks for a language file again.
void MsgLangUnchoose();

}  // namespace rt
