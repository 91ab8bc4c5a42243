#pragma once

#include <cstdint>
#include <cstring>
#include <string>

namespace quorvane {

// Appends values in the little-endian byte order of the binary formats written here.
inline void AppendLe16(std::string& out, uint32_t value) {
    out += static_cast<char>(value & 0xFF);
    out += static_cast<char>((value >> 8) & 0xFF);
}
inline void AppendLe32(std::string& out, uint32_t value) {
    AppendLe16(out, value & 0xFFFF);
    AppendLe16(out, value >> 16);
}
inline void AppendLeDouble(std::string& out, double value) {
    uint64_t bits;
    std::memcpy(&bits, &value, sizeof bits);
    AppendLe32(out, static_cast<uint32_t>(bits));
    AppendLe32(out, static_cast<uint32_t>(bits >> 32));
}

} // namespace quorvane
