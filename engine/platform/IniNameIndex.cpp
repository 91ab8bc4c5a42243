#include "platform/IniNameIndex.h"

#include <algorithm>
#include <cstring>
#include <stdexcept>

namespace quorvane {
namespace {

// Names are hashed and compared eight bytes at a time: a profile's keys are long folder paths.
constexpr std::uint64_t kEachByte = 0x0101010101010101ull;
constexpr std::uint64_t kHighBits = 0x8080808080808080ull;

// The eight bytes from `data` (fewer at the end of a name, the rest zero).
std::uint64_t Chunk(const char* data, std::size_t size) {
    std::uint64_t chunk = 0;
    std::memcpy(&chunk, data, std::min<std::size_t>(size, sizeof chunk));
    return chunk;
}

// The chunk with its ASCII capitals A-Z made small; every other byte as it is.
std::uint64_t FoldChunk(std::uint64_t chunk) {
    const std::uint64_t low7 = chunk & ~kHighBits;
    const std::uint64_t atLeastA = low7 + (0x80 - 'A') * kEachByte;  // high bit: byte >= 'A'
    const std::uint64_t pastZ = low7 + (0x80 - 'Z' - 1) * kEachByte; // high bit: byte > 'Z'
    const std::uint64_t capitals = atLeastA & ~pastZ & ~chunk & kHighBits;
    return chunk | (capitals >> 2); // 0x80 >> 2 is the 0x20 between a capital and its small
}

std::uint64_t ChunkAt(std::string_view name, std::size_t at, bool exact) {
    const std::uint64_t chunk = Chunk(name.data() + at, name.size() - at);
    return exact ? chunk : FoldChunk(chunk);
}

} // namespace

bool TIniNameIndex::SameName(std::string_view a, std::string_view b, bool exact) {
    if (a.size() != b.size())
        return false;
    for (std::size_t at = 0; at < a.size(); at += sizeof(std::uint64_t))
        if (ChunkAt(a, at, exact) != ChunkAt(b, at, exact))
            return false;
    return true;
}

std::uint32_t TIniNameIndex::Hash(std::string_view name) const {
    // A multiply-and-shift mix of the (folded) chunks and the length; the two halves are mixed
    // at the end, as the low bits alone choose the slot.
    std::uint64_t hash = name.size() * 0x9E3779B97F4A7C15ull;
    for (std::size_t at = 0; at < name.size(); at += sizeof(std::uint64_t)) {
        hash = (hash ^ ChunkAt(name, at, FExact)) * 0xBF58476D1CE4E5B9ull;
        hash ^= hash >> 31;
    }
    return static_cast<std::uint32_t>(hash ^ (hash >> 32));
}

std::uint32_t TIniNameIndex::CheckedPosition(std::size_t position) {
    // More entries than this could not be held in memory anyway (each takes tens of bytes).
    if (position >= kEmpty)
        throw std::length_error("too many names for one INI index");
    return static_cast<std::uint32_t>(position);
}

void TIniNameIndex::Grow() {
    std::vector<TSlot> old(std::max<std::size_t>(16, 2 * FSlots.size()), TSlot{0, kEmpty});
    old.swap(FSlots);
    for (const TSlot& slot : old) {
        if (slot.Position == kEmpty)
            continue;
        std::size_t i = slot.Hash & Mask();
        while (FSlots[i].Position != kEmpty)
            i = (i + 1) & Mask();
        FSlots[i] = slot;
    }
}

void TIniNameIndex::Clear() {
    FSlots.clear();
    FCount = 0;
}

} // namespace quorvane
