// Process services on a POSIX system. Runtime paths ('\' separators, Windows-1252 bytes) become
// system paths ('/' separators, UTF-8) here and nowhere else.
#include "platform/process.h"

#include "platform/cp1252.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <fstream>
#include <iterator>

extern char** environ;

namespace rt {
namespace {


std::string ToSystemPath(const std::string& path) {
    std::string p = Cp1252ToUtf8(path);
    std::replace(p.begin(), p.end(), '\\', '/');
    return p;
}

std::string FromSystemPath(const std::string& path) {
    std::string p = Utf8ToCp1252(path);
    std::replace(p.begin(), p.end(), '/', '\\');
    return p;
}

// ---- Case-insensitive names ----

char32_t FoldCase(char32_t c) {
    if (c >= 'A' && c <= 'Z') return c + 32;
    if (c >= 0xC0 && c <= 0xDE && c != 0xD7) return c + 32;  // Latin-1 capitals
    return c;
}

bool SameIgnoringCase(const std::string& a, const std::string& b) {
    std::u32string x = DecodeUtf8(a), y = DecodeUtf8(b);
    if (x.size() != y.size()) return false;
    for (std::size_t i = 0; i < x.size(); ++i)
        if (FoldCase(x[i]) != FoldCase(y[i])) return false;
    return true;
}

// Wildcard match on code points: '*' any run, '?' one character, letters without regard to case.
bool WildMatch(const std::u32string& pat, const std::u32string& name) {
    std::size_t p = 0, n = 0, star = std::u32string::npos, mark = 0;
    while (n < name.size()) {
        if (p < pat.size() && (pat[p] == U'?' || FoldCase(pat[p]) == FoldCase(name[n]))) {
            ++p;
            ++n;
        } else if (p < pat.size() && pat[p] == U'*') {
            star = p++;
            mark = n;
        } else if (star != std::u32string::npos) {
            p = star + 1;
            n = ++mark;
        } else {
            return false;
        }
    }
    while (p < pat.size() && pat[p] == U'*') ++p;
    return p == pat.size();
}

bool Exists(const std::string& sysPath) {
    struct stat st;
    return ::lstat(sysPath.c_str(), &st) == 0;
}

std::vector<std::string> FolderEntries(const std::string& folder) {
    std::vector<std::string> names;
    DIR* dir = ::opendir(folder.empty() ? "." : folder.c_str());
    if (!dir) return names;
    while (dirent* e = ::readdir(dir)) {
        if (std::strcmp(e->d_name, ".") == 0 || std::strcmp(e->d_name, "..") == 0) continue;
        names.emplace_back(e->d_name);
    }
    ::closedir(dir);
    std::sort(names.begin(), names.end());
    return names;
}

// The system path itself when it exists; otherwise the path whose missing components are replaced by
// the first entry (in name order) of their folder that differs only in case; the path unchanged when
// some component cannot be found either way.
std::string ResolveCase(const std::string& sysPath) {
    if (sysPath.empty() || Exists(sysPath)) return sysPath;
    std::string done;
    std::size_t i = 0;
    if (sysPath[0] == '/') {
        done = "/";
        i = 1;
    }
    while (i <= sysPath.size()) {
        std::size_t slash = sysPath.find('/', i);
        if (slash == std::string::npos) slash = sysPath.size();
        std::string comp = sysPath.substr(i, slash - i);
        if (!comp.empty()) {
            std::string candidate = done + comp;
            if (comp != "." && comp != ".." && !Exists(candidate)) {
                std::string found;
                for (const std::string& name : FolderEntries(done))
                    if (SameIgnoringCase(name, comp)) { found = name; break; }
                if (found.empty()) return sysPath;
                candidate = done + found;
            }
            done = candidate;
        }
        if (slash < sysPath.size()) done += '/';
        i = slash + 1;
    }
    return done;
}

// ---- Command line ----

std::vector<std::string> g_args;  // system bytes (UTF-8); the first is replaced by the program path
bool g_argsSet = false;

std::vector<std::string> ArgsOfProcess() {
    std::vector<std::string> args;
    std::ifstream in("/proc/self/cmdline", std::ios::binary);
    std::string all((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    std::size_t start = 0;
    while (start < all.size()) {
        std::size_t end = all.find('\0', start);
        if (end == std::string::npos) end = all.size();
        args.push_back(all.substr(start, end - start));
        start = end + 1;
    }
    return args;
}

std::string ProgramPath(const std::string& argv0) {
    char buffer[4096];
    ssize_t n = ::readlink("/proc/self/exe", buffer, sizeof buffer - 1);
    if (n > 0) return std::string(buffer, static_cast<std::size_t>(n));
    if (char* real = ::realpath(argv0.c_str(), nullptr)) {
        std::string p(real);
        std::free(real);
        return p;
    }
    return argv0;
}

bool IsOptionNameChar(char32_t c) {
    return (c >= U'A' && c <= U'Z') || (c >= U'a' && c <= U'z') || (c >= U'0' && c <= U'9') || c == U'_' ||
           c == U'?';
}

// Where the value of an option argument ("/NAME:value", "-NAME=value", "--NAME:value") starts;
// npos for any other argument.
std::size_t OptionValueStart(const std::u32string& w) {
    std::size_t i = 0;
    if (w.compare(0, 2, U"--") == 0) i = 2;
    else if (!w.empty() && (w[0] == U'/' || w[0] == U'-')) i = 1;
    else return std::u32string::npos;
    std::size_t name = i;
    while (i < w.size() && IsOptionNameChar(w[i])) ++i;
    if (i == name || i == w.size() || (w[i] != U':' && w[i] != U'=')) return std::u32string::npos;
    return i + 1;
}

bool IsQuoted(const std::u32string& v) {
    return v.size() >= 2 && (v[0] == U'"' || v[0] == U'\'') && v.back() == v[0];
}

// One argument as the runtime must see it. The runtime finds an option by its name outside quoted
// sections and ends an unquoted value at a blank, so a value holding a blank is quoted on its own
// (in single quotes when it holds a double quote and no single one); any other argument holding a
// blank is enclosed whole.
std::u32string CommandLineWord(const std::u32string& w) {
    if (w.find(U' ') == std::u32string::npos) return w;
    std::size_t value = OptionValueStart(w);
    if (value != std::u32string::npos) {
        std::u32string v = w.substr(value);
        if (v.find(U' ') == std::u32string::npos || IsQuoted(v)) return w;
        char32_t quote = (v.find(U'"') != std::u32string::npos && v.find(U'\'') == std::u32string::npos) ? U'\'' : U'"';
        return w.substr(0, value) + quote + v + quote;
    }
    if (w.find(U'"') != std::u32string::npos) return w;
    return U'"' + w + U'"';
}

// The command line as code points: the program path with '\' separators, then the arguments.
std::u32string CommandLineChars() {
    std::vector<std::string> args = g_argsSet ? g_args : ArgsOfProcess();
    std::u32string line;
    for (std::size_t i = 0; i < args.size() || i == 0; ++i) {
        std::string word;
        if (i == 0) {
            word = ProgramPath(args.empty() ? std::string() : args[0]);
            std::replace(word.begin(), word.end(), '/', '\\');
        } else {
            word = args[i];
        }
        if (i > 0) line += U' ';
        line += CommandLineWord(DecodeUtf8(word));
    }
    return line;
}

}  // namespace

void PlatformSetArgs(int argc, const char* const* argv) {
    g_args.clear();
    for (int i = 0; i < argc && argv; ++i) g_args.emplace_back(argv[i] ? argv[i] : "");
    g_argsSet = true;
}

std::u16string PlatformCommandLine() {
    std::u16string out;
    for (char32_t c : CommandLineChars()) {
        if (c < 0x10000) {
            out += static_cast<char16_t>(c);
        } else {
            c -= 0x10000;
            out += static_cast<char16_t>(0xD800 + (c >> 10));
            out += static_cast<char16_t>(0xDC00 + (c & 0x3FF));
        }
    }
    return out;
}

std::string PlatformCommandLineBytes() {
    std::string out;
    for (char32_t c : CommandLineChars()) out += static_cast<char>(CodePointToCp1252(c));
    return out;
}

std::string PlatformCurrentFolder() {
    char* cwd = ::getcwd(nullptr, 0);
    if (!cwd) return std::string();
    std::string folder = FromSystemPath(cwd);
    std::free(cwd);
    return folder;
}

int PlatformSetCurrentFolder(const std::string& path) {
    if (path.empty()) return ENOENT;
    return ::chdir(ToSystemPath(path).c_str()) == 0 ? 0 : errno;
}

std::string PlatformEnv(const std::string& name) {
    if (name.empty()) return std::string();
    std::string sysName = Cp1252ToUtf8(name);
    if (const char* v = std::getenv(sysName.c_str())) return Utf8ToCp1252(v);
    for (char** e = environ; e && *e; ++e) {
        const char* eq = std::strchr(*e, '=');
        if (eq && SameIgnoringCase(std::string(*e, static_cast<std::size_t>(eq - *e)), sysName)) return Utf8ToCp1252(eq + 1);
    }
    if (SameIgnoringCase(sysName, "TEMP")) {
        const char* tmpdir = std::getenv("TMPDIR");
        return Utf8ToCp1252(tmpdir && *tmpdir ? tmpdir : "/tmp");
    }
    return std::string();
}

PlatformDateTime PlatformLocalTime(std::int64_t seconds) {
    PlatformDateTime dt;
    std::time_t t = static_cast<std::time_t>(seconds);
    std::tm tm{};
    if (!::localtime_r(&t, &tm)) return dt;
    dt.year = tm.tm_year + 1900;
    dt.month = tm.tm_mon + 1;
    dt.day = tm.tm_mday;
    dt.hour = tm.tm_hour;
    dt.minute = tm.tm_min;
    dt.second = tm.tm_sec;
    dt.weekday = tm.tm_wday;
    return dt;
}

PlatformDateTime PlatformNow() {
    timespec ts{};
    ::clock_gettime(CLOCK_REALTIME, &ts);
    PlatformDateTime dt = PlatformLocalTime(ts.tv_sec);
    dt.millisecond = static_cast<int>(ts.tv_nsec / 1000000);
    return dt;
}

std::uint64_t PlatformTickMs() {
    timespec ts{};
    ::clock_gettime(CLOCK_MONOTONIC, &ts);
    return static_cast<std::uint64_t>(ts.tv_sec) * 1000u + static_cast<std::uint64_t>(ts.tv_nsec / 1000000);
}

std::vector<PlatformFoundFile> PlatformFindFiles(const std::string& pattern) {
    std::vector<PlatformFoundFile> found;
    std::string sys = ToSystemPath(pattern);
    if (sys.empty()) return found;
    std::size_t slash = sys.rfind('/');
    std::string folder = slash == std::string::npos ? std::string() : sys.substr(0, slash == 0 ? 1 : slash);
    std::string namePattern = slash == std::string::npos ? sys : sys.substr(slash + 1);
    auto add = [&found](const std::string& path, const std::string& name) {
        struct stat st;
        if (::stat(path.c_str(), &st) != 0) return;
        PlatformFoundFile f;
        f.name = Utf8ToCp1252(name);
        f.modified = st.st_mtime;
        f.size = static_cast<std::uint64_t>(st.st_size);
        f.folder = S_ISDIR(st.st_mode);
        found.push_back(std::move(f));
    };
    if (namePattern.find_first_of("*?") == std::string::npos) {
        std::string resolved = ResolveCase(sys);
        std::size_t s = resolved.rfind('/');
        add(resolved, s == std::string::npos ? resolved : resolved.substr(s + 1));
        return found;
    }
    if (namePattern == "*.*") namePattern = "*";
    std::string sysFolder = folder.empty() ? std::string() : ResolveCase(folder);
    std::u32string pat = DecodeUtf8(namePattern);
    for (const std::string& name : FolderEntries(sysFolder)) {
        if (!WildMatch(pat, DecodeUtf8(name))) continue;
        std::string path = sysFolder.empty() ? name
                           : sysFolder == "/" ? "/" + name : sysFolder + "/" + name;
        add(path, name);
    }
    return found;
}

std::FILE* PlatformCreateUnique(const std::string& folder, const std::string& stem, const std::string& ext,
                                std::string* path) {
    static constexpr char kRandom[] = "XXXXXX";
    std::string sysFolder = ToSystemPath(folder);
    if (!sysFolder.empty() && sysFolder.back() != '/') sysFolder += '/';
    std::string templ = sysFolder + ToSystemPath(stem) + kRandom + ToSystemPath(ext);
    std::vector<char> buffer(templ.begin(), templ.end());
    buffer.push_back('\0');
    // mkstemps creates the file with O_EXCL and mode 0600.
    int fd = ::mkstemps(buffer.data(), static_cast<int>(ToSystemPath(ext).size()));
    if (fd < 0) return nullptr;
    std::FILE* f = ::fdopen(fd, "wb+");
    if (!f) {
        int saved = errno;
        ::close(fd);
        ::unlink(buffer.data());
        errno = saved;
        return nullptr;
    }
    if (path) *path = FromSystemPath(buffer.data());
    return f;
}

std::FILE* PlatformCreatePrivate(const std::string& path) {
    if (path.empty()) return nullptr;
    constexpr mode_t kOwnerOnly = S_IRUSR | S_IWUSR;
    // A symbolic link is refused: the private bytes must not land wherever it points.
    int fd = ::open(ToSystemPath(path).c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC | O_NOFOLLOW, kOwnerOnly);
    if (fd < 0) return nullptr;
    // An existing file keeps its mode through open(): it is made private before any byte is written.
    if (::fchmod(fd, kOwnerOnly) != 0) {
        ::close(fd);
        return nullptr;
    }
    std::FILE* f = ::fdopen(fd, "wb");
    if (!f) ::close(fd);
    return f;
}

int PlatformLock(const std::string& path) {
    if (path.empty()) return -1;
    std::string sys = ToSystemPath(path);
    if (!Exists(sys)) sys = ResolveCase(sys);
    constexpr mode_t kCreateMode = 0666;  // narrowed by the umask, as any file the runtime creates
    for (;;) {
        int fd = ::open(sys.c_str(), O_RDONLY | O_CREAT | O_CLOEXEC, kCreateMode);  // flock needs no write access
        if (fd < 0) return -1;
        int locked;
        do locked = ::flock(fd, LOCK_EX);
        while (locked != 0 && errno == EINTR);
        if (locked != 0) {
            ::close(fd);
            return -1;
        }
        // The holder before us may have renamed a new file over the path: the lock then guards a
        // file nobody reads any more, and the new one must be locked instead.
        struct stat held, named;
        if (::fstat(fd, &held) == 0 && ::stat(sys.c_str(), &named) == 0 && held.st_dev == named.st_dev &&
            held.st_ino == named.st_ino)
            return fd;
        ::close(fd);
    }
}

void PlatformUnlock(int lock) {
    if (lock >= 0) ::close(lock);  // closing the descriptor releases its flock
}

std::FILE* PlatformOpen(const std::string& path, const char* mode) {
    if (path.empty() || !mode) return nullptr;
    std::string sys = ToSystemPath(path);
    std::FILE* f = std::fopen(sys.c_str(), mode);
    if (!f && mode[0] == 'r' && errno == ENOENT) {
        std::string resolved = ResolveCase(sys);
        if (resolved != sys) f = std::fopen(resolved.c_str(), mode);
    }
    // The system lets a folder be opened for reading; its "content" would read as endless empty lines.
    struct stat st;
    if (f && ::fstat(::fileno(f), &st) == 0 && S_ISDIR(st.st_mode)) {
        std::fclose(f);
        errno = EISDIR;
        return nullptr;
    }
    return f;
}

int PlatformRemove(const std::string& path) {
    if (path.empty()) return ENOENT;
    return std::remove(ToSystemPath(path).c_str()) == 0 ? 0 : errno;
}

int PlatformRename(const std::string& from, const std::string& to) {
    if (from.empty() || to.empty()) return ENOENT;
    return std::rename(ToSystemPath(from).c_str(), ToSystemPath(to).c_str()) == 0 ? 0 : errno;
}

int PlatformMakeFolder(const std::string& path) {
    if (path.empty()) return ENOENT;
    return ::mkdir(ToSystemPath(path).c_str(), 0777) == 0 ? 0 : errno;
}

int PlatformErrNotFound() { return ENOENT; }
int PlatformErrDenied() { return EACCES; }
int PlatformErrExists() { return EEXIST; }

std::FILE* PlatformStdStream(int which) {
    switch (which) {
        case 0: return stdin;
        case 1: return stdout;
        case 2: return stderr;
        default: return nullptr;
    }
}

std::size_t PlatformRead(std::FILE* f, void* buffer, std::size_t n) {
    return f && n ? std::fread(buffer, 1, n, f) : 0;
}

std::size_t PlatformWrite(std::FILE* f, const void* data, std::size_t n) {
    return f && n ? std::fwrite(data, 1, n, f) : 0;
}

int PlatformSeek(std::FILE* f, std::int64_t offset, int origin) {
    if (!f) return -1;
    int whence = origin == 1 ? SEEK_CUR : origin == 2 ? SEEK_END : SEEK_SET;
    return ::fseeko(f, static_cast<off_t>(offset), whence) == 0 ? 0 : -1;
}

std::int64_t PlatformTell(std::FILE* f) { return f ? static_cast<std::int64_t>(::ftello(f)) : -1; }

int PlatformFlush(std::FILE* f) { return f ? std::fflush(f) : -1; }

int PlatformClose(std::FILE* f) { return f ? std::fclose(f) : -1; }

}  // namespace rt
