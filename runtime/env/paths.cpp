// Application folders, path operations and placeholder expansion. The work is done on std::string
// and the result copied onto DynStrings once, so every operation leaves exactly its result above the
// caller's mark.
#include "runtime/env/paths.h"

#include <cstdio>
#include <iterator>
#include <string>
#include <vector>

#include "platform/process.h"
#include "runtime/env/errors.h"
#include "runtime/text/dyn_strings.h"
#include "runtime/text/err_codes.h"
#include "runtime/text/slot_table.h"
#include "runtime/text/str_bridge.h"
#include "runtime/text/text_clean.h"
#include "runtime/text/text_lists.h"

namespace rt {
namespace {

// Expanding a value that names itself would never end; this many rounds is far beyond real use.
constexpr int kMaxExpansions = 64;
constexpr const char* kTempStem = "qnt";  // the start of the runtime's temporary file names

constexpr const char* kFolderNames[] = {"APPPATH_RUNPATH", "APPPATH_DEFAULT", "APPPATH_DATA",
                                        "APPPATH_DOCS",    "APPPATH_HELP",    "APPPATH_BACKUP",
                                        "APPPATH_BACKREL"};
constexpr const char* kEnvNames[] = {"ALLUSERSPROFILE", "APPDATA",    "CommonProgramFiles",
                                     "HOMEDRIVE",       "HOMEPATH",   "ProgramFiles",
                                     "SYSTEMDRIVE",     "SystemRoot", "TEMP",
                                     "USERPROFILE"};
// Runtime values by position: slot (0, position), except APNAME (the application code).
constexpr const char* kRuntimeNames[] = {"COMMANDLINE", "APNAME",  "APDESCRIP", "LANGMODULE",
                                         "DOCPATH",     "DATAPATH", "HELPPATH"};
// Items of slot (0, 11), the first SQL connection's settings.
constexpr const char* kDatabaseNames[] = {"DATABASE_HOST", "DATABASE_DBNAME", "DATABASE_USER",
                                          "DATABASE_PASSW"};

std::string Lower(std::string s) {
    for (char& c : s)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c + 32);
    return s;
}

std::string SlotText(std::uint16_t item) { return StrToStd(SlotGet(kRunGroup, item)); }

std::string Normalise(std::string s) {
    char quote = 0;
    for (char& c : s) {
        if (quote) {
            if (c == quote) quote = 0;
        } else if (c == '\'' || c == '"') {
            quote = c;
        } else if (c == '/') {
            c = '\\';
        }
    }
    return s;
}

std::string Join(const std::string& folder, const std::string& name) {
    std::string f = Normalise(folder), n = Normalise(name);
    if (!f.empty() && f.back() != '\\' && !n.empty() && n.front() != '\\') f += '\\';
    return f + n;
}

std::string JoinExt(const std::string& name, const std::string& ext) {
    if (name.empty() || ext.empty()) return name + ext;
    return name + '.' + ext;
}

std::string Part(const std::string& path, std::uint16_t parts) {
    std::size_t colon = path.find(':');
    std::size_t driveEnd = colon == std::string::npos ? 0 : colon + 1;
    std::size_t lastSep = path.rfind('\\');
    bool hasSep = lastSep != std::string::npos && lastSep >= driveEnd;
    std::string folder;
    if (hasSep) {
        // A file at the root keeps the root's '\' as its folder, so that its parent stays absolute.
        folder = lastSep == driveEnd ? std::string("\\") : path.substr(driveEnd, lastSep - driveEnd);
    }
    std::size_t nameStart = hasSep ? lastSep + 1 : driveEnd;
    std::size_t dot = path.rfind('.');
    bool hasExt = dot != std::string::npos && dot >= nameStart;
    std::string name = path.substr(nameStart, (hasExt ? dot : path.size()) - nameStart);
    std::string ext = hasExt ? path.substr(dot + 1) : std::string();

    std::string r;
    if (parts & kPathDrive) r += path.substr(0, driveEnd);
    if (parts & kPathFolder) r += folder;
    if (parts & kPathName) {
        if (!r.empty() && r.back() != '\\') r += '\\';
        r += name;
    }
    if (parts & kPathExt) r = JoinExt(r, ext);
    return r;
}

std::string ReplaceEvery(const std::string& text, const std::string& find, const std::string& repl) {
    if (find.empty()) return text;
    std::string out;
    std::size_t from = 0;
    for (std::size_t at = text.find(find); at != std::string::npos; at = text.find(find, from)) {
        out.append(text, from, at - from);
        out += repl;
        from = at + find.size();
    }
    out.append(text, from, std::string::npos);
    return out;
}

std::string Resolve(const std::string& base, const std::string& relative) {
    std::string b = base, rel = Normalise(relative);
    while (rel.size() >= 2 && rel[0] == '.' && rel[1] == '.' && (rel.size() == 2 || rel[2] == '\\')) {
        b = Part(b, kPathParent);
        rel.erase(0, rel.size() >= 3 ? 3 : rel.size());
    }
    std::string r = Join(b, rel);
    for (std::string next = ReplaceEvery(r, "\\.\\", "\\"); next != r; next = ReplaceEvery(r, "\\.\\", "\\"))
        r = next;
    return r;
}

std::string Current() {
    std::string folder = PlatformCurrentFolder();
    return folder.size() > kPathMax ? std::string() : folder;
}

// Word 0 or 1 of the command line (blank-separated outside quotes), trimmed and unquoted.
std::string Word(bool second) {
    std::uint16_t mark = DynMark();
    ItemCursor cursor(SlotGet(kRunGroup, kSlotCmdLine), ' ');
    StrDesc item;
    int index = 0;
    std::string word;
    while (cursor.Next(&item)) {
        StrDesc w = Unquote(Trim(item, kTrimBoth));
        if (Trim(item, kTrimBoth).len == 0) continue;
        if (index++ == (second ? 1 : 0)) {
            word = StrToStd(w);
            if (second && !word.empty() && Trim(item, kTrimBoth).bytes()[0] == '/') word.clear();
            break;
        }
    }
    DynRelease(mark);
    return word;
}

std::string DatabaseItem(std::uint16_t n) {
    std::uint16_t mark = DynMark();
    std::string v = StrToStd(CleanValue(Item(SlotGet(kRunGroup, kSlotDatabase), ',', n)));
    DynRelease(mark);
    return v;
}

std::string Folder(std::uint16_t kind) {
    switch (kind) {
        case kFolderRun:
            return Part(Word(false), kPathParent);
        case kFolderDefault:
            return SlotText(kSlotDefaultFolder);
        case kFolderData: {
            // Programs installed on a high drive keep their data beside the application folder.
            // Only a drive letter counts: a path without a drive is never "high".
            std::string drive = Part(Word(false), kPathDrive);
            bool high = !drive.empty() && static_cast<unsigned char>(drive[0]) >= 'F';
            return Resolve(high ? Folder(kFolderDefault) : Folder(kFolderDocs), "..\\data");
        }
        case kFolderDocs: {
            std::string docs = SlotText(kSlotDocsFolder);
            return docs.empty() ? Current() : docs;
        }
        case kFolderHelp: {
            std::string help = SlotText(kSlotHelpFolder);
            return help.empty() ? Resolve(SlotText(kSlotDefaultFolder), "Help") : help;
        }
        case kFolderBackup:
            return Resolve(SlotText(kSlotDocsFolder), "Backups");
        case kFolderBackRel:
            return Join(Join(Join(Current(), "Backups"), DatabaseItem(1)), DatabaseItem(2));
        default:
            return std::string();
    }
}

// The first placeholder's name, false when the text holds none.
bool FirstPlaceholder(const std::string& text, std::string* name) {
    std::size_t open = text.find('%');
    if (open == std::string::npos) return false;
    std::size_t close = text.find('%', open + 1);
    if (close == std::string::npos) return false;
    *name = text.substr(open + 1, close - open - 1);
    return true;
}

std::string RuntimeValue(const std::string& name) {
    for (std::uint16_t i = 0; i < std::size(kRuntimeNames); ++i) {
        if (name != kRuntimeNames[i]) continue;
        if (i + 1 != kSlotIdentity) return SlotText(i + 1);
        std::string identity = SlotText(kSlotIdentity);
        return identity.substr(0, identity.find(':')).substr(0, 2);
    }
    for (std::uint16_t i = 0; i < std::size(kDatabaseNames); ++i)
        if (name == kDatabaseNames[i]) return DatabaseItem(i + 1);
    return std::string();
}

bool Expand(std::string& text, const std::string& name, const std::string& value) {
    std::string next = ReplaceEvery(text, "%" + name + "%", value);
    if (next.size() > 0xFFFF) return false;
    text = std::move(next);
    return true;
}

std::string RuntimeExpandStd(std::string text) {
    std::string name;
    for (int round = 0; round < kMaxExpansions && FirstPlaceholder(text, &name); ++round)
        if (!Expand(text, name, RuntimeValue(name))) break;
    return text;
}

std::string PathExpandStd(std::string text) {
    std::string name;
    for (int round = 0; round < kMaxExpansions && FirstPlaceholder(text, &name); ++round) {
        bool found = false;
        std::string value;
        for (std::uint16_t i = 0; i < std::size(kFolderNames) && !found; ++i)
            if (name == kFolderNames[i]) {
                value = Folder(i + 1);
                found = true;
            }
        for (const char* env : kEnvNames) {
            if (found) break;
            if (name == env || Lower(name) == Lower(env)) {
                // An environment name counts as found even when unset, so that an unset variable
                // removes only its own placeholder.
                value = PlatformEnv(name == env ? name : Lower(name));
                found = true;
            }
        }
        if (found) {
            if (!Expand(text, name, value)) break;
        } else {
            text = RuntimeExpandStd(std::move(text));
        }
    }
    return RuntimeExpandStd(std::move(text));
}

ErrCode SystemFailure(int error) {
    if (error == PlatformErrNotFound()) return kErrFileNotFound;
    if (error == PlatformErrDenied()) return kErrPermissionDenied;
    if (error == PlatformErrExists()) return kErrFileExists;
    return kErrDiskIo;
}

bool Found(const std::string& pattern) { return !PlatformFindFiles(pattern).empty(); }

ErrCode MakeFoldersStd(std::string path, int depth) {
    // A trailing '\' names the same folder, except for a root.
    while (path.size() > 1 && path.back() == '\\' && Part(path, kPathFileName).empty() &&
           Part(path, kPathFolder) != "\\")
        path.pop_back();
    if (Part(path, kPathFolder).empty() && Part(path, kPathFileName).empty()) return kErrData;
    if (Found(Join(path, "."))) return 0;
    int error = PlatformMakeFolder(path);
    if (error == 0) return 0;
    std::string parent = Part(path, kPathParent);
    if (!parent.empty() && parent != path && depth < kMaxExpansions) {
        MakeFoldersStd(parent, depth + 1);
        error = PlatformMakeFolder(path);
        if (error == 0) return 0;
    }
    return SystemFailure(error);
}

}  // namespace

