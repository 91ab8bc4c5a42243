#pragma once

#include <functional>
#include <string>
#include <string_view>

namespace quorvane::test {

// A fresh folder under $TMPDIR, removed with everything in it when the object goes away.
class TTempDir {
public:
    TTempDir();
    TTempDir(const TTempDir&) = delete;
    TTempDir& operator=(const TTempDir&) = delete;
    ~TTempDir();

    // The folder, with a trailing "/".
    const std::string& Path() const { return FPath; }
    // Path() + relative.
    std::string operator/(std::string_view relative) const { return FPath + std::string(relative); }

    // Creates a file (and its folders) holding the contents; returns its full name.
    std::string WriteFile(std::string_view relative, std::string_view contents = "x") const;
    // Creates a folder with its parents; returns its full name with a trailing "/".
    std::string MakeFolder(std::string_view relative) const;

private:
    std::string FPath;
};

// Runs `body` in a child process that has dropped root to the unprivileged user 65534, so that
// permission bits apply even when the tests run as root. Returns the child's exit status
// (0 when body returned true).
int RunAsUnprivileged(const std::function<bool()>& body);

} // namespace quorvane::test
