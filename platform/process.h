// Process services shared by both backends: the command line, the current folder, the environment,
// file search with time stamps, temporary names, the local clock and byte-mode files.
//
// Texts at this boundary are runtime texts: Windows-1252 bytes with '\' as the path separator. The
// platform converts at the operating-system side: '\' becomes '/' and the text becomes UTF-8 when a
// file is opened, searched, renamed, removed or created; folders and names read from the system come
// back with '/' turned into '\' and in Windows-1252 (a character it lacks becomes '?').
#pragma once
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

namespace rt {

// Keeps the process arguments; the application and the tool call it first thing in main().
void PlatformSetArgs(int argc, const char* const* argv);
inline void PlatformSetArgs(int argc, char** argv) {
    PlatformSetArgs(argc, const_cast<const char* const*>(argv));
}

// The wide command line rebuilt from the arguments: the program path (absolute, with '\'), then each
// argument, joined by single blanks, so that each reaches the runtime as it was given. An option
// argument ("/NAME:value", "-NAME=value", "--NAME:value") whose value holds a blank gets its value
// enclosed in double quotes unless it is quoted already (in single quotes when it holds a double
// quote and no single one); any other argument holding a blank and no double quote is enclosed whole.
// Without PlatformSetArgs the arguments of the running process are used.
std::u16string PlatformCommandLine();
// The same text as runtime bytes (each character taken to Windows-1252).
std::string PlatformCommandLineBytes();

// The current folder with '\' separators, empty when it cannot be had.
std::string PlatformCurrentFolder();
// Makes path the current folder: 0, or the system's error number.
int PlatformSetCurrentFolder(const std::string& path);

// An environment variable's value ("" when unset). Names match case-insensitively when no exact
// match exists, as they do on the system the runtime was designed for. TEMP falls back to TMPDIR,
// then to "/tmp".
std::string PlatformEnv(const std::string& name);

// Local calendar time.
struct PlatformDateTime {
    int year = 0, month = 0, day = 0;        // month 1..12, day 1..31
    int hour = 0, minute = 0, second = 0;
    int millisecond = 0;
    int weekday = 0;                         // 0 = Sunday
};
PlatformDateTime PlatformNow();
// Milliseconds of a clock that only moves forward (for intervals, not for dates).
std::uint64_t PlatformTickMs();
// A time stamp (seconds since the epoch) as local calendar time.
PlatformDateTime PlatformLocalTime(std::int64_t seconds);

// One match of a file search.
struct PlatformFoundFile {
    std::string name;            // without folder
    std::int64_t modified = 0;   // last modification, seconds since the epoch
    std::uint64_t size = 0;
    bool folder = false;
};
// Searches for pattern: wildcards '*' and '?' are allowed in its last component and match without
// regard to case ("*.*" matches every name). A name without wildcards matches the entry of that name,
// or else the one entry whose name differs only in case. "." and ".." are never listed for a
// wildcard. Matches come sorted by name.
std::vector<PlatformFoundFile> PlatformFindFiles(const std::string& pattern);

// Creates a new file, readable and writable by its owner only (mode 0600), under a name no entry of
// its folder has: folder (empty: the current folder) joined with stem, six random letters or digits
// and ext (with its point, or empty). Created exclusively, as mkstemp does, so that two runs never
// share it; opened for update ("wb+"). *path gets its runtime path. Null on failure.
std::FILE* PlatformCreateUnique(const std::string& folder, const std::string& stem, const std::string& ext,
                                std::string* path);
// Opens path for writing ("wb"), emptied, readable and writable by its owner only (mode 0600): a new
// file is created so, and an existing one is made so before anything is written. A symbolic link is
// not followed (null). Null on failure.
std::FILE* PlatformCreatePrivate(const std::string& path);
// Holds an advisory exclusive lock (flock) on path, creating an empty file when it is missing, and
// waits while another process holds it. A file replaced by a rename while waiting is locked again
// under its new content, so that holders of one path always exclude each other. A handle for
// PlatformUnlock, or -1 when the file cannot be opened.
int PlatformLock(const std::string& path);
void PlatformUnlock(int lock);

// Opens a file with a standard-library mode string. A mode that reads ("r...") and does not find the
// exact name looks once more, component by component, for names that differ only in case. A folder
// is never opened (null, errno EISDIR).
std::FILE* PlatformOpen(const std::string& path, const char* mode);
// 0, or the system's error number.
int PlatformRemove(const std::string& path);
int PlatformRename(const std::string& from, const std::string& to);
int PlatformMakeFolder(const std::string& path);
// The system's error number for a path that names no folder and no file (ENOENT), a denied access
// (EACCES) and an existing entry (EEXIST), so that callers can tell them apart without system headers.
int PlatformErrNotFound();
int PlatformErrDenied();
int PlatformErrExists();

// Byte-mode file operations on a stream from PlatformOpen or PlatformStdStream.
std::FILE* PlatformStdStream(int which);  // 0 input, 1 output, 2 error
std::size_t PlatformRead(std::FILE* f, void* buffer, std::size_t n);
std::size_t PlatformWrite(std::FILE* f, const void* data, std::size_t n);
// origin: 0 from the start, 1 from the current position, 2 from the end. Gives 0 on success.
int PlatformSeek(std::FILE* f, std::int64_t offset, int origin);
std::int64_t PlatformTell(std::FILE* f);  // -1 when the stream has no position
int PlatformFlush(std::FILE* f);
int PlatformClose(std::FILE* f);

}  // namespace rt
