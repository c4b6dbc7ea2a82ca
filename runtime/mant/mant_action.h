// The maintenance engine: the commands a user gives on the record of a data file shown in a
// maintenance window (save, new, first, previous, next, last, delete, find by key), each carried out
// as one action code on the current screen's file, with the confirmations and messages the user sees.
//
// An action code is 16 bits: the high byte says what is written before anything is read, the low byte
// which record is read afterwards (a read mode; 0 reads nothing).
//   0x0001 new record     0x0002 at or after       0x0004 toward the start
//   0x0010 step           0x0020 end               0x0100 write, add side
//   0x0200 write, remove  0x0400 selects the write  0x0800 check the key first
//   0x1000 no relational-update statements
// Bits 0x0700 together select the write: 0x0500 insert, 0x0600 delete, 0x0700 update when changed.
//
// Contract of MantAction for a dialog: copy the edit controls into the current record first, call
// MantAction with one of the command codes below, then copy the current record back into the edit
// controls (the returned code needs no handling: every message has been shown already).
//   kMantSave     0x0F00  Grabar: save the record when it changed (insert a new one)
//   kMantNew      0x0F01  Nuevo: save, then a new blank record
//   kMantNext     0x0F12  Siguiente: save, then the next record in key order
//   kMantPrevious 0x0F16  Anterior: save, then the previous record
//   kMantLast     0x0F20  Ultimo: save, then the last record
//   kMantFirst    0x0F24  Inicio: save, then the first record
//   kMantDelete   0x0642  Borrar: asks "¿Anular Registro(s)?", deletes, then reads the record after it
// A changed key 1 of a read record refuses every command but delete ("Modificación de Clave
// descartada"); results 1 to 121 are shown as items of catalog message 0023 ("Fin de fichero" ...),
// results of 128 and up as errors; a declined delete gives 122 and shows nothing.
// The screen's fields then show the record: after a move the record read; after a command that read
// again, blanked or cleared the record, what it holds; otherwise they keep their values.
// Without a current screen the current data file stands alone (runtime/mant/mant_screen.h).
// The letter buttons call MantFind with the letter and key 1.
#pragma once
#include <cstdint>
#include "runtime/text/str_desc.h"

namespace rt {

enum MantCode : std::uint16_t {
    kMantSave = 0x0F00,
    kMantNew = 0x0F01,
    kMantNext = 0x0F12,
    kMantPrevious = 0x0F16,
    kMantLast = 0x0F20,
    kMantFirst = 0x0F24,
    kMantDelete = 0x0642,
    kMantInsertOnly = 0x0D00,
};

// Result of an action whose read must look again (never leaves MantExecute).
constexpr ErrCode kMantReadAgain = 124;

// The command entry: confirmations, the refused key change, MantExecute, its message, the refresh.
ErrCode MantAction(std::uint16_t code);
// Finds the first record whose key starts with text (trimmed) in key: equal first, then at or after.
// 0, 1 "Clave no encontrada" or 2 "Fin de fichero" (both shown). An empty text advances the active
// key and gives 2 without reading.
ErrCode MantFind(StrDesc text, std::uint16_t key);
// Carries out code on file without confirmations or messages: the write phase, the commit, SAVED$,
// the read. Save, new and delete never give 1 or 2.
ErrCode MantExecute(std::uint8_t file, std::uint16_t code);
// Advances the screen window's active key counter (back to 1 after the file's last key) and makes it
// the file's active key.
void MantNextKey(std::uint8_t file);
// Checks a read against the screen's IK$(1): 0 inside it; outside, 1 without a mode, else 124 after
// turning an end read into a step (so that first and last step until the record lies inside) or 2
// when the range has been left in the order of key 1.
ErrCode MantKeyRange(std::uint8_t file, ErrCode r, std::uint16_t* mode);

struct FnArgs;
// FILELOCATE(command [; file]): the action of a navigation command ("NXT", "TOP", ...) carried out on
// the file; the status as a number. An unknown command fails with 147.
ErrCode FnFileLocate(FnArgs& a);

}  // namespace rt
