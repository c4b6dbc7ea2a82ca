// The tables of the contact dialog: template 102 and its tab order, menu 128, the About box
// template 100, and the command table.
#include "app/contact_template.h"

#include <array>

namespace rt {

namespace {

constexpr ControlSpec kContactControls[] = {
    {kIdButtonNew, TemplateControlKind::kButton, "Nuevo", {15, 5, 44, 14}},
    {kIdButtonFirst, TemplateControlKind::kButton, "Inicio", {60, 5, 44, 14}},
    {kIdButtonPrevious, TemplateControlKind::kButton, "Anterior", {105, 5, 44, 14}},
    {kIdButtonNext, TemplateControlKind::kButton, "Siguiente", {150, 5, 44, 14}},
    {kIdButtonLast, TemplateControlKind::kButton, "Ultimo", {195, 5, 44, 14}},
    {kIdButtonSave, TemplateControlKind::kButton, "Grabar", {240, 5, 44, 14}},
    {kIdButtonDelete, TemplateControlKind::kButton, "Borrar", {285, 5, 44, 14}},
    // The letter row: 25 buttons (no W) spread evenly from x 0 to x 326.
    {kIdLetterA, TemplateControlKind::kButton, "A", {0, 28, 14, 10}},
    {kIdLetterA + 1, TemplateControlKind::kButton, "B", {14, 28, 14, 10}},
    {kIdLetterA + 2, TemplateControlKind::kButton, "C", {27, 28, 14, 10}},
    {kIdLetterA + 3, TemplateControlKind::kButton, "D", {41, 28, 14, 10}},
    {kIdLetterA + 4, TemplateControlKind::kButton, "E", {54, 28, 14, 10}},
    {kIdLetterA + 5, TemplateControlKind::kButton, "F", {68, 28, 14, 10}},
    {kIdLetterA + 6, TemplateControlKind::kButton, "G", {82, 28, 14, 10}},
    {kIdLetterA + 7, TemplateControlKind::kButton, "H", {95, 28, 14, 10}},
    {kIdLetterA + 8, TemplateControlKind::kButton, "I", {109, 28, 14, 10}},
    {kIdLetterA + 9, TemplateControlKind::kButton, "J", {122, 28, 14, 10}},
    {kIdLetterA + 10, TemplateControlKind::kButton, "K", {136, 28, 14, 10}},
    {kIdLetterA + 11, TemplateControlKind::kButton, "L", {149, 28, 14, 10}},
    {kIdLetterM, TemplateControlKind::kButton, "M", {163, 28, 14, 10}},
    {kIdLetterM + 1, TemplateControlKind::kButton, "N", {177, 28, 14, 10}},
    {kIdLetterM + 2, TemplateControlKind::kButton, "O", {190, 28, 14, 10}},
    {kIdLetterM + 3, TemplateControlKind::kButton, "P", {204, 28, 14, 10}},
    {kIdLetterM + 4, TemplateControlKind::kButton, "Q", {217, 28, 14, 10}},
    {kIdLetterM + 5, TemplateControlKind::kButton, "R", {231, 28, 14, 10}},
    {kIdLetterM + 6, TemplateControlKind::kButton, "S", {244, 28, 14, 10}},
    {kIdLetterM + 7, TemplateControlKind::kButton, "T", {258, 28, 14, 10}},
    {kIdLetterM + 8, TemplateControlKind::kButton, "U", {272, 28, 14, 10}},
    {kIdLetterM + 9, TemplateControlKind::kButton, "V", {285, 28, 14, 10}},
    {kIdLetterM + 10, TemplateControlKind::kButton, "X", {299, 28, 14, 10}},
    {kIdLetterM + 11, TemplateControlKind::kButton, "Y", {312, 28, 14, 10}},
    {kIdLetterM + 12, TemplateControlKind::kButton, "Z", {326, 28, 14, 10}},
    {kIdStatic, TemplateControlKind::kLabel, "RAZON SOCIAL:", {17, 46, 81, 8}},
    {kIdEditRazonSocial, TemplateControlKind::kEdit, "", {109, 42, 166, 12}},
    {kIdStatic, TemplateControlKind::kLabel, "NOMBRE:", {17, 60, 81, 8}},
    {kIdEditNombre, TemplateControlKind::kEdit, "", {109, 57, 166, 12}},
    {kIdStatic, TemplateControlKind::kLabel, "DIRECCION:", {17, 75, 81, 8}},
    {kIdEditDireccion, TemplateControlKind::kEdit, "", {109, 71, 166, 12}},
    {kIdStatic, TemplateControlKind::kLabel, "C.P. / POBLACION:", {17, 90, 81, 8}},
    {kIdEditCp, TemplateControlKind::kEdit, "", {109, 86, 29, 12}},
    {kIdEditPoblacion, TemplateControlKind::kEdit, "", {141, 86, 134, 12}},
    {kIdStatic, TemplateControlKind::kLabel, "TELEFONO:", {17, 105, 81, 8}},
    {kIdEditTelefono, TemplateControlKind::kEdit, "", {109, 100, 166, 12}},
    {kIdStatic, TemplateControlKind::kLabel, "MOVIL:", {17, 119, 81, 8}},
    {kIdEditMovil, TemplateControlKind::kEdit, "", {109, 115, 166, 12}},
    {kIdStatic, TemplateControlKind::kLabel, "E-MAIL:", {17, 134, 81, 8}},
    {kIdEditEmail, TemplateControlKind::kEdit, "", {109, 130, 166, 12}},
    {kIdStatic, TemplateControlKind::kLabel, "OTROS:", {17, 150, 81, 8}},
    {kIdEditOtros, TemplateControlKind::kEdit, "", {109, 146, 166, 12}},
    {kIdStatic, TemplateControlKind::kLabel, "OBSERVACIONES:", {17, 164, 81, 8}},
    {kIdEditObservaciones, TemplateControlKind::kMultiLineEdit, "", {109, 161, 166, 43}},
    {kIdButtonDial, TemplateControlKind::kButton, "Marcar Teléfono", {109, 209, 165, 11}},
};

constexpr DialogSpec kContactDialog = {"Quintara de Contactos", "MS Sans Serif", 8, 342, 231, kContactControls};

// The icon control takes the icon's own size; its rectangle only places it.
constexpr ControlSpec kAboutControls[] = {
    {kIdStatic, TemplateControlKind::kIcon, "", {11, 17, 20, 20}},
    {kIdStatic, TemplateControlKind::kLabel, "Quintara Versión 1.0", {40, 10, 119, 8}},
    {kIdStatic, TemplateControlKind::kLabel, "Directorio de contactos", {40, 25, 119, 8}},
    {kIdOk, TemplateControlKind::kButton, "Aceptar", {178, 7, 50, 14}},
};

constexpr DialogSpec kAboutDialog = {"Acerca de Quintara", "MS Sans Serif", 8, 235, 55, kAboutControls};

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
    {MenuEntryKind::kPopup, "&Archivo", 0, nullptr},
    {MenuEntryKind::kItem, "&Exportar", kIdExport, nullptr},
    {MenuEntryKind::kPopup, "&Importar", 0, nullptr},
    {MenuEntryKind::kItem, "&Standard", kMenuImportStandard, nullptr},
    {MenuEntryKind::kItem, "E&xterno", kMenuImportExternal, nullptr},
    {MenuEntryKind::kEnd, nullptr, 0, nullptr},
    {MenuEntryKind::kSeparator, nullptr, 0, nullptr},
    {MenuEntryKind::kItem, "&Salir", kIdExit, nullptr},
    {MenuEntryKind::kEnd, nullptr, 0, nullptr},
    {MenuEntryKind::kPopup, "&Commandos", 0, nullptr},
    {MenuEntryKind::kItem, "&Nuevo", kMenuNew, "Ctrl+N"},
    {MenuEntryKind::kItem, "&Inicio", kMenuFirst, "Ctrl+Home"},
    {MenuEntryKind::kItem, "&Anterior", kMenuPrevious, "PgUp"},
    {MenuEntryKind::kItem, "&Siguiente", kMenuNext, "PgDown"},
    {MenuEntryKind::kItem, "&Ultimo", kMenuLast, "Ctrl+End"},
    {MenuEntryKind::kItem, "&Grabar", kMenuSave, "Ctrl+S"},
    {MenuEntryKind::kItem, "&Borrar", kMenuDelete, "Ctrl+Del"},
    {MenuEntryKind::kEnd, nullptr, 0, nullptr},
    {MenuEntryKind::kPopup, "A&yuda", 0, nullptr},
    {MenuEntryKind::kItem, "&Acerca de", kMenuAboutRuntime, nullptr},
    {MenuEntryKind::kEnd, nullptr, 0, nullptr},
};

constexpr char kLetters[] = "ABCDEFGHIJKLMNOPQRSTUVXYZ";  // the letter buttons, in id order

}  // namespace

