#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>

#include "duplicates/FileBlockReader.h"

namespace quorvane {

// CRC-32 of IEEE 802.3 as zip uses it: reflected polynomial 0xEDB88320, register started at
// 0xFFFFFFFF and inverted at the end. The check value of "123456789" is 0xCBF43926.

// The standard 256-entry table of the polynomial: entry n is the register after shifting the
// byte n through it.
const std::array<uint32_t, 256>& Crc32Table();

// The register after `count` more bytes. Start with 0xFFFFFFFF and invert the result at the end.
uint32_t UpdateCrc32(const void* data, std::size_t count, uint32_t crc);

// The CRC-32 of a whole file into `crc` (final value, inverted); on failure the outcome names
// the file and the cause and `crc` is left alone.
TFileReadOutcome ComputeFileCrc32(const std::string& fileName, uint32_t& crc,
                                  const TStopRequested& stopped = {});

// The CRC-32 of a whole file, or 0xFFFFFFFF when the file cannot be opened or read to its end.
uint32_t FileCrc32(const std::string& fileName);

} // namespace quorvane
