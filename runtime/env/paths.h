// Application folders, path operations, the environment and %NAME% placeholders in file names.
// Runtime paths use '\' as separator; a drive is the part up to and including the first colon.
// Every text result lives on DynStrings above the caller's mark; error descriptors are passed on.
#pragma once
#include <cstdint>
#include "runtime/text/slot_map.h"  // the folder slots
#include "runtime/text/str_desc.h"

namespace rt {

// Parts selected by PathPart (bit values, combined in this order).
enum PathParts : std::uint16_t {
    kPathDrive = 1,   // through the first colon
    kPathFolder = 2,  // between the drive and the last '\' (a root folder keeps its '\')
    kPathName = 4,    // after the last '\' (or the drive) up to the last point
    kPathExt = 8,     // after the last point, joined with a point
    kPathParent = kPathDrive | kPathFolder,
    kPathNoExt = kPathDrive | kPathFolder | kPathName,
    kPathFileName = kPathName | kPathExt,
};

// Folder kinds of FolderOf; their placeholder names are the APPPATH_... items in this order.
enum FolderKind : std::uint16_t {
    kFolderRun = 1,      // APPPATH_RUNPATH: the program's folder
    kFolderDefault = 2,  // APPPATH_DEFAULT: slot (0, 5)
    kFolderData = 3,     // APPPATH_DATA: "..\data" beside the default or documents folder
    kFolderDocs = 4,     // APPPATH_DOCS: slot (0, 6) or the current folder
    kFolderHelp = 5,     // APPPATH_HELP: slot (0, 7) or "Help" under the default folder
    kFolderBackup = 6,   // APPPATH_BACKUP: "Backups" under slot (0, 6)
    kFolderBackRel = 7,  // APPPATH_BACKREL: current folder\Backups\host\database
};

// Longest path the runtime handles (bytes), and the longest current folder it takes.
constexpr std::uint16_t kPathMax = 383;

// folder '\' name (the '\' only when needed); both normalised first.
StrDesc PathJoin(StrDesc folder, StrDesc name);
// name '.' ext, the point only when both are non-empty.
StrDesc ExtJoin(StrDesc name, StrDesc ext);
// The parts of path selected by the PathParts bits.
StrDesc PathPart(StrDesc path, std::uint16_t parts);
// Leading ".." items of relative climb from base; the rest is joined; "\.\" collapses to "\".
StrDesc PathResolve(StrDesc base, StrDesc relative);
// The folder of a kind (empty for an unknown kind).
StrDesc FolderOf(std::uint16_t kind);

// Start-up folder settings. First mode: slot (0, 5) = the program's folder and slot (0, 7) = the help
// folder, each unless already set. Second mode (after a failed application load): slot (0, 5) = dpath
// when not empty, else "..\APPS" beside the current folder; slot (0, 7) = the help folder; both replaced.
ErrCode FoldersFirstMode();
ErrCode FoldersSecondMode(StrDesc dpath);

// Command-line words (flags: 1 = the second word instead of the first, 2 = only its drive and folder).
enum CmdWordFlags : std::uint16_t { kCmdSecond = 1, kCmdFolderOnly = 2 };
StrDesc CmdWord(std::uint16_t flags);

// The process's current folder ('\' separators), empty when it cannot be had or is too long.
StrDesc CurrentFolder();
// An environment variable's value; empty when unset or when the name is empty.
StrDesc EnvValue(StrDesc name);

// Names (without folder) of the files matching pattern, each followed by a NUL byte except the last;
// the error descriptor 164 when nothing matches.
StrDesc FindFiles(StrDesc pattern);
// Local time stamp of the last modification of the first file matching pattern; 164 when none.
struct FileStamp {
    std::uint16_t year = 0, month = 0, day = 0;
    std::uint16_t hour = 0, minute = 0, second = 0;
};
ErrCode FindFileStamp(StrDesc pattern, FileStamp* out);
// The first of name, folder1\name, folder2\name... (folders a comma list) that FindFiles finds;
// empty when none.
StrDesc FindInFolders(StrDesc folders, StrDesc name);
// Creates the folder and any missing parents. 163 (with the path as detail) for a path without
// folder and name; 164, 165, 175 or 130 when the system refuses.
ErrCode MakeFolders(StrDesc path);
// A fresh path in the temporary folder with extension ext (none when empty): the file is created
// there, empty, exclusively and with mode 0600, so that the name is the caller's alone; the caller
// removes it. The error descriptor 131 when it cannot be created.
StrDesc TempPath(StrDesc ext);

// Expands %NAME% placeholders of a file name: folder kinds, environment variables, runtime values.
StrDesc PathExpand(StrDesc text);
// Expands runtime-value placeholders; a placeholder that names nothing is removed.
StrDesc RuntimeExpand(StrDesc text);

}  // namespace rt
