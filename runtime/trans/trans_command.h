// The transfer command of the application's menus, and the menu of saved transfer definitions.
#pragma once
#include "runtime/text/str_desc.h"

namespace rt {

// command: a comma list of the mode (an integer expression; 0 opens the definitions menu), the data
// file or definitions file, the limit fields' answer (an expression), two unused items and the
// update expression. Each question the user cancels ends the command with 122.
ErrCode TransCommand(StrDesc command);

// Offers the definitions of file (empty: the default definitions file) and runs the one chosen, until
// the user chooses none (163) or a definition cannot be loaded.
ErrCode TransMenu(StrDesc file);

}  // namespace rt
