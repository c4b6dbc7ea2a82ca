// The contact dialog as data: the controls of its template with their ids, kinds, texts, places in
// dialog units and tab order; its menu; the About box template; and the command table that says what
// every command id of the dialog and its menu does.
#pragma once
#include <cstdint>
#include <span>

#include "app/dialog_units.h"
#include "runtime/mant/mant_action.h"

namespace rt {

// ---- Control ids of the contact dialog ----
enum ContactControlId : std::uint16_t {
    kIdOk = 1,                  // the OK command (the About box's "Aceptar")
    kIdEditFirst = 1000,        // edit of record field 1; field i is shown in kIdEditFirst + i - 1
    kIdEditRazonSocial = 1000,
    kIdEditNombre = 1001,
    kIdEditDireccion = 1002,
    kIdEditCp = 1003,
    kIdEditPoblacion = 1004,
    kIdEditTelefono = 1005,
    kIdEditMovil = 1006,
    kIdEditEmail = 1007,
    kIdEditOtros = 1008,
    kIdEditObservaciones = 1009,
    kIdEditLast = 1009,
    kIdButtonDial = 1010,       // "Marcar Teléfono"
    kIdLetterA = 1011,          // letters A to L: 1011 to 1022
    kIdLetterL = 1022,
    kIdButtonNew = 1023,
    kIdLetterM = 1024,          // letters M to Z (no W): 1024 to 1036
    kIdLetterZ = 1036,
    kIdButtonFirst = 1037,
    kIdButtonPrevious = 1038,
    kIdButtonNext = 1039,
    kIdButtonLast = 1040,
    kIdButtonSave = 1041,
    kIdButtonDelete = 1042,
    kIdImportStandard = 1043,   // a second id of the standard import
    kIdExport = 1044,
    kIdExit = 1045,
    kIdStatic = 0xFFFF,         // labels have no id of their own
};

// The dialog maps this many record fields to edits, whatever the file holds.
constexpr int kContactEditCount = kIdEditLast - kIdEditFirst + 1;

// ---- Menu command ids ----
enum ContactMenuId : std::uint16_t {
    kMenuNew = 32772,
    kMenuSave = 32774,
    kMenuDelete = 32775,
    kMenuImportStandard = 32776,
    kMenuImportExternal = 32777,
    kMenuFirst = 59648,
    kMenuLast = 59649,
    kMenuNext = 59650,
    kMenuPrevious = 59651,
    kMenuAboutRuntime = 57664,
    kMenuAboutApplication = 16,  // the "&Acerca de Quintara..." item of the context menu
};

// The maintenance action codes the commands send are the engine's own (kMantSave ... kMantDelete).

// The key the letter buttons search.
constexpr std::uint16_t kLetterKey = 1;

enum class TemplateControlKind : std::uint8_t { kButton, kLabel, kEdit, kMultiLineEdit, kIcon };

// A control's text is either fixed (the letters) or the catalog message of its code, read when the
// control is built, so that it speaks the run's language.
struct ControlSpec {
    std::uint16_t id;
    TemplateControlKind kind;
    const char* text;  // fixed UTF-8 text, or null when msg names it
    const char* msg;   // catalog code of the text, or null
    DialogRect rect;
};

struct DialogSpec {
    const char* caption;  // catalog code
    const char* face;
    int points;
    int width;
    int height;
    std::span<const ControlSpec> controls;
};

// Template 102, the contact dialog, in template order.
const DialogSpec& ContactDialogSpec();
// Template 100, the application's About box.
const DialogSpec& AboutDialogSpec();
// The ids of the focusable controls in tab order.
std::span<const std::uint16_t> ContactTabOrder();

// ---- Menu 128 ----
enum class MenuEntryKind : std::uint8_t { kPopup, kItem, kSeparator, kEnd };
struct MenuEntry {
    MenuEntryKind kind;
    const char* text;      // catalog code of a text with & before its mnemonic
    std::uint16_t id;      // kItem
    const char* shortcut;  // portable key-sequence text, or null
};
// Popups open a level that the next kEnd closes; the whole menu is one list.
std::span<const MenuEntry> ContactMenu();
// The catalog code of the context-menu item that opens the About box (string 101).
const char* AboutItemText();

// ---- The command table ----
enum class CommandKind : std::uint8_t {
    kNone,         // an id without a command
    kAction,       // dialog to record, maintenance action, record to dialog
    kLetter,       // dialog to record, find by the letter in key 1, record to dialog
    kExport,       // the delimited export (attached with the transfers)
    kImportStandard,
    kImportExternal,
    kAboutRuntime, // the runtime's About box
    kAboutApplication,
    kExit,         // ends the dialog as Cancel does
    kDial,         // hands TELEFONO to the desktop's phone application
};

struct Command {
    CommandKind kind = CommandKind::kNone;
    std::uint16_t action = 0;  // kAction
    char letter = 0;           // kLetter
};

Command CommandFor(std::uint16_t id);

// The letter of a letter button, 0 for any other id.
char LetterOf(std::uint16_t id);

}  // namespace rt
