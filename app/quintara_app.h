// The application object of the contact directory: one initialisation call that starts the runtime,
// opens the contact file, runs the contact dialog modally, and ends the runtime again.
#pragma once
#include <cstdint>

#include "runtime/start/runtime_start.h"

namespace rt {

class ContactDialog;

// The application's identity: no two-letter application code, then its name.
constexpr char kAppIdentity[] = ":Quintara";
constexpr char kAppDescription[] = "Quintara";
constexpr std::uint8_t kAppStartFlags = kStartLoadApp;
// The screen font of the runtime's windows.
constexpr std::uint16_t kScreenFontHeight = 21;
constexpr std::uint16_t kScreenFontWidth = 9;
constexpr std::uint16_t kScreenFontWeight = 400;
constexpr char kScreenFontFace[] = "Courier New";
// The data file the dialog shows, and how it is opened: for reading and writing, without reading a
// first record (the dialog shows a record only after the first command).
constexpr char kContactFileName[] = "contactos";
constexpr std::uint8_t kContactOpenMode = 2;

// The application's phase hook: the database's start hook, which logs in with sqlparams.dat of the
// working folder in phase 2 (registering the database's tables as data files) and disconnects in
// phase 3.
ErrCode QuintaraStartHook(std::uint16_t code);

// The whole run, step by step: starts the runtime with hook (the database's start hook), sets the
// screen font, finds and opens the contact file and runs dialog modally on it, then closes the file
// and ends the runtime. A failed start has been shown by the runtime; any later failure is shown in
// an error box and the dialog is not shown. Gives the runtime's final code (0 after a shown error).
ErrCode QuintaraInitInstance(ContactDialog& dialog, AppCallback hook);

}  // namespace rt
