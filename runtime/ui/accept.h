// Field-entry dialogs: a small modal dialog described by one line of text, such as
//     'Servidor:':'A30'::'localhost','Usuario:':'A30'::'postgres','Contraseña:':'P30'
// Fields are separated by ',' and their parts by ':' (or all by ';' when the list has no ':'):
// label, type (letter and width), binding, default, target; "/ROW=n" and "/COL=n" place a field, a
// label may start with "{row,col}", and a field of one part is a data-file field reference. What
// follows " /" is a screen parameter block for the dialog's screen.
//
// Confirmed values come back as one comma list of quoted values in field order, with a condition
// text for the fields bound to data-file fields, and are remembered as the defaults of the next
// dialog with the same form (string-slot group 9: the form, the values, the condition).
#pragma once
#include <cstdint>
#include "runtime/text/str_desc.h"

namespace rt {

struct AcceptResult {
    std::uint16_t key = 0;       // the runtime key that ended the dialog: 0 confirmed, 3 cancelled
    StrDesc values;              // 'v1','v2',... (a value holding ' in double quotes); on DynStrings
    StrDesc condition;           // binding and value of each data-file field that is not blank, joined by &&
    ErrCode status = 0;          // 0, 122 cancelled, 163 a bad value or binding, another failure
};

// Runs the dialog (or, when _INHND names an input with a line left, gives that line as the values
// without showing anything). The caption may be empty.
AcceptResult Accept(StrDesc caption, StrDesc form);

// Layout flags of AcceptWinSelect.
enum AcceptLayout : std::uint16_t {
    kAcceptSizeToFields = 0x40,  // the dialog's size follows from its fields
    kAcceptNoLabels = 0x80,      // no labels; the inputs side by side
};
// Builds the dialog's screen, its screen window in the top runtime window and the labels; the screen
// becomes current with one more user.
ErrCode AcceptWinSelect(StrDesc form, std::uint16_t flags);

// A help hook the application may install for F1 in field-entry dialogs (null: the screen's HELP$
// page, topic the current field's number).
using AcceptHelpHook = ErrCode (*)(std::uint16_t field);
void AcceptHelpHookSet(AcceptHelpHook hook);

}  // namespace rt
