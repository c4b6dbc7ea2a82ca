// The wrapped C-library calls of the fuzz targets and the scratch-folder rule they apply.
#include "tests/fuzz/support/fuzz_sandbox.h"

#include <dirent.h>
#include <errno.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <filesystem>

namespace rt::fuzz {
namespace {

std::string g_root;
bool g_guarding = false;
bool g_wrote = false;

bool Refuse() {
    errno = EACCES;
    return false;
}

// Checks one path; notes a write when the call may change the folder.
bool Check(const char* path, bool writes) {
    if (!g_guarding) return true;
    if (path == nullptr || !SandboxAllows(path)) return Refuse();
    if (writes) g_wrote = true;
    return true;
}

bool Writes(const char* mode) { return mode != nullptr && std::strpbrk(mode, "wa+") != nullptr; }

}  // namespace

void SandboxSetRoot(const std::string& root) { g_root = root; }
const std::string& SandboxRoot() { return g_root; }
void SandboxEnter() { g_guarding = true; }
void SandboxLeave() { g_guarding = false; }

bool SandboxTakeWrites() {
    bool wrote = g_wrote;
    g_wrote = false;
    return wrote;
}

bool SandboxAllows(const char* path) {
    if (g_root.empty() || *path == '\0') return false;
    namespace fs = std::filesystem;
    // Lexical: the runtime cannot make links, and the root itself is canonical.
    fs::path p = path[0] == '/' ? fs::path(path) : fs::path(g_root) / path;
    std::string normal = p.lexically_normal().string();
    while (normal.size() > 1 && normal.back() == '/') normal.pop_back();
    return normal.compare(0, g_root.size(), g_root) == 0 &&
           (normal.size() == g_root.size() || normal[g_root.size()] == '/');
}

}  // namespace rt::fuzz

// The wrappers the linker puts in place of the runtime's calls (-Wl,--wrap=NAME).
extern "C" {
FILE* __real_fopen(const char* path, const char* mode);
int __real_remove(const char* path);
int __real_rename(const char* from, const char* to);
int __real_mkdir(const char* path, mode_t mode);
int __real_unlink(const char* path);
DIR* __real_opendir(const char* path);
int __real_mkstemp(char* templ);

FILE* __wrap_fopen(const char* path, const char* mode) {
    return rt::fuzz::Check(path, rt::fuzz::Writes(mode)) ? __real_fopen(path, mode) : nullptr;
}
int __wrap_remove(const char* path) { return rt::fuzz::Check(path, true) ? __real_remove(path) : -1; }
int __wrap_rename(const char* from, const char* to) {
    return rt::fuzz::Check(from, true) && rt::fuzz::Check(to, true) ? __real_rename(from, to) : -1;
}
int __wrap_mkdir(const char* path, mode_t mode) { return rt::fuzz::Check(path, true) ? __real_mkdir(path, mode) : -1; }
int __wrap_unlink(const char* path) { return rt::fuzz::Check(path, true) ? __real_unlink(path) : -1; }
DIR* __wrap_opendir(const char* path) { return rt::fuzz::Check(path, false) ? __real_opendir(path) : nullptr; }
int __wrap_mkstemp(char* templ) { return rt::fuzz::Check(templ, true) ? __real_mkstemp(templ) : -1; }
}
