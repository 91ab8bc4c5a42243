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

} // namespace quorvane::test