const DialogSpec& ContactDialogSpec() { return kContactDialog; }
const DialogSpec& AboutDialogSpec() { return kAboutDialog; }
std::span<const std::uint16_t> ContactTabOrder() { return kTabOrder; }
std::span<const MenuEntry> ContactMenu() { return kMenu; }
const char* AboutItemText() { return "&Acerca de Quintara..."; }

char LetterOf(std::uint16_t id) {
    if (id >= kIdLetterA && id <= kIdLetterL) return kLetters[id - kIdLetterA];
    if (id >= kIdLetterM && id <= kIdLetterZ) return kLetters[kIdLetterL - kIdLetterA + 1 + (id - kIdLetterM)];
    return 0;
}

Command CommandFor(std::uint16_t id) {
    auto action = [](std::uint16_t code) { return Command{CommandKind::kAction, code, 0}; };
    switch (id) {
        case kIdButtonFirst: case kMenuFirst: return action(kActionFirst);
        case kIdButtonNew: case kMenuNew: return action(kActionNew);
        case kIdButtonPrevious: case kMenuPrevious: return action(kActionPrevious);
        case kIdButtonNext: case kMenuNext: return action(kActionNext);
        case kIdButtonLast: case kMenuLast: return action(kActionLast);
        case kIdButtonSave: case kMenuSave: return action(kActionSave);
        case kIdButtonDelete: case kMenuDelete: return action(kActionDelete);
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
