#include <gtest/gtest.h>

#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "duplicates/Crc.h"
#include "duplicates/CrcKernels.h"
#include "testsupport/TempDir.h"

namespace {

using namespace quorvane;

// The CRC worked out bit by bit from the polynomial, with no table at all.
uint32_t BitwiseCrcRegister(const uint8_t* data, std::size_t count, uint32_t crc) {
    for (std::size_t i = 0; i < count; ++i) {
        crc ^= data[i];
        for (int bit = 0; bit < 8; ++bit)
            crc = (crc & 1u) ? (crc >> 1) ^ 0xEDB88320u : crc >> 1;
    }
    return crc;
}

std::vector<uint8_t> RandomBytes(std::size_t count, uint32_t seed) {
    std::mt19937 random(seed);
    std::vector<uint8_t> bytes(count);
    for (uint8_t& byte : bytes)
        byte = static_cast<uint8_t>(random());
    return bytes;
}

using TUpdate = uint32_t (*)(const uint8_t*, std::size_t, uint32_t);

uint32_t PublicUpdate(const uint8_t* data, std::size_t count, uint32_t crc) {
    return UpdateCrc32(data, count, crc);
}

struct TKernel {
    const char* Name;
    TUpdate Update;
};

std::vector<TKernel> Kernels() {
    std::vector<TKernel> kernels = {{"UpdateCrc32", PublicUpdate},
                                    {"Bytewise", crc32::UpdateBytewise},
                                    {"Sliced", crc32::UpdateSliced}};
    if (crc32::FoldingSupported())
        kernels.push_back({"Folded", crc32::UpdateFolded});
    return kernels;
}

TEST(Crc32Table, EveryEntryIsTheRegisterOfItsByte) {
    const auto& table = Crc32Table();
    for (uint32_t n = 0; n < 256; ++n) {
        const uint8_t byte = static_cast<uint8_t>(n);
        EXPECT_EQ(table[n], BitwiseCrcRegister(&byte, 1, 0)) << "entry " << n;
    }
    EXPECT_EQ(table[1], 0x77073096u);
    EXPECT_EQ(table[255], 0x2D02EF8Du);
}

TEST(Crc32, CheckValueOfTheNineDigits) {
    const std::string digits = "123456789";
    for (const TKernel& kernel : Kernels()) {
        const uint32_t crc = kernel.Update(reinterpret_cast<const uint8_t*>(digits.data()),
                                           digits.size(), 0xFFFFFFFFu);
        EXPECT_EQ(crc ^ 0xFFFFFFFFu, 0xCBF43926u) << kernel.Name;
    }
}

// Every length around the 16- and 64-byte strides, at every alignment, from any register. The
// folding path joins in where the processor has it.
TEST(Crc32, EveryPathAgreesWithTheBitwiseRule) {
    const std::vector<uint8_t> data = RandomBytes(4096 + 64, 1);
    std::mt19937 random(2);
    for (const TKernel& kernel : Kernels()) {
        for (std::size_t offset = 0; offset < 16; ++offset)
            for (std::size_t count = 0; count <= 300; ++count) {
                const uint32_t start = static_cast<uint32_t>(random());
                ASSERT_EQ(kernel.Update(data.data() + offset, count, start),
                          BitwiseCrcRegister(data.data() + offset, count, start))
                    << kernel.Name << " offset " << offset << " count " << count;
            }
        EXPECT_EQ(kernel.Update(data.data(), data.size(), 0xFFFFFFFFu),
                  BitwiseCrcRegister(data.data(), data.size(), 0xFFFFFFFFu))
            << kernel.Name;
    }
}

TEST(Crc32, PiecesOfAnySizeGiveTheCrcOfTheWhole) {
    const std::vector<uint8_t> data = RandomBytes(200000, 3);
    const uint32_t whole = UpdateCrc32(data.data(), data.size(), 0xFFFFFFFFu);
    std::mt19937 random(4);
    for (int round = 0; round < 20; ++round) {
        uint32_t crc = 0xFFFFFFFFu;
        for (std::size_t position = 0; position < data.size();) {
            const std::size_t piece =
                std::min<std::size_t>(random() % 5000, data.size() - position);
            crc = UpdateCrc32(data.data() + position, piece, crc);
            position += piece;
        }
        EXPECT_EQ(crc, whole) << "round " << round;
    }
}

TEST(FileCrc32, ReadsTheWholeFile) {
    test::TTempDir dir;
    EXPECT_EQ(FileCrc32(dir.WriteFile("digits", "123456789")), 0xCBF43926u);
    EXPECT_EQ(FileCrc32(dir.WriteFile("empty", "")), 0u);

    // Larger than one read block, and not a multiple of it.
    const std::vector<uint8_t> data = RandomBytes(3 * 256 * 1024 + 17, 5);
    const std::string big = dir.WriteFile(
        "big", std::string_view(reinterpret_cast<const char*>(data.data()), data.size()));
    EXPECT_EQ(FileCrc32(big),
              BitwiseCrcRegister(data.data(), data.size(), 0xFFFFFFFFu) ^ 0xFFFFFFFFu);
}

TEST(FileCrc32, FileThatCannotBeOpenedGivesAllOnes) {
    test::TTempDir dir;
    EXPECT_EQ(FileCrc32(dir / "missing"), 0xFFFFFFFFu);
    EXPECT_EQ(FileCrc32(""), 0xFFFFFFFFu);
    EXPECT_EQ(FileCrc32(dir.MakeFolder("folder")), 0xFFFFFFFFu);

    uint32_t crc = 0x12345678u;
    const TFileReadOutcome outcome = ComputeFileCrc32(dir / "missing", crc);
    EXPECT_FALSE(outcome.Ok());
    EXPECT_NE(outcome.Error.find(dir / "missing"), std::string::npos) << outcome.Error;
    EXPECT_EQ(crc, 0x12345678u);
}

} // namespace
