#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>
#include <string_view>
#include <unistd.h>

namespace quorvane::fuzz {

inline std::string_view AsText(const uint8_t* data, std::size_t size) {
    return {reinterpret_cast<const char*>(data), size};
}

// Readers that take a file name get the bytes through a file in memory-backed /dev/shm, one per
// fuzzing process.
inline std::string WriteInputFile(std::string_view bytes, std::string_view suffix) {
    const std::string name =
        "/dev/shm/quorvane-fuzz-" + std::to_string(getpid()) + std::string(suffix);
    if (FILE* file = std::fopen(name.c_str(), "wb")) {
        std::fwrite(bytes.data(), 1, bytes.size(), file);
        std::fclose(file);
    }
    return name;
}

// Stops the run when a property fails, so that libFuzzer keeps the input.
inline void Require(bool condition) {
    if (!condition)
        __builtin_trap();
}

} // namespace quorvane::fuzz
