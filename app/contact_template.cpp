// The tables of the contact dialog: template 102 and its tab order, menu 128, the About box
// template 100, and the command table.
#include "app/contact_template.h"

#include <array>

#include "runtime/env/catalog_builtin.h"

namespace rt {

namespace {

constexpr ControlSpec kContactControls[] = {
    {kIdButtonNew, TemplateControlKind::kButton, nullptr, kMsgWinNew, {15, 5, 44, 14}},
    {kIdButtonFirst, TemplateControlKind::kButton, nullptr, kMsgWinFirst, {60, 5, 44, 14}},
    {kIdButtonPrevious, TemplateControlKind::kButton, nullptr, kMsgWinPrevious, {105, 5, 44, 14}},
    {kIdButtonNext, TemplateControlKind::kButton, nullptr, kMsgWinNext, {150, 5, 44, 14}},
    {kIdButtonLast, TemplateControlKind::kButton, nullptr, kMsgWinLast, {195, 5, 44, 14}},
    {kIdButtonSave, TemplateControlKind::kButton, nullptr, kMsgWinSave, {240, 5, 44, 14}},
    {kIdButtonDelete, TemplateControlKind::kButton, nullptr, kMsgWinDelete, {285, 5, 44, 14}},
    // The letter row: 25 buttons (no W) spread evenly from x 0 to x 326.
    {kIdLetterA, TemplateControlKind::kButton, "A", nullptr, {0, 28, 14, 10}},
    {kIdLetterA + 1, TemplateControlKind::kButton, "B", nullptr, {14, 28, 14, 10}},
    {kIdLetterA + 2, TemplateControlKind::kButton, "C", nullptr, {27, 28, 14, 10}},
    {kIdLetterA + 3, TemplateControlKind::kButton, "D", nullptr, {41, 28, 14, 10}},
    {kIdLetterA + 4, TemplateControlKind::kButton, "E", nullptr, {54, 28, 14, 10}},
    {kIdLetterA + 5, TemplateControlKind::kButton, "F", nullptr, {68, 28, 14, 10}},
    {kIdLetterA + 6, TemplateControlKind::kButton, "G", nullptr, {82, 28, 14, 10}},
    {kIdLetterA + 7, TemplateControlKind::kButton, "H", nullptr, {95, 28, 14, 10}},
    {kIdLetterA + 8, TemplateControlKind::kButton, "I", nullptr, {109, 28, 14, 10}},
    {kIdLetterA + 9, TemplateControlKind::kButton, "J", nullptr, {122, 28, 14, 10}},
    {kIdLetterA + 10, TemplateControlKind::kButton, "K", nullptr, {136, 28, 14, 10}},
    {kIdLetterA + 11, TemplateControlKind::kButton, "L", nullptr, {149, 28, 14, 10}},
    {kIdLetterM, TemplateControlKind::kButton, "M", nullptr, {163, 28, 14, 10}},
    {kIdLetterM + 1, TemplateControlKind::kButton, "N", nullptr, {177, 28, 14, 10}},
    {kIdLetterM + 2, TemplateControlKind::kButton, "O", nullptr, {190, 28, 14, 10}},
    {kIdLetterM + 3, TemplateControlKind::kButton, "P", nullptr, {204, 28, 14, 10}},
    {kIdLetterM + 4, TemplateControlKind::kButton, "Q", nullptr, {217, 28, 14, 10}},
    {kIdLetterM + 5, TemplateControlKind::kButton, "R", nullptr, {231, 28, 14, 10}},
    {kIdLetterM + 6, TemplateControlKind::kButton, "S", nullptr, {244, 28, 14, 10}},
    {kIdLetterM + 7, TemplateControlKind::kButton, "T", nullptr, {258, 28, 14, 10}},
    {kIdLetterM + 8, TemplateControlKind::kButton, "U", nullptr, {272, 28, 14, 10}},
    {kIdLetterM + 9, TemplateControlKind::kButton, "V", nullptr, {285, 28, 14, 10}},
    {kIdLetterM + 10, TemplateControlKind::kButton, "X", nullptr, {299, 28, 14, 10}},
    {kIdLetterM + 11, TemplateControlKind::kButton, "Y", nullptr, {312, 28, 14, 10}},
    {kIdLetterM + 12, TemplateControlKind::kButton, "Z", nullptr, {326, 28, 14, 10}},
    {kIdStatic, TemplateControlKind::kLabel, nullptr, kMsgWinLabelCompany, {17, 46, 81, 8}},
    {kIdEditRazonSocial, TemplateControlKind::kEdit, "", nullptr, {109, 42, 166, 12}},
    {kIdStatic, TemplateControlKind::kLabel, nullptr, kMsgWinLabelName, {17, 60, 81, 8}},
    {kIdEditNombre, TemplateControlKind::kEdit, "", nullptr, {109, 57, 166, 12}},
    {kIdStatic, TemplateControlKind::kLabel, nullptr, kMsgWinLabelAddress, {17, 75, 81, 8}},
    {kIdEditDireccion, TemplateControlKind::kEdit, "", nullptr, {109, 71, 166, 12}},
    {kIdStatic, TemplateControlKind::kLabel, nullptr, kMsgWinLabelPostcodeTown, {17, 90, 81, 8}},
    {kIdEditCp, TemplateControlKind::kEdit, "", nullptr, {109, 86, 29, 12}},
    {kIdEditPoblacion, TemplateControlKind::kEdit, "", nullptr, {141, 86, 134, 12}},
    {kIdStatic, TemplateControlKind::kLabel, nullptr, kMsgWinLabelPhone, {17, 105, 81, 8}},
    {kIdEditTelefono, TemplateControlKind::kEdit, "", nullptr, {109, 100, 166, 12}},
    {kIdStatic, TemplateControlKind::kLabel, nullptr, kMsgWinLabelMobile, {17, 119, 81, 8}},
    {kIdEditMovil, TemplateControlKind::kEdit, "", nullptr, {109, 115, 166, 12}},
    {kIdStatic, TemplateControlKind::kLabel, nullptr, kMsgWinLabelEmail, {17, 134, 81, 8}},
    {kIdEditEmail, TemplateControlKind::kEdit, "", nullptr, {109, 130, 166, 12}},
    {kIdStatic, TemplateControlKind::kLabel, nullptr, kMsgWinLabelOther, {17, 150, 81, 8}},
    {kIdEditOtros, TemplateControlKind::kEdit, "", nullptr, {109, 146, 166, 12}},
    {kIdStatic, TemplateControlKind::kLabel, nullptr, kMsgWinLabelNotes, {17, 164, 81, 8}},
    {kIdEditObservaciones, TemplateControlKind::kMultiLineEdit, "", nullptr, {109, 161, 166, 43}},
    {kIdButtonDial, TemplateControlKind::kButton, nullptr, kMsgWinDial, {109, 209, 165, 11}},
};

constexpr DialogSpec kContactDialog = {kMsgWinCaption, "MS Sans Serif", 8, 342, 231, kContactControls};

// The icon control takes the icon's own size; its rectangle only places it.
constexpr ControlSpec kAboutControls[] = {
    {kIdStatic, TemplateControlKind::kIcon, "", nullptr, {11, 17, 20, 20}},
    {kIdStatic, TemplateControlKind::kLabel, nullptr, kMsgAboutVersion, {40, 10, 119, 8}},
    {kIdStatic, TemplateControlKind::kLabel, nullptr, kMsgAboutDescription, {40, 25, 119, 8}},
    {kIdOk, TemplateControlKind::kButton, nullptr, kMsgAboutOk, {178, 7, 50, 14}},
};

constexpr DialogSpec kAboutDialog = {kMsgAboutCaption, "MS Sans Serif", 8, 235, 55, kAboutControls};

// Edits RAZON SOCIAL to OTROS, the dial button, OBSERVACIONES, the letters A to Z, then the command
// buttons left to right.
constexpr auto kTabOrder = [] {
    std::array<std::uint16_t, 9 + 2 + 25 + 7> order{};
    std::size_t n = 0;
    for (std::uint16_t id = kIdEditRazonSocial; id <= kIdEditOtros; ++id) order[n++] = id;
    order[n++] = kIdButtonDial;
    order[n++] = kIdEditObservaciones;
    for (std::uint16_t id = kIdLetterA; id <= kIdLetterL; ++id) order[n++] = id;
    for (std::uint16_t id = kIdLetterM; id <= kIdLetterZ; ++id) order[n++] = id;
    for (std::uint16_t id : {kIdButtonNew, kIdButtonFirst, kIdButtonPrevious, kIdButtonNext, kIdButtonLast,
                             kIdButtonSave, kIdButtonDelete})
        order[n++] = id;
    return order;
}();

// Mnemonics on the menus and their items, and standard shortcuts for the navigation commands, so
// that the whole directory can be worked from the keyboard.
constexpr MenuEntry kMenu[] = {
    {MenuEntryKind::kPopup, kMsgMenuFile, 0, nullptr},
    {MenuEntryKind::kItem, kMsgMenuExport, kIdExport, nullptr},
    {MenuEntryKind::kPopup, kMsgMenuImport, 0, nullptr},
    {MenuEntryKind::kItem, kMsgMenuImportStandard, kMenuImportStandard, nullptr},
    {MenuEntryKind::kItem, kMsgMenuImportExternal, kMenuImportExternal, nullptr},
    {MenuEntryKind::kEnd, nullptr, 0, nullptr},
    {MenuEntryKind::kSeparator, nullptr, 0, nullptr},
    {MenuEntryKind::kItem, kMsgMenuExit, kIdExit, nullptr},
    {MenuEntryKind::kEnd, nullptr, 0, nullptr},
    {MenuEntryKind::kPopup, kMsgMenuCommands, 0, nullptr},
    {MenuEntryKind::kItem, kMsgMenuNew, kMenuNew, "Ctrl+N"},
    {MenuEntryKind::kItem, kMsgMenuFirst, kMenuFirst, "Ctrl+Home"},
    {MenuEntryKind::kItem, kMsgMenuPrevious, kMenuPrevious, "PgUp"},
    {MenuEntryKind::kItem, kMsgMenuNext, kMenuNext, "PgDown"},
    {MenuEntryKind::kItem, kMsgMenuLast, kMenuLast, "Ctrl+End"},
    {MenuEntryKind::kItem, kMsgMenuSave, kMenuSave, "Ctrl+S"},
    {MenuEntryKind::kItem, kMsgMenuDelete, kMenuDelete, "Ctrl+Del"},
    {MenuEntryKind::kEnd, nullptr, 0, nullptr},
    {MenuEntryKind::kPopup, kMsgMenuHelp, 0, nullptr},
    {MenuEntryKind::kItem, kMsgMenuAboutRuntime, kMenuAboutRuntime, nullptr},
    {MenuEntryKind::kEnd, nullptr, 0, nullptr},
};

constexpr char kLetters[] = "ABCDEFGHIJKLMNOPQRSTUVXYZ";  // the letter buttons, in id order

}  // namespace

const DialogSpec& ContactDialogSpec() { return kContactDialog; }
const DialogSpec& AboutDialogSpec() { return kAboutDialog; }
std::span<const std::uint16_t> ContactTabOrder() { return kTabOrder; }
std::span<const MenuEntry> ContactMenu() { return kMenu; }
const char* AboutItemText() { return kMsgAboutItem; }

char LetterOf(std::uint16_t id) {
    if (id >= kIdLetterA && id <= kIdLetterL) return kLetters[id - kIdLetterA];
    if (id >= kIdLetterM && id <= kIdLetterZ) return kLetters[kIdLetterL - kIdLetterA + 1 + (id - kIdLetterM)];
    return 0;
}

Command CommandFor(std::uint16_t id) {
    auto action = [](std::uint16_t code) { return Command{CommandKind::kAction, code, 0}; };
    switch (id) {
        case kIdButtonFirst: case kMenuFirst: return action(kMantFirst);
        case kIdButtonNew: case kMenuNew: return action(kMantNew);
        case kIdButtonPrevious: case kMenuPrevious: return action(kMantPrevious);
        case kIdButtonNext: case kMenuNext: return action(kMantNext);
        case kIdButtonLast: case kMenuLast: return action(kMantLast);
        case kIdButtonSave: case kMenuSave: return action(kMantSave);
        case kIdButtonDelete: case kMenuDelete: return action(kMantDelete);
        case kIdExport: return {CommandKind::kExport, 0, 0};
        case kMenuImportStandard: case kIdImportStandard: return {CommandKind::kImportStandard, 0, 0};
        case kMenuImportExternal: return {CommandKind::kImportExternal, 0, 0};
        case kMenuAboutRuntime: return {CommandKind::kAboutRuntime, 0, 0};
        case kMenuAboutApplication: return {CommandKind::kAboutApplication, 0, 0};
        case kIdExit: return {CommandKind::kExit, 0, 0};
        case kIdButtonDial: return {CommandKind::kDial, 0, 0};
        default: break;
    }
    if (char letter = LetterOf(id)) return {CommandKind::kLetter, 0, letter};
    return {};
}

}  // namespace rt
