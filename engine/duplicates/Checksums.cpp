#include "duplicates/Checksums.h"

#include <algorithm>
#include <exception>

#include "duplicates/Crc.h"
#include "duplicates/MessageDigests.h"

namespace quorvane {

namespace {

TChecksum CrcChecksum(const std::string& fileName) {
    uint32_t crc = 0;
    if (!ComputeFileCrc32(fileName, crc).Ok())
        return TChecksum::Unreadable();
    return TChecksum::FromCrc32(crc);
}

TChecksum DigestChecksum(const std::string& fileName, TMessageDigest&& digest) {
    if (!DigestFile(fileName, digest).Ok())
        return TChecksum::Unreadable();
    std::array<uint8_t, 16> bytes{};
    const std::vector<uint8_t>& result = digest.Digest();
    std::copy_n(result.begin(), std::min(result.size(), bytes.size()), bytes.begin());
    return TChecksum::FromDigest(bytes);
}

} // namespace

TChecksum FileCheckSum(const std::string& fileName, TCompareMode mode) {
    // Callers store the result and go on with the next file: whatever goes wrong with this one
    // (even running out of memory for its buffer) marks it unreadable instead of ending the stage.
    try {
        switch (mode) {
        case cmCrc:
            return CrcChecksum(fileName);
        case cmMD4:
            return DigestChecksum(fileName, TMD4());
        case cmMD5:
            return DigestChecksum(fileName, TMD5());
        default:
            return {};
        }
    } catch (const std::exception&) {
        return TChecksum::Unreadable();
    }
}

} // namespace quorvane
