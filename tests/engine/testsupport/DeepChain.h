#pragma once

#include <string>
#include <string_view>

namespace quorvane::test {

// A chain of nested folders "d/d/d/..." below a folder, deeper than any path the system accepts,
// made and removed one level at a time through descriptors (tools that work by full path fail
// on it).
class TDeepChain {
public:
    TDeepChain(const std::string& folder, int depth);
    TDeepChain(const TDeepChain&) = delete;
    TDeepChain& operator=(const TDeepChain&) = delete;
    ~TDeepChain();

    // The innermost folder's full path, ending with "/".
    const std::string& Bottom() const { return FBottom; }
    // Writes a file into the innermost folder; returns its full path.
    std::string WriteFile(const std::string& name, std::string_view contents);

private:
    int FDepth;
    int FBottomFd = -1;
    std::string FBottom;
    std::string FNames; // the files written, each followed by a zero byte
};

} // namespace quorvane::test
