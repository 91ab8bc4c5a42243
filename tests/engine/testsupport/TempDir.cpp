#include "testsupport/TempDir.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <stdexcept>

#include <sys/wait.h>
#include <unistd.h>

namespace quorvane::test {

namespace fs = std::filesystem;

TTempDir::TTempDir() {
    const char* base = std::getenv("TMPDIR");
    std::string pattern = std::string(base && *base ? base : "/tmp") + "/quorvane-test-XXXXXX";
    if (!::mkdtemp(pattern.data()))
        throw std::runtime_error("mkdtemp failed for " + pattern);
    FPath = pattern + "/";
}

TTempDir::~TTempDir() {
    std::error_code ignored;
    // Give back permissions a test took away, so that everything can be removed.
    for (auto it = fs::recursive_directory_iterator(
             FPath, fs::directory_options::skip_permission_denied, ignored);
         it != fs::recursive_directory_iterator(); it.increment(ignored)) {
        if (it->is_directory(ignored) && !it->is_symlink(ignored))
            fs::permissions(it->path(), fs::perms::owner_all, fs::perm_options::add, ignored);
    }
    fs::remove_all(FPath, ignored);
}

std::string TTempDir::WriteFile(std::string_view relative, std::string_view contents) const {
    const fs::path full = fs::path(FPath) / relative;
    fs::create_directories(full.parent_path());
    std::ofstream out(full, std::ios::binary | std::ios::trunc);
    out.write(contents.data(), static_cast<std::streamsize>(contents.size()));
    if (!out)
        throw std::runtime_error("cannot write " + full.string());
    return full.string();
}

std::string TTempDir::MakeFolder(std::string_view relative) const {
    const fs::path full = fs::path(FPath) / relative;
    fs::create_directories(full);
    std::string text = full.string();
    if (text.back() != '/')
        text += '/';
    return text;
}

int RunAsUnprivileged(const std::function<bool()>& body) {
    const pid_t child = ::fork();
    if (child < 0)
        throw std::runtime_error("fork failed");
    if (child == 0) {
        if (::getuid() == 0 &&
            (::setresgid(65534, 65534, 65534) != 0 || ::setresuid(65534, 65534, 65534) != 0))
            ::_exit(3);
        ::_exit(body() ? 0 : 1);
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : 128;
}

} // namespace quorvane::test
