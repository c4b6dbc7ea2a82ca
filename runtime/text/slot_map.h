// Where the runtime keeps its process-wide texts and memory: every string-slot group and item with
// a fixed meaning, and the owner tags of memory areas. Every module takes its addresses from here,
// so no two modules can claim the same slot or tag by accident.
#pragma once
#include <cstdint>

namespace rt {

// ---- String-slot groups (0 .. kSlotGroups - 1) ----
constexpr std::uint16_t kRunGroup = 0;           // the run's settings, items below
constexpr std::uint16_t kFileNamesGroup = 1;     // data-file names, one item per file
constexpr std::uint16_t kFileFoldersGroup = 2;   // data-file folders, one item per file
constexpr std::uint16_t kFieldNamesGroup = 3;    // field names of every file, end to end
constexpr std::uint16_t kRelationsGroup = 4;     // relations of each file
constexpr std::uint16_t kRecordsGroup = 6;       // record images, one item per file
constexpr std::uint16_t kRelStatementsGroup = 7; // relational-update statements, from each file's mark on
constexpr std::uint16_t kRunTextsGroup = 9;      // texts of the run, items below
constexpr std::uint16_t kVarNamesGroup = 12;     // name lists of the variable store, one per kind
constexpr std::uint16_t kVarTextsGroup = 13;     // values of the text variables
constexpr std::uint16_t kTransParmsGroup = 10;   // parameters of the running transfer: 0 target, 1..23
// Groups from 30 on are stacks or queues: the item number is no address.
constexpr std::uint16_t kFirstStackGroup = 30;
constexpr std::uint16_t kUserStackGroup = 30;    // the expression language's default stack (_$)
constexpr std::uint16_t kParmStackGroup = 31;    // parameter blocks, innermost on top
constexpr std::uint16_t kOpenListGroup = 33;     // data-file open lists of FILESEL, one mode byte per file
constexpr std::uint16_t kFnArgsGroup = 35;       // evaluated arguments of the built-in functions
constexpr std::uint16_t kWorkQueueGroup = 37;    // lines read from parameter and language files
constexpr std::uint16_t kSecondQueueGroup = 38;  // the other queue group (first in, first out)

// ---- Items of kRunGroup ----
constexpr std::uint16_t kSlotLocale = 0;         // locale parts: decimal, thousands, date order ...
constexpr std::uint16_t kSlotCmdLine = 1;        // the normalised command line
constexpr std::uint16_t kSlotIdentity = 2;       // "<code>:<name>" of the application
constexpr std::uint16_t kSlotDescription = 3;    // the application's description
constexpr std::uint16_t kSlotLanguage = 4;       // the run's language code ("ES", "EN", ...)
constexpr std::uint16_t kSlotDefaultFolder = 5;  // the program's (default) folder
constexpr std::uint16_t kSlotDocsFolder = 6;     // the documents folder
constexpr std::uint16_t kSlotHelpFolder = 7;     // the help folder
constexpr std::uint16_t kFnListSlot = 8;         // the built-in function list the recogniser uses
constexpr std::uint16_t kSlotDatabase = 11;      // the text that opened the first SQL connection
constexpr std::uint16_t kSlotDatabase2 = 12;     // ... and the one that opened the next

// ---- Items of kRunTextsGroup ----
constexpr std::uint16_t kSlotAcceptCondition = 1;  // the condition of the last confirmed field-entry dialog
constexpr std::uint16_t kSlotLangTexts = 2;      // the language file's texts, end to end
constexpr std::uint16_t kSlotAcceptForm = 6;     // the form of the last field-entry dialog
constexpr std::uint16_t kSlotAcceptValues = 7;   // the values of the last confirmed field-entry dialog
constexpr std::uint16_t kSlotParmPrefixes = 8;   // parameter-name prefixes, chosen by _AUX
constexpr std::uint16_t kSlotErrDetail = 9;      // the error detail
constexpr std::uint16_t kSlotLogPath = 10;       // the run's log file
constexpr std::uint16_t kSlotBlockCondition = 11; // the condition of the running block iteration

// ---- Owner tags of memory areas ----
enum AreaOwner : std::uint16_t {
    kOwnerBuffers = 0,     // file-selection lists, transfer buffers
    kOwnerSlots = 1,       // the string slot table
    kOwnerCursor = 6,      // SQL cursor records
    kOwnerDyn = 9,         // DynStrings buffer and stack
    kOwnerArrays = 10,     // array variables
    kOwnerRows = 12,       // SQL row buffers
    kOwnerSort = 13,       // sort lists of SORT$
    kOwnerVarTables = 15,  // value tables of the variable store
    kOwnerScreens = 20,    // screens: their fields and texts, and the value buffers of their windows
};

}  // namespace rt
