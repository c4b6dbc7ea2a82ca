// Choosing files: the desktop's open and save dialogs (FileDialog) and the runtime's own file kinds
// with their catalog captions, extensions and initial names (FileSelectKind).
#pragma once
#include <cstdint>
#include "runtime/text/str_desc.h"

namespace rt {

// The runtime's file extensions by number, 1-based ("PPN,PAN,STP,DAT,DAT,PDC,PRX,KVA,PMT,PDF,TXT,
// PDI,HLP,CFG"); number 0 or beyond the list gives the empty text.
StrDesc FileExtByNumber(std::uint16_t number);
// name "." extension n (the name alone when the extension is empty), on DynStrings.
StrDesc FileWithExt(StrDesc name, std::uint16_t number);

// Shows the save dialog (save) or the open dialog with the filter list (label,pattern,label,pattern
// ...), the initial name, the default extension added to a name typed without one, and the title
// (empty: the desktop's). Gives the chosen path, or the empty text when the user cancelled (also on a
// desktop without dialogs, and for a path longer than a runtime path can be). extra_flags are
// accepted for the callers' sake; this desktop's dialog has no further options.
StrDesc FileDialog(bool save, StrDesc default_ext, StrDesc initial, std::uint16_t extra_flags, StrDesc filters,
                   StrDesc title);

// Flags of FileSelectKind: the kind in the low six bits, and these.
enum FileSelectFlags : std::uint16_t {
    kFileKindMask = 0x3F,
    kFileAppPrefix = 0x40,      // prefix the initial name with the application code
    kFileRestoreFolder = 0x80,  // set the current folder back after the dialog
};
// The filter list of a kind's dialog (its own pair, when it has an extension, then "Todos").
StrDesc FileKindFilters(std::uint16_t flags);
// The initial name of a kind's dialog.
StrDesc FileKindInitial(std::uint16_t flags);
// FileDialog for a file kind; the default extension is the kind's when saving.
StrDesc FileSelectKind(bool save, std::uint16_t flags);

}  // namespace rt
