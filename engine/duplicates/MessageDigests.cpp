#include "duplicates/MessageDigests.h"

#include <algorithm>
#include <bit>
#include <cerrno>
#include <cstring>
#include <stdexcept>
#include <system_error>

#include <unistd.h>

namespace quorvane {

namespace {

constexpr std::size_t kStreamChunk = 64 * 1024;

void LoadLittleEndianWords(const uint8_t* block, uint32_t (&words)[16]) {
    std::memcpy(words, block, sizeof words);
    if constexpr (std::endian::native == std::endian::big)
        for (uint32_t& word : words)
            word = __builtin_bswap32(word);
}

void StoreWord(uint32_t word, bool bigEndian, uint8_t* out) {
    for (int i = 0; i < 4; ++i)
        out[i] = static_cast<uint8_t>(bigEndian ? word >> (24 - 8 * i) : word >> (8 * i));
}

// The round functions, written so that the term that waits for the newest word comes last.
inline uint32_t Md4F(uint32_t x, uint32_t y, uint32_t z) {
    return ((y ^ z) & x) ^ z;
}
inline uint32_t Md4G(uint32_t x, uint32_t y, uint32_t z) {
    return (x & (y | z)) | (y & z);
}
inline uint32_t Md4H(uint32_t x, uint32_t y, uint32_t z) {
    return (y ^ z) ^ x;
}
inline uint32_t Md5G(uint32_t x, uint32_t y, uint32_t z) {
    return (y & ~z) + (x & z);
}
inline uint32_t Md5I(uint32_t x, uint32_t y, uint32_t z) {
    return y ^ (x | ~z);
}

template <uint32_t (*Mix)(uint32_t, uint32_t, uint32_t)>
inline void Md4Step(uint32_t& a, uint32_t b, uint32_t c, uint32_t d, uint32_t term, int shift) {
    a = std::rotl(a + term + Mix(b, c, d), shift);
}

template <uint32_t (*Mix)(uint32_t, uint32_t, uint32_t)>
inline void Md5Step(uint32_t& a, uint32_t b, uint32_t c, uint32_t d, uint32_t term, int shift) {
    a = b + std::rotl(a + term + Mix(b, c, d), shift);
}

void Md4Compress(uint32_t* state, const uint8_t* block) {
    uint32_t x[16];
    LoadLittleEndianWords(block, x);
    uint32_t a = state[0], b = state[1], c = state[2], d = state[3];

    for (int i = 0; i < 16; i += 4) {
        Md4Step<Md4F>(a, b, c, d, x[i], 3);
        Md4Step<Md4F>(d, a, b, c, x[i + 1], 7);
        Md4Step<Md4F>(c, d, a, b, x[i + 2], 11);
        Md4Step<Md4F>(b, c, d, a, x[i + 3], 19);
    }
    constexpr uint32_t k2 = 0x5A827999u;
    for (int i = 0; i < 4; ++i) {
        Md4Step<Md4G>(a, b, c, d, x[i] + k2, 3);
        Md4Step<Md4G>(d, a, b, c, x[i + 4] + k2, 5);
        Md4Step<Md4G>(c, d, a, b, x[i + 8] + k2, 9);
        Md4Step<Md4G>(b, c, d, a, x[i + 12] + k2, 13);
    }
    constexpr uint32_t k3 = 0x6ED9EBA1u;
    for (int i : {0, 2, 1, 3}) {
        Md4Step<Md4H>(a, b, c, d, x[i] + k3, 3);
        Md4Step<Md4H>(d, a, b, c, x[i + 8] + k3, 9);
        Md4Step<Md4H>(c, d, a, b, x[i + 4] + k3, 11);
        Md4Step<Md4H>(b, c, d, a, x[i + 12] + k3, 15);
    }

    state[0] += a;
    state[1] += b;
    state[2] += c;
    state[3] += d;
}

// The sine-derived constants of RFC 1321, one per step.
constexpr uint32_t kMd5Constants[64] = {
    0xd76aa478, 0xe8c7b756, 0x242070db, 0xc1bdceee, 0xf57c0faf, 0x4787c62a, 0xa8304613, 0xfd469501,
    0x698098d8, 0x8b44f7af, 0xffff5bb1, 0x895cd7be, 0x6b901122, 0xfd987193, 0xa679438e, 0x49b40821,
    0xf61e2562, 0xc040b340, 0x265e5a51, 0xe9b6c7aa, 0xd62f105d, 0x02441453, 0xd8a1e681, 0xe7d3fbc8,
    0x21e1cde6, 0xc33707d6, 0xf4d50d87, 0x455a14ed, 0xa9e3e905, 0xfcefa3f8, 0x676f02d9, 0x8d2a4c8a,
    0xfffa3942, 0x8771f681, 0x6d9d6122, 0xfde5380c, 0xa4beea44, 0x4bdecfa9, 0xf6bb4b60, 0xbebfbc70,
    0x289b7ec6, 0xeaa127fa, 0xd4ef3085, 0x04881d05, 0xd9d4d039, 0xe6db99e5, 0x1fa27cf8, 0xc4ac5665,
    0xf4292244, 0x432aff97, 0xab9423a7, 0xfc93a039, 0x655b59c3, 0x8f0ccc92, 0xffeff47d, 0x85845dd1,
    0x6fa87e4f, 0xfe2ce6e0, 0xa3014314, 0x4e0811a1, 0xf7537e82, 0xbd3af235, 0x2ad7d2bb, 0xeb86d391};

void Md5Compress(uint32_t* state, const uint8_t* block) {
    uint32_t x[16];
    LoadLittleEndianWords(block, x);
    uint32_t a = state[0], b = state[1], c = state[2], d = state[3];
    const uint32_t* k = kMd5Constants;

    for (int i = 0; i < 16; i += 4) {
        Md5Step<Md4F>(a, b, c, d, x[i] + k[i], 7);
        Md5Step<Md4F>(d, a, b, c, x[i + 1] + k[i + 1], 12);
        Md5Step<Md4F>(c, d, a, b, x[i + 2] + k[i + 2], 17);
        Md5Step<Md4F>(b, c, d, a, x[i + 3] + k[i + 3], 22);
    }
    for (int i = 0; i < 16; i += 4) {
        Md5Step<Md5G>(a, b, c, d, x[(5 * i + 1) % 16] + k[16 + i], 5);
        Md5Step<Md5G>(d, a, b, c, x[(5 * i + 6) % 16] + k[17 + i], 9);
        Md5Step<Md5G>(c, d, a, b, x[(5 * i + 11) % 16] + k[18 + i], 14);
        Md5Step<Md5G>(b, c, d, a, x[(5 * i) % 16] + k[19 + i], 20);
    }
    for (int i = 0; i < 16; i += 4) {
        Md5Step<Md4H>(a, b, c, d, x[(3 * i + 5) % 16] + k[32 + i], 4);
        Md5Step<Md4H>(d, a, b, c, x[(3 * i + 8) % 16] + k[33 + i], 11);
        Md5Step<Md4H>(c, d, a, b, x[(3 * i + 11) % 16] + k[34 + i], 16);
        Md5Step<Md4H>(b, c, d, a, x[(3 * i + 14) % 16] + k[35 + i], 23);
    }
    for (int i = 0; i < 16; i += 4) {
        Md5Step<Md5I>(a, b, c, d, x[(7 * i) % 16] + k[48 + i], 6);
        Md5Step<Md5I>(d, a, b, c, x[(7 * i + 7) % 16] + k[49 + i], 10);
        Md5Step<Md5I>(c, d, a, b, x[(7 * i + 14) % 16] + k[50 + i], 15);
        Md5Step<Md5I>(b, c, d, a, x[(7 * i + 21) % 16] + k[51 + i], 21);
    }

    state[0] += a;
    state[1] += b;
    state[2] += c;
    state[3] += d;
}

} // namespace

// ---- TMessageDigest

TMessageDigest::TMessageDigest(int blockSize, int digestSize)
    : FBlockSize(blockSize), FDigestSize(digestSize) {
    ResetBuffers();
}

void TMessageDigest::ResetBuffers() {
    FDigest.assign(static_cast<std::size_t>(FDigestSize), 0);
    FBlockBuffer.assign(static_cast<std::size_t>(FBlockSize), 0);
    FBufferedCount = 0;
    FBlockCount = 0;
    FComplete = false;
}

void TMessageDigest::Reset() {
    ResetBuffers();
}

void TMessageDigest::FailIfComplete() const {
    if (FComplete)
        throw std::logic_error("Message digest already complete.");
}

void TMessageDigest::Transform(const uint8_t*, std::size_t count) {
    FBlockCount += count;
}

void TMessageDigest::Update(const void* data, std::size_t count) {
    FailIfComplete();
    if (count == 0)
        return;
    auto bytes = static_cast<const uint8_t*>(data);
    const std::size_t blockSize = static_cast<std::size_t>(FBlockSize);
    if (FBufferedCount > 0) {
        const std::size_t room = blockSize - static_cast<std::size_t>(FBufferedCount);
        if (count < room) {
            std::memcpy(FBlockBuffer.data() + FBufferedCount, bytes, count);
            FBufferedCount += static_cast<int>(count);
            return;
        }
        std::memcpy(FBlockBuffer.data() + FBufferedCount, bytes, room);
        Transform(FBlockBuffer.data(), 1);
        bytes += room;
        count -= room;
    }
    // Whole blocks straight from the caller's memory; only the unfinished tail is copied.
    const std::size_t wholeBlocks = count / blockSize;
    Transform(bytes, wholeBlocks);
    const std::size_t rest = count % blockSize;
    if (rest > 0)
        std::memcpy(FBlockBuffer.data(), bytes + wholeBlocks * blockSize, rest);
    FBufferedCount = static_cast<int>(rest);
}

void TMessageDigest::UpdateFromStream(int fd) {
    const auto chunk = std::make_unique_for_overwrite<uint8_t[]>(kStreamChunk);
    for (;;) {
        const ssize_t count = ::read(fd, chunk.get(), kStreamChunk);
        if (count < 0) {
            if (errno == EINTR)
                continue;
            throw std::system_error(errno, std::generic_category(),
                                    "Cannot read the data for the " + AlgorithmName() + " digest");
        }
        if (count == 0)
            return;
        Update(chunk.get(), static_cast<std::size_t>(count));
    }
}

void TMessageDigest::Complete() {
    FailIfComplete();
    FComplete = true;
}

const std::vector<uint8_t>& TMessageDigest::Digest() const {
    if (!FComplete)
        throw std::logic_error("Message digest not complete.");
    return FDigest;
}

std::string TMessageDigest::HexDigest() const {
    static constexpr char kDigits[] = "0123456789abcdef";
    const std::vector<uint8_t>& digest = Digest();
    std::string text;
    text.reserve(2 * digest.size());
    for (const uint8_t byte : digest) {
        text += kDigits[byte >> 4];
        text += kDigits[byte & 0x0F];
    }
    return text;
}

// ---- TMD4Family

TMD4Family::TMD4Family(int blockSize, bool bigEndian, std::vector<uint32_t> initialState,
                       int digestSize)
    : TMessageDigest(blockSize, digestSize), FInitialState(std::move(initialState)),
      FState(FInitialState), FBigEndian(bigEndian) {}

void TMD4Family::Reset() {
    TMessageDigest::Reset();
    FState = FInitialState;
}

void TMD4Family::Complete() {
    FailIfComplete();
    const std::size_t blockSize = static_cast<std::size_t>(BlockSize());
    const uint64_t bitCount =
        (BlockCount() * blockSize + static_cast<uint64_t>(BufferedCount())) * 8;

    uint8_t* block = BlockBuffer();
    std::size_t used = static_cast<std::size_t>(BufferedCount());
    block[used++] = 0x80;
    if (blockSize - used < 8) {
        std::fill(block + used, block + blockSize, 0);
        Transform(block, 1);
        used = 0;
    }
    std::fill(block + used, block + blockSize - 8, 0);
    for (int i = 0; i < 8; ++i) {
        const int shift = FBigEndian ? 56 - 8 * i : 8 * i;
        block[blockSize - 8 + i] = static_cast<uint8_t>(bitCount >> shift);
    }
    Transform(block, 1);
    SetBufferedCount(0);

    std::vector<uint8_t>& digest = DigestBytes();
    for (std::size_t i = 0; i < FState.size() && 4 * i + 4 <= digest.size(); ++i)
        StoreWord(FState[i], FBigEndian, digest.data() + 4 * i);
    TMessageDigest::Complete();
}

// ---- TMD4 and TMD5

namespace {
constexpr int kMd4BlockSize = 64;
constexpr int kMd4DigestSize = 16;
const std::vector<uint32_t> kMd4InitialState = {0x67452301u, 0xEFCDAB89u, 0x98BADCFEu, 0x10325476u};
} // namespace

TMD4::TMD4() : TMD4Family(kMd4BlockSize, false, kMd4InitialState, kMd4DigestSize) {}

std::unique_ptr<TMessageDigest> TMD4::Create() const {
    return std::make_unique<TMD4>();
}

void TMD4::Transform(const uint8_t* blocks, std::size_t count) {
    uint32_t* state = ChainingState();
    for (std::size_t i = 0; i < count; ++i)
        Md4Compress(state, blocks + i * kMd4BlockSize);
    TMessageDigest::Transform(blocks, count);
}

TMD5::TMD5() : TMD4Family(kMd4BlockSize, false, kMd4InitialState, kMd4DigestSize) {}

std::unique_ptr<TMessageDigest> TMD5::Create() const {
    return std::make_unique<TMD5>();
}

void TMD5::Transform(const uint8_t* blocks, std::size_t count) {
    uint32_t* state = ChainingState();
    for (std::size_t i = 0; i < count; ++i)
        Md5Compress(state, blocks + i * kMd4BlockSize);
    TMessageDigest::Transform(blocks, count);
}

// ---- Whole files

TFileReadOutcome DigestFile(const std::string& fileName, TMessageDigest& digest,
                            const TStopRequested& stopped) {
    TFileReadOutcome outcome = ReadFileBlocks(
        fileName,
        [&digest](const uint8_t* block, std::size_t count) { digest.Update(block, count); },
        stopped);
    if (outcome.Ok())
        digest.Complete();
    return outcome;
}

std::string FileDigest(const std::string& fileName, TDigestAlgorithm algorithm) {
    std::unique_ptr<TMessageDigest> digest;
    if (algorithm == TDigestAlgorithm::MD5)
        digest = std::make_unique<TMD5>();
    else
        digest = std::make_unique<TMD4>();
    const TFileReadOutcome outcome = DigestFile(fileName, *digest);
    if (!outcome.Ok())
        throw std::runtime_error(outcome.Error);
    return digest->HexDigest();
}

} // namespace quorvane
