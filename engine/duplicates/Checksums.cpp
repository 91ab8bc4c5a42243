#include "duplicates/Checksums.h"

#include <algorithm>
#include <exception>

#include "duplicates/Crc.h"
#include "duplicates/MessageDigests.h"

namespace quorvane {

namespace {

TChecksum CrcChecksum(const std::string& fileName, const TStopRequested& stopped) {
    uint32_t crc = 0;
    const TFileReadOutcome outcome = ComputeFileCrc32(fileName, crc, stopped);
    if (outcome.Stopped)
        return {};
    if (!outcome.Ok())
        return TChecksum::Unreadable();
    return TChecksum::FromCrc32(crc);
}

TChecksum DigestChecksum(const std::string& fileName, TMessageDigest&& digest,
                         const TStopRequested& stopped) {
    const TFileReadOutcome outcome = DigestFile(fileName, digest, stopped);
    if (outcome.Stopped)
        return {};
    if (!outcome.Ok())
        return TChecksum::Unreadable();
    std::array<uint8_t, 16> bytes{};
    const std::vector<uint8_t>& result = digest.Digest();
    std::copy_n(result.begin(), std::min(result.size(), bytes.size()), bytes.begin());
    return TChecksum::FromDigest(bytes);
}

} // namespace

TChecksum FileCheckSum(const std::string& fileName, TCompareMode mode,
                       const TStopRequested& stopped) {
    // Callers store the result and go on with the next file: whatever goes wrong with this one
    // (even running out of memory for its buffer) marks it unreadable instead of ending the stage.
    try {
        switch (mode) {
        case cmCrc:
            return CrcChecksum(fileName, stopped);
        case cmMD4:
            return DigestChecksum(fileName, TMD4(), stopped);
        case cmMD5:
            return DigestChecksum(fileName, TMD5(), stopped);
        default:
            return {};
        }
    } catch (const std::exception&) {
        return TChecksum::Unreadable();
    }
}

} // namespace quorvane
