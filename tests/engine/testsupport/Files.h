#pragma once

#include <fstream>
#include <iterator>
#include <string>

#include <sys/stat.h>

namespace quorvane::test {

// The whole file as bytes; empty when it cannot be read.
inline std::string ReadFile(const std::string& name) {
    std::ifstream in(name, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// Whether anything has the name, a dangling symbolic link included (lstat, not stat).
inline bool Exists(const std::string& name) {
    struct stat st;
    return ::lstat(name.c_str(), &st) == 0;
}

// Whether both names exist and lie on different file systems: for the tests that need a move
// across devices, which skip themselves where the machine has no second file system.
inline bool OnDifferentFileSystems(const std::string& first, const std::string& second) {
    struct stat a, b;
    return ::stat(first.c_str(), &a) == 0 && ::stat(second.c_str(), &b) == 0 &&
           a.st_dev != b.st_dev;
}

} // namespace quorvane::test
