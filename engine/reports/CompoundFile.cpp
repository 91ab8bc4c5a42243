#include "reports/CompoundFile.h"

#include <algorithm>

#include "reports/LittleEndian.h"

namespace quorvane {
namespace {

constexpr uint32_t kFreeSector = 0xFFFFFFFF;
constexpr uint32_t kEndOfChain = 0xFFFFFFFE;
constexpr uint32_t kFatSector = 0xFFFFFFFD;
constexpr uint32_t kDifatSector = 0xFFFFFFFC;
constexpr uint32_t kNoStream = 0xFFFFFFFF;
constexpr uint32_t kMiniStreamCutoff = 4096;
constexpr uint32_t kEntriesPerSector = TCompoundFileWriter::kSectorSize / 4;
constexpr uint32_t kHeaderDifatEntries = 109;

uint32_t SectorsFor(uint64_t bytes) {
    return static_cast<uint32_t>((bytes + TCompoundFileWriter::kSectorSize - 1) /
                                 TCompoundFileWriter::kSectorSize);
}

void AppendDirectoryEntry(std::string& out, std::u16string_view name, uint8_t type, uint32_t child,
                          uint32_t start, uint64_t size) {
    const std::size_t begin = out.size();
    for (char16_t c : name)
        AppendLe16(out, c);
    out.resize(begin + 64, '\0');
    AppendLe16(out, name.empty() ? 0 : static_cast<uint32_t>(2 * (name.size() + 1)));
    out += static_cast<char>(type);
    out += static_cast<char>(1); // black: a tree of one node is valid red-black
    AppendLe32(out, kNoStream);  // left sibling
    AppendLe32(out, kNoStream);  // right sibling
    AppendLe32(out, child);
    out.append(16 + 4 + 8 + 8, '\0'); // class id, state bits, creation and modification times
    AppendLe32(out, start);
    AppendLe32(out, static_cast<uint32_t>(size));
    AppendLe32(out, static_cast<uint32_t>(size >> 32));
}

} // namespace

TCompoundFileWriter::TCompoundFileWriter(TAtomicFileWriter& out, std::u16string streamName)
    : FOut(out), FStreamName(std::move(streamName)) {
    FOut.Write(std::string(kSectorSize, '\0'));
}

void TCompoundFileWriter::Finish() {
    if (StreamSize() < kMiniStreamCutoff)
        FOut.Write(std::string(kMiniStreamCutoff - StreamSize(), '\0'));
    const uint64_t streamSize = StreamSize();
    const uint32_t streamSectors = SectorsFor(streamSize);
    FOut.Write(
        std::string(static_cast<std::size_t>(streamSectors) * kSectorSize - streamSize, '\0'));

    // Sector layout: stream, one directory sector, FAT sectors, DIFAT sectors.
    const uint32_t directorySector = streamSectors;
    uint32_t fatSectors = 0;
    uint32_t difatSectors = 0;
    for (;;) {
        const uint32_t total = streamSectors + 1 + fatSectors + difatSectors;
        const uint32_t neededFat = (total + kEntriesPerSector - 1) / kEntriesPerSector;
        const uint32_t neededDifat =
            neededFat > kHeaderDifatEntries
                ? (neededFat - kHeaderDifatEntries + kEntriesPerSector - 2) /
                      (kEntriesPerSector - 1)
                : 0;
        if (neededFat == fatSectors && neededDifat == difatSectors)
            break;
        fatSectors = neededFat;
        difatSectors = neededDifat;
    }
    const uint32_t firstFat = directorySector + 1;
    const uint32_t firstDifat = firstFat + fatSectors;
    const uint32_t totalSectors = firstDifat + difatSectors;

    std::string sector;
    sector.reserve(kSectorSize);
    AppendDirectoryEntry(sector, u"Root Entry", 5, 1, kEndOfChain, 0);
    AppendDirectoryEntry(sector, FStreamName, 2, kNoStream, 0, streamSize);
    AppendDirectoryEntry(sector, u"", 0, kNoStream, 0, 0);
    AppendDirectoryEntry(sector, u"", 0, kNoStream, 0, 0);
    FOut.Write(sector);

    // The FAT, one sector at a time: the stream is one chain of consecutive sectors.
    const auto fatEntry = [&](uint32_t s) -> uint32_t {
        if (s + 1 < streamSectors)
            return s + 1;
        if (s + 1 == streamSectors || s == directorySector)
            return kEndOfChain;
        if (s >= firstFat && s < firstDifat)
            return kFatSector;
        if (s >= firstDifat && s < totalSectors)
            return kDifatSector;
        return kFreeSector;
    };
    for (uint32_t f = 0; f < fatSectors; ++f) {
        sector.clear();
        for (uint32_t i = 0; i < kEntriesPerSector; ++i)
            AppendLe32(sector, fatEntry(f * kEntriesPerSector + i));
        FOut.Write(sector);
    }
    // FAT sectors past the first 109 are listed in DIFAT sectors, each ending with the next.
    for (uint32_t d = 0; d < difatSectors; ++d) {
        sector.clear();
        for (uint32_t i = 0; i < kEntriesPerSector - 1; ++i) {
            const uint32_t index = kHeaderDifatEntries + d * (kEntriesPerSector - 1) + i;
            AppendLe32(sector, index < fatSectors ? firstFat + index : kFreeSector);
        }
        AppendLe32(sector, d + 1 < difatSectors ? firstDifat + d + 1 : kEndOfChain);
        FOut.Write(sector);
    }

    std::string header("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1", 8);
    header.append(16, '\0'); // class id
    AppendLe16(header, 0x003E);
    AppendLe16(header, 0x0003);
    AppendLe16(header, 0xFFFE); // little-endian
    AppendLe16(header, 9);      // 512-byte sectors
    AppendLe16(header, 6);      // 64-byte mini sectors
    header.append(6 + 4, '\0'); // reserved; directory sector count (0 in version 3)
    AppendLe32(header, fatSectors);
    AppendLe32(header, directorySector);
    AppendLe32(header, 0); // transaction signature
    AppendLe32(header, kMiniStreamCutoff);
    AppendLe32(header, kEndOfChain); // no mini FAT
    AppendLe32(header, 0);
    AppendLe32(header, difatSectors ? firstDifat : kEndOfChain);
    AppendLe32(header, difatSectors);
    for (uint32_t i = 0; i < kHeaderDifatEntries; ++i)
        AppendLe32(header, i < fatSectors ? firstFat + i : kFreeSector);
    FOut.Overwrite(0, header);
}

} // namespace quorvane