StrDesc PathJoin(StrDesc folder, StrDesc name) {
    if (folder.IsError()) return folder;
    if (name.IsError()) return name;
    return StrFromStd(Join(StrToStd(folder), StrToStd(name)));
}

StrDesc ExtJoin(StrDesc name, StrDesc ext) {
    if (name.IsError()) return name;
    if (ext.IsError()) return ext;
    return StrFromStd(JoinExt(StrToStd(name), StrToStd(ext)));
}

StrDesc PathPart(StrDesc path, std::uint16_t parts) {
    if (path.IsError()) return path;
    return StrFromStd(Part(StrToStd(path), parts));
}

StrDesc PathResolve(StrDesc base, StrDesc relative) {
    if (base.IsError()) return base;
    if (relative.IsError()) return relative;
    return StrFromStd(Resolve(StrToStd(base), StrToStd(relative)));
}

StrDesc FolderOf(std::uint16_t kind) { return StrFromStd(Folder(kind)); }

ErrCode FoldersFirstMode() {
    DynScope scope;
    ErrCode e = SlotSetIfEmpty(kSlotDefaultFolder, StrFromStd(Folder(kFolderRun)), false);
    if (e) return scope.Release(e);
    return scope.Release(SlotSetIfEmpty(kSlotHelpFolder, StrFromStd(Folder(kFolderHelp)), false));
}

