// Hashing speed over a 1 MiB buffer, each beside the library routine it is held against:
// our CRC-32 with zlib's crc32, our MD5 and MD4 with OpenSSL's low-level functions.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <random>
#include <vector>

#include <openssl/md4.h>
#include <openssl/md5.h>
#include <zlib.h>

#include "duplicates/Crc.h"
#include "duplicates/MessageDigests.h"

namespace {

using namespace quorvane;

constexpr std::size_t kBufferSize = 1024 * 1024;

const std::vector<uint8_t>& Buffer() {
    static const std::vector<uint8_t> buffer = [] {
        std::vector<uint8_t> bytes(kBufferSize);
        std::mt19937 random(42);
        for (uint8_t& byte : bytes)
            byte = static_cast<uint8_t>(random());
        return bytes;
    }();
    return buffer;
}

void BM_Crc32(benchmark::State& state) {
    const std::vector<uint8_t>& buffer = Buffer();
    for (auto _ : state)
        benchmark::DoNotOptimize(UpdateCrc32(buffer.data(), buffer.size(), 0xFFFFFFFFu));
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * buffer.size()));
}
BENCHMARK(BM_Crc32);

void BM_ZlibCrc32(benchmark::State& state) {
    const std::vector<uint8_t>& buffer = Buffer();
    for (auto _ : state)
        benchmark::DoNotOptimize(
            crc32(crc32(0L, Z_NULL, 0), buffer.data(), static_cast<uInt>(buffer.size())));
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * buffer.size()));
}
BENCHMARK(BM_ZlibCrc32);

template <typename TDigest> void DigestBenchmark(benchmark::State& state) {
    const std::vector<uint8_t>& buffer = Buffer();
    TDigest digest;
    for (auto _ : state) {
        digest.Reset();
        digest.Update(buffer.data(), buffer.size());
        digest.Complete();
        benchmark::DoNotOptimize(digest.Digest().data());
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * buffer.size()));
}

void BM_MD5(benchmark::State& state) {
    DigestBenchmark<TMD5>(state);
}
BENCHMARK(BM_MD5);

void BM_MD4(benchmark::State& state) {
    DigestBenchmark<TMD4>(state);
}
BENCHMARK(BM_MD4);

// OpenSSL 3 marks its low-level digest functions deprecated; they are the fastest anchor it has.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"

void BM_OpenSslMD5(benchmark::State& state) {
    const std::vector<uint8_t>& buffer = Buffer();
    unsigned char result[MD5_DIGEST_LENGTH];
    for (auto _ : state) {
        MD5_CTX context;
        MD5_Init(&context);
        MD5_Update(&context, buffer.data(), buffer.size());
        MD5_Final(result, &context);
        benchmark::DoNotOptimize(result);
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * buffer.size()));
}
BENCHMARK(BM_OpenSslMD5);

void BM_OpenSslMD4(benchmark::State& state) {
    const std::vector<uint8_t>& buffer = Buffer();
    unsigned char result[MD4_DIGEST_LENGTH];
    for (auto _ : state) {
        MD4_CTX context;
        MD4_Init(&context);
        MD4_Update(&context, buffer.data(), buffer.size());
        MD4_Final(result, &context);
        benchmark::DoNotOptimize(result);
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * buffer.size()));
}
BENCHMARK(BM_OpenSslMD4);

#pragma GCC diagnostic pop

} // namespace
