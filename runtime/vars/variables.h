// The variable store: named variables of three kinds (integer, number, text) plus arrays, created on
// first assignment and kept for the whole run. A name's kind follows from the characters in it.
// The four name lists live in string-slot group 12 (items 0..3) and the text values in group 13;
// integer and number values live in tables of their own.
#pragma once
#include <cstdint>
#include "runtime/vars/var_arena_number.h"
#include "runtime/text/slot_map.h"  // kVarNamesGroup, kVarTextsGroup
#include "runtime/text/str_desc.h"

namespace rt {

// The kinds, numbered as the name lists in slot group 12.
enum VarKind : std::uint16_t {
    kVarInteger = 0,  // no marker: a signed 16-bit value
    kVarNumber = 1,   // '#': a FixedNumber
    kVarText = 2,     // '$': a text
    kVarArray = 3,    // '(': an element of an array
    kVarNone = 4,     // '@': not a variable
};

// The kind of a name: '@' anywhere, then '(', '$', '#', else integer.
VarKind VarKindOf(StrDesc name);

// Creates the store and seeds the system variables. 124 when it is already set up.
ErrCode VarInit();
// Releases the arrays and the value tables; must run before MemShutdown.
void VarShutdown();
bool VarReady();

// Screen-field hook, asked first for every name that begins with '_': mode 1 reads the current value,
// 2 the reference value, 5 stores value (numbers as their canonical text). A read answer is a text
// left on DynStrings. The answer 163 means "not a screen field": the store is used.
using VarScreenHook = ErrCode (*)(StrDesc name, std::uint16_t mode, StrDesc value, StrDesc* answer);
// Installs hook (null: the default, which always answers 163) and gives the previous one.
VarScreenHook VarScreenHookSet(VarScreenHook hook);
ErrCode VarScreenHookAsk(StrDesc name, std::uint16_t mode, StrDesc value, StrDesc* answer);

// Pushes the value on DynStrings (a number as its eight bytes, a text as itself); absent variables read
// as 0 or the empty text and are not created. kind (when given) receives the name's kind.
ErrCode VarGet(StrDesc name, VarKind* kind = nullptr);
// Assigns: value is the text for text variables and the eight-byte arena number for the others.
// Creates the variable on first assignment. Failures of 128 and up are noted as the run's error.
ErrCode VarSet(StrDesc name, StrDesc value);
// Assigns the integer n (the number n; its decimal text for a text variable).
ErrCode VarSetInteger(StrDesc name, std::int32_t n);

// Typed helpers; values are converted by the variable's kind (numbers from and to number texts).
ErrCode VarSetNumber(StrDesc name, FixedNumber n);
ErrCode VarSetText(StrDesc name, StrDesc text);
ErrCode VarGetNumber(StrDesc name, FixedNumber* out);
// The value as a text on DynStrings (a number as its canonical text); an error descriptor on failure.
StrDesc VarGetText(StrDesc name);

// The name's kind and its slot in its list; slot 0xFFFF when absent.
struct VarRef {
    VarKind kind;
    std::uint16_t slot;
};
VarRef VarFind(StrDesc name);
// Number of names in the list of kind (integer, number, text or array); all lists for kVarNone.
std::uint16_t VarCount(VarKind kind = kVarNone);

// Slot access. An integer slot reads as a number times the scale; a number written to an integer
// slot is rounded to an integer and keeps its low 16 bits.
std::int16_t VarIntSlot(std::uint16_t slot);
ErrCode VarIntSlotSet(std::uint16_t slot, std::int16_t value);
FixedNumber VarIntSlotNumber(std::uint16_t slot);
ErrCode VarIntSlotSetNumber(std::uint16_t slot, FixedNumber n);
FixedNumber VarNumSlot(std::uint16_t slot);
ErrCode VarNumSlotSet(std::uint16_t slot, FixedNumber n);
StrDesc VarTextSlot(std::uint16_t slot);  // in place, valid until the next slot change
ErrCode VarTextSlotSet(std::uint16_t slot, StrDesc text);

// The fixed texts ".lf$", ".tab$", ".pchr$" and ".null$"; false for any other name.
bool VarSpecialText(StrDesc name, StrDesc* text);

// Item redirection: when the text variable "_V<n>$" exists and reads without failure, its first
// character and the integer after it replace the item's kind and number. False when not redirected.
bool VarItemRedirect(std::uint16_t item, char* kind, std::uint16_t* number);

// Sets the integer variable named as fileName in lower case to the file's number.
ErrCode VarSetFileNumber(StrDesc fileName, std::uint16_t fileNumber);

}  // namespace rt