ErrCode FoldersSecondMode(StrDesc dpath) {
    DynScope scope;
    std::string folder = StrToStd(dpath);
    if (folder.empty()) folder = Resolve(Current(), "..\\APPS");
    ErrCode e = SlotSetIfEmpty(kSlotDefaultFolder, StrFromStd(folder), true);
    if (e) return scope.Release(e);
    // The help folder follows the new default folder.
    return scope.Release(SlotSetIfEmpty(kSlotHelpFolder, StrFromStd(Resolve(folder, "Help")), true));
}

StrDesc CmdWord(std::uint16_t flags) {
    std::string word = Word((flags & kCmdSecond) != 0);
    if (flags & kCmdFolderOnly) word = Part(word, kPathParent);
    return StrFromStd(word);
}

StrDesc CurrentFolder() { return StrFromStd(Current()); }

StrDesc EnvValue(StrDesc name) {
    if (name.IsError() || name.len == 0) return StrFromStd(std::string());
    return StrFromStd(PlatformEnv(StrToStd(name)));
}

StrDesc FindFiles(StrDesc pattern) {
    if (pattern.IsError()) return pattern;
    if (pattern.len == 0) return StrError(kErrFileNotFound);
    std::vector<PlatformFoundFile> found = PlatformFindFiles(StrToStd(pattern));
    if (found.empty()) return StrError(kErrFileNotFound);
    std::string names;
    for (const PlatformFoundFile& f : found) {
        std::size_t need = f.name.size() + (names.empty() ? 0 : 1);
        if (names.size() + need > 0xFFFF) break;  // the list ends where a text must end
        if (!names.empty()) names += '\0';
        names += f.name;
    }
    return StrFromStd(names);
}

