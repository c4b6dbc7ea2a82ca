// The contact dialog's one door into the runtime: copying between its edits and the current record,
// and the runtime commands it runs. The dialog deals in Qt texts only; the record bytes, the
// Windows-1252 crossing and the runtime calls stay behind this file.
#pragma once
#include <QString>
#include <QStringList>

#include <array>
#include <cstdint>
#include <string>

#include "app/contact_template.h"

namespace rt {

// The link between the dialog's edits and the current record of the current data file. Edit i
// (0-based) shows field i + 1; only the first kContactEditCount fields have an edit.
class ContactRecordLink {
public:
    // The number of edits the current file fills: its field count, at most kContactEditCount.
    int FieldCount() const;

    // The fields of the current record as the edits show them: without trailing blanks, each byte
    // decoded from Windows-1252 (nothing folded). The link remembers what it handed out.
    QStringList FromRecord();

    // Stores texts[i] in field i + 1 of the current record, encoded to Windows-1252 (a character the
    // code page lacks becomes '?'). An edit that still holds the text FromRecord gave it writes the
    // field's original bytes back, so paging past a contact never changes it.
    void ToRecord(const QStringList& texts);

    // Forgets what FromRecord handed out (the next ToRecord encodes every text).
    void Forget();

private:
    std::array<std::string, kContactEditCount> original_;
    std::array<QString, kContactEditCount> shown_;
    std::array<bool, kContactEditCount> known_{};
};

// The runtime screen of the dialog: an empty screen bound to the current data file, through which the
// maintenance engine knows the file and its active key. Opening gives false when the screen could not
// be made (the dialog still opens; its commands then fail inside the engine).
bool ContactOpenScreen();
// Removes the dialog's screen (when no one else uses it).
void ContactCloseScreen();

// Runs a maintenance action (kMantSave ... kMantDelete) on the current record. The engine shows its
// own outcome (end of file, a refused key change, the delete question ...).
void ContactRunAction(std::uint16_t code);
// Finds the first record whose key 1 starts with letter; the engine shows a miss.
void ContactRunFind(char letter);

// Runs the export or one of the imports (kExport, kImportStandard, kImportExternal); each shows its
// own questions and outcome.
void ContactRunTransfer(CommandKind kind);

// The runtime's own About box (description and version line).
void ContactShowRuntimeAbout();

// The catalog text of a message code (the window's codes of runtime/env/catalog_builtin.h), decoded
// from Windows-1252: the run's language once the runtime has started, the built-in Spanish before.
QString ContactText(const char* code);
// The text of a template control: its fixed text, else the catalog text of its code.
QString ContactControlText(const ControlSpec& spec);

}  // namespace rt
