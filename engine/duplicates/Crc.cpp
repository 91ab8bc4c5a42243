#include "duplicates/Crc.h"

#include <bit>
#include <cstring>

#include "duplicates/CrcKernels.h"

namespace quorvane {

namespace {

constexpr uint32_t kPolynomial = 0xEDB88320u;
constexpr int kSlices = 16;

using TCrcTables = std::array<std::array<uint32_t, 256>, kSlices>;

// Table k gives the register change of a byte followed by k zero bytes, so that sixteen bytes
// can be looked up independently and combined with exclusive-or.
constexpr TCrcTables MakeTables() {
    TCrcTables tables{};
    for (uint32_t n = 0; n < 256; ++n) {
        uint32_t crc = n;
        for (int bit = 0; bit < 8; ++bit)
            crc = (crc >> 1) ^ ((crc & 1u) ? kPolynomial : 0u);
        tables[0][n] = crc;
    }
    for (int k = 1; k < kSlices; ++k)
        for (uint32_t n = 0; n < 256; ++n) {
            const uint32_t previous = tables[k - 1][n];
            tables[k][n] = (previous >> 8) ^ tables[0][previous & 0xFFu];
        }
    return tables;
}

constexpr TCrcTables kTables = MakeTables();

uint32_t LoadLittleEndian32(const uint8_t* bytes) {
    uint32_t word;
    std::memcpy(&word, bytes, sizeof word);
    if constexpr (std::endian::native == std::endian::big)
        word = __builtin_bswap32(word);
    return word;
}

uint32_t SliceWord(uint32_t word, int firstTable) {
    return kTables[firstTable][word & 0xFFu] ^ kTables[firstTable - 1][(word >> 8) & 0xFFu] ^
           kTables[firstTable - 2][(word >> 16) & 0xFFu] ^ kTables[firstTable - 3][word >> 24];
}

using TUpdateFunction = uint32_t (*)(const uint8_t*, std::size_t, uint32_t);

TUpdateFunction ChooseUpdate() {
    return crc32::FoldingSupported() ? crc32::UpdateFolded : crc32::UpdateSliced;
}

} // namespace

namespace crc32 {

uint32_t UpdateBytewise(const uint8_t* data, std::size_t count, uint32_t crc) {
    for (std::size_t i = 0; i < count; ++i)
        crc = (crc >> 8) ^ kTables[0][(crc ^ data[i]) & 0xFFu];
    return crc;
}

uint32_t UpdateSliced(const uint8_t* data, std::size_t count, uint32_t crc) {
    for (; count >= 16; data += 16, count -= 16) {
        crc = SliceWord(LoadLittleEndian32(data) ^ crc, 15) ^
              SliceWord(LoadLittleEndian32(data + 4), 11) ^
              SliceWord(LoadLittleEndian32(data + 8), 7) ^
              SliceWord(LoadLittleEndian32(data + 12), 3);
    }
    return UpdateBytewise(data, count, crc);
}

} // namespace crc32

const std::array<uint32_t, 256>& Crc32Table() {
    return kTables[0];
}

uint32_t UpdateCrc32(const void* data, std::size_t count, uint32_t crc) {
    static const TUpdateFunction update = ChooseUpdate();
    return update(static_cast<const uint8_t*>(data), count, crc);
}

TFileReadOutcome ComputeFileCrc32(const std::string& fileName, uint32_t& crc,
                                  const TStopRequested& stopped) {
    uint32_t running = 0xFFFFFFFFu;
    TFileReadOutcome outcome = ReadFileBlocks(
        fileName,
        [&running](const uint8_t* block, std::size_t count) {
            running = UpdateCrc32(block, count, running);
        },
        stopped);
    if (outcome.Ok())
        crc = running ^ 0xFFFFFFFFu;
    return outcome;
}

uint32_t FileCrc32(const std::string& fileName) {
    uint32_t crc = 0xFFFFFFFFu;
    ComputeFileCrc32(fileName, crc);
    return crc;
}

} // namespace quorvane