ErrCode FindFileStamp(StrDesc pattern, FileStamp* out) {
    if (pattern.IsError() || pattern.len == 0) return kErrFileNotFound;
    std::vector<PlatformFoundFile> found = PlatformFindFiles(StrToStd(pattern));
    if (found.empty()) return kErrFileNotFound;
    PlatformDateTime t = PlatformLocalTime(found.front().modified);
    if (out) {
        out->year = static_cast<std::uint16_t>(t.year);
        out->month = static_cast<std::uint16_t>(t.month);
        out->day = static_cast<std::uint16_t>(t.day);
        out->hour = static_cast<std::uint16_t>(t.hour);
        out->minute = static_cast<std::uint16_t>(t.minute);
        out->second = static_cast<std::uint16_t>(t.second);
    }
    return 0;
}

StrDesc FindInFolders(StrDesc folders, StrDesc name) {
    if (name.IsError()) return name;
    std::string n = StrToStd(name);
    if (n.empty()) return StrFromStd(n);
    if (Found(n)) return StrFromStd(n);
    std::uint16_t mark = DynMark();
    std::string hit;
    ItemCursor cursor(folders, ',');
    StrDesc item;
    while (hit.empty() && cursor.Next(&item)) {
        std::string folder = StrToStd(Trim(item, kTrimBoth));
        if (folder.empty()) continue;
        std::string candidate = Join(folder, n);
        if (Found(candidate)) hit = candidate;
    }
    DynRelease(mark);
    return StrFromStd(hit);
}

ErrCode MakeFolders(StrDesc path) {
    if (path.IsError()) return path.len;
    ErrCode e = MakeFoldersStd(StrToStd(path), 0);
    return e ? ErrSetText(e, path) : 0;
}

StrDesc TempPath(StrDesc ext) {
    if (ext.IsError()) return ext;
    std::string e = StrToStd(ext);
    std::string path;
    std::FILE* f = PlatformCreateUnique(PlatformEnv("TEMP"), kTempStem, e.empty() ? e : "." + e, &path);
    if (f == nullptr) return StrError(kErrFileIo);
    PlatformClose(f);
    return StrFromStd(path);
}

StrDesc PathExpand(StrDesc text) {
    if (text.IsError()) return text;
    return StrFromStd(PathExpandStd(StrToStd(text)));
}

StrDesc RuntimeExpand(StrDesc text) {
    if (text.IsError()) return text;
    return StrFromStd(RuntimeExpandStd(StrToStd(text)));
}

}  // namespace rt
