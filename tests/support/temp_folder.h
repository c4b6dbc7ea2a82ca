// A fresh folder under /tmp for one test, removed afterwards; optionally the current folder while
// it lives.
#pragma once
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

namespace rt::test {

class TempFolder {
public:
    explicit TempFolder(bool enter = false) {
        char templ[] = "/tmp/qnt_test_XXXXXX";
        if (::mkdtemp(templ) != nullptr) path_ = std::filesystem::canonical(templ).string();
        if (enter) {
            previous_ = std::filesystem::current_path().string();
            std::filesystem::current_path(path_);
        }
    }
    ~TempFolder() {
        std::error_code ec;
        if (!previous_.empty()) std::filesystem::current_path(previous_, ec);
        if (!path_.empty()) std::filesystem::remove_all(path_, ec);
    }
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    const std::string& path() const { return path_; }
    // The folder as the runtime writes paths (backslash separators).
    std::string RuntimePath() const {
        std::string s = path_;
        std::replace(s.begin(), s.end(), '/', '\\');
        return s;
    }
    std::string File(const std::string& name) const { return path_ + "/" + name; }
    void Write(const std::string& name, const std::string& bytes) const {
        std::ofstream(File(name), std::ios::binary) << bytes;
    }
    std::string Read(const std::string& name) const {
        std::ifstream in(File(name), std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }
    bool Exists(const std::string& name) const { return std::filesystem::exists(File(name)); }

private:
    std::string path_;
    std::string previous_;
};

}  // namespace rt::test
