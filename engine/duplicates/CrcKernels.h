#pragma once

#include <cstddef>
#include <cstdint>

// The interchangeable ways of advancing a CRC-32 register. UpdateCrc32 picks the fastest one the
// processor offers; tests and benchmarks reach each of them here to hold them to the same results.
namespace quorvane::crc32 {

// The plain rule, one table look-up per byte.
uint32_t UpdateBytewise(const uint8_t* data, std::size_t count, uint32_t crc);

// Sixteen bytes per round through sixteen tables derived from the standard one.
uint32_t UpdateSliced(const uint8_t* data, std::size_t count, uint32_t crc);

// True when the processor can run the folding path (x86 with PCLMULQDQ and SSE4.1).
bool FoldingSupported();

// Carry-less multiplication folds 64 bytes per round; inputs under 64 bytes and the last few
// bytes go through UpdateSliced. Only to be called when FoldingSupported() is true.
uint32_t UpdateFolded(const uint8_t* data, std::size_t count, uint32_t crc);

} // namespace quorvane::crc32
