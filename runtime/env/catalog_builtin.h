// The built-in Spanish message catalog: three constant blocks of records, each record a tab, the
// four-digit code, one blank and the message text.
#pragma once
#include <cstdint>
#include "runtime/text/str_desc.h"

namespace rt {

// ---- Message codes ----
// Runtime messages that callers take items from.
inline constexpr char kMsgYesNoLetters[] = "0011";   // item 1 the yes letters, item 2 the no letters
inline constexpr char kMsgNumberFormat[] = "0019";   // the language's number and logical conventions
inline constexpr char kMsgMaintTexts[] = "0023";     // the maintenance messages, items 1 to 9
inline constexpr char kMsgDeleteQuestion[] = "0025";
inline constexpr char kMsgDateNames[] = "0117";      // month names and the long-date pattern
inline constexpr char kMsgTextFiles[] = "0068";      // the file type of text files: description, pattern
inline constexpr char kMsgFileSelection[] = "0088";  // the caption of file dialogs

// The contact window's own texts. Menu texts carry '&' before their mnemonic.
inline constexpr char kMsgWinCaption[] = "0200";
inline constexpr char kMsgWinNew[] = "0201";          // the command buttons, left to right
inline constexpr char kMsgWinFirst[] = "0202";
inline constexpr char kMsgWinPrevious[] = "0203";
inline constexpr char kMsgWinNext[] = "0204";
inline constexpr char kMsgWinLast[] = "0205";
inline constexpr char kMsgWinSave[] = "0206";
inline constexpr char kMsgWinDelete[] = "0207";
inline constexpr char kMsgWinLabelCompany[] = "0208";  // the field labels, top to bottom
inline constexpr char kMsgWinLabelName[] = "0209";
inline constexpr char kMsgWinLabelAddress[] = "0210";
inline constexpr char kMsgWinLabelPostcodeTown[] = "0211";
inline constexpr char kMsgWinLabelPhone[] = "0212";
inline constexpr char kMsgWinLabelMobile[] = "0213";
inline constexpr char kMsgWinLabelEmail[] = "0214";
inline constexpr char kMsgWinLabelOther[] = "0215";
inline constexpr char kMsgWinLabelNotes[] = "0216";
inline constexpr char kMsgWinDial[] = "0217";
inline constexpr char kMsgMenuFile[] = "0218";
inline constexpr char kMsgMenuExport[] = "0219";
inline constexpr char kMsgMenuImport[] = "0220";
inline constexpr char kMsgMenuImportStandard[] = "0221";
inline constexpr char kMsgMenuImportExternal[] = "0222";
inline constexpr char kMsgMenuExit[] = "0223";
inline constexpr char kMsgMenuCommands[] = "0224";
inline constexpr char kMsgMenuNew[] = "0225";
inline constexpr char kMsgMenuFirst[] = "0226";
inline constexpr char kMsgMenuPrevious[] = "0227";
inline constexpr char kMsgMenuNext[] = "0228";
inline constexpr char kMsgMenuLast[] = "0229";
inline constexpr char kMsgMenuSave[] = "0230";
inline constexpr char kMsgMenuDelete[] = "0231";
inline constexpr char kMsgMenuHelp[] = "0232";
inline constexpr char kMsgMenuAboutRuntime[] = "0233";
inline constexpr char kMsgAboutCaption[] = "0234";      // the application's About box
inline constexpr char kMsgAboutVersion[] = "0235";
inline constexpr char kMsgAboutDescription[] = "0236";
inline constexpr char kMsgAboutOk[] = "0237";
inline constexpr char kMsgAboutItem[] = "0238";         // the context-menu item that opens it
// The window's codes run from the first to the last of these, without gaps.
inline constexpr std::uint16_t kMsgWinCodeFirst = 200;
inline constexpr std::uint16_t kMsgWinCodeLast = 238;

// Block 0 holds the codes 0001 to 0039, block 1 0040 to 0088, block 2 0089 on (the window's texts
// among them).
StrDesc CatalogBlock(std::uint16_t index);

// The built-in text of a four-digit code text; the empty text when the catalog lacks the code.
StrDesc MsgBuiltin(StrDesc code);

}  // namespace rt
