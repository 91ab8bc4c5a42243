// CRC-32 by carry-less multiplication (PCLMULQDQ): four 128-bit lanes are multiplied forward
// by x^512 modulo the polynomial and combined with the next 64 bytes, then folded into one lane,
// reduced to 64 bits and brought to 32 bits by Barrett reduction. All constants are derived
// below from the polynomial itself.
#include "duplicates/CrcKernels.h"

#if defined(__x86_64__) || defined(__i386__)
#include <immintrin.h>
#endif

namespace quorvane::crc32 {

#if defined(__x86_64__) || defined(__i386__)

namespace {

// The polynomial without its x^32 term, most significant bit first.
constexpr uint32_t kNormalPolynomial = 0x04C11DB7u;

constexpr uint64_t Reflect(uint64_t value, int bits) {
    uint64_t reflected = 0;
    for (int i = 0; i < bits; ++i)
        if (value & (uint64_t{1} << i))
            reflected |= uint64_t{1} << (bits - 1 - i);
    return reflected;
}

// x^n mod P, most significant bit first.
constexpr uint32_t XPowerModP(int n) {
    uint32_t remainder = 1;
    for (int i = 0; i < n; ++i)
        remainder = (remainder << 1) ^ ((remainder & 0x80000000u) ? kNormalPolynomial : 0u);
    return remainder;
}

// The multiplier that moves a lane forward by n bits, in the bit-reflected form the folding
// works in (shifted by one because reflecting a 64-bit product loses one position).
constexpr uint64_t FoldConstant(int n) {
    return Reflect(XPowerModP(n), 32) << 1;
}

// floor(x^64 / P), the Barrett constant, 33 bits.
constexpr uint64_t XPower64DivP() {
    constexpr uint64_t fullPolynomial = (uint64_t{1} << 32) | kNormalPolynomial;
    uint64_t quotient = 0, remainder = 0;
    for (int degree = 64; degree >= 0; --degree) {
        remainder = (remainder << 1) | (degree == 64 ? 1u : 0u);
        quotient <<= 1;
        if (remainder & (uint64_t{1} << 32)) {
            remainder ^= fullPolynomial;
            quotient |= 1;
        }
    }
    return quotient;
}

constexpr uint64_t kFold512Low = FoldConstant(4 * 128 + 32);
constexpr uint64_t kFold512High = FoldConstant(4 * 128 - 32);
constexpr uint64_t kFold128Low = FoldConstant(128 + 32);
constexpr uint64_t kFold128High = FoldConstant(128 - 32);
constexpr uint64_t kFold64 = FoldConstant(64);
constexpr uint64_t kReflectedPolynomial = Reflect((uint64_t{1} << 32) | kNormalPolynomial, 33);
constexpr uint64_t kBarrett = Reflect(XPower64DivP(), 33);

#define QUORVANE_CLMUL_TARGET __attribute__((target("pclmul,sse4.1")))

QUORVANE_CLMUL_TARGET inline __m128i Load(const uint8_t* data) {
    return _mm_loadu_si128(reinterpret_cast<const __m128i*>(data));
}

// lane * x^(n) folded onto `next`: the low half times one constant, the high half times the other.
QUORVANE_CLMUL_TARGET inline __m128i Fold(__m128i lane, __m128i constants, __m128i next) {
    const __m128i low = _mm_clmulepi64_si128(lane, constants, 0x00);
    const __m128i high = _mm_clmulepi64_si128(lane, constants, 0x11);
    return _mm_xor_si128(_mm_xor_si128(low, high), next);
}

// The register after `count` bytes; count is at least 64 and a multiple of 16.
QUORVANE_CLMUL_TARGET uint32_t FoldBlocks(const uint8_t* data, std::size_t count, uint32_t crc) {
    __m128i lane0 = _mm_xor_si128(Load(data), _mm_cvtsi32_si128(static_cast<int>(crc)));
    __m128i lane1 = Load(data + 16);
    __m128i lane2 = Load(data + 32);
    __m128i lane3 = Load(data + 48);
    data += 64;
    count -= 64;

    const __m128i fold512 =
        _mm_set_epi64x(static_cast<long long>(kFold512High), static_cast<long long>(kFold512Low));
    for (; count >= 64; data += 64, count -= 64) {
        lane0 = Fold(lane0, fold512, Load(data));
        lane1 = Fold(lane1, fold512, Load(data + 16));
        lane2 = Fold(lane2, fold512, Load(data + 32));
        lane3 = Fold(lane3, fold512, Load(data + 48));
    }

    const __m128i fold128 =
        _mm_set_epi64x(static_cast<long long>(kFold128High), static_cast<long long>(kFold128Low));
    __m128i lane = Fold(lane0, fold128, lane1);
    lane = Fold(lane, fold128, lane2);
    lane = Fold(lane, fold128, lane3);
    for (; count >= 16; data += 16, count -= 16)
        lane = Fold(lane, fold128, Load(data));

    // 128 bits to 64: the low half moves forward by 64 bits onto the high half.
    lane = _mm_xor_si128(_mm_srli_si128(lane, 8), _mm_clmulepi64_si128(lane, fold128, 0x10));
    // 64 bits to 32.
    const __m128i low32 = _mm_setr_epi32(-1, 0, -1, 0);
    const __m128i fold64 = _mm_set_epi64x(0, static_cast<long long>(kFold64));
    lane = _mm_xor_si128(_mm_srli_si128(lane, 4),
                         _mm_clmulepi64_si128(_mm_and_si128(lane, low32), fold64, 0x00));
    // Barrett reduction to the 32-bit remainder.
    const __m128i barrett = _mm_set_epi64x(static_cast<long long>(kBarrett),
                                           static_cast<long long>(kReflectedPolynomial));
    __m128i quotient = _mm_clmulepi64_si128(_mm_and_si128(lane, low32), barrett, 0x10);
    quotient = _mm_clmulepi64_si128(_mm_and_si128(quotient, low32), barrett, 0x00);
    lane = _mm_xor_si128(lane, quotient);
    return static_cast<uint32_t>(_mm_extract_epi32(lane, 1));
}

} // namespace

bool FoldingSupported() {
    static const bool supported =
        __builtin_cpu_supports("pclmul") && __builtin_cpu_supports("sse4.1");
    return supported;
}

uint32_t UpdateFolded(const uint8_t* data, std::size_t count, uint32_t crc) {
    if (count >= 64) {
        const std::size_t folded = count & ~std::size_t{15};
        crc = FoldBlocks(data, folded, crc);
        data += folded;
        count -= folded;
    }
    return UpdateSliced(data, count, crc);
}

#else

bool FoldingSupported() {
    return false;
}

uint32_t UpdateFolded(const uint8_t* data, std::size_t count, uint32_t crc) {
    return UpdateSliced(data, count, crc);
}

#endif

} // namespace quorvane::crc32
