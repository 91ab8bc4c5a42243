#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

namespace quorvane {

// A hash index from names to their positions in a list that holds them: the sections of an INI
// file, or the entries of one section. It keeps no copy of a name (the list gives it back by
// position) and no node per name, so a file of a million keys is indexed in one flat array.
// Names compare without regard to ASCII letter case, or byte for byte when the index is exact.
// Of equal names, the first one added stays the one found.
class TIniNameIndex {
public:
    static constexpr std::size_t npos = static_cast<std::size_t>(-1);

    explicit TIniNameIndex(bool exact = false) : FExact(exact) {}

    bool Exact() const { return FExact; }
    static bool SameName(std::string_view a, std::string_view b, bool exact);

    // The position of the first name equal to `name`, or npos. `nameAt(position)` gives the name
    // that the list holds at a position.
    template <class TNameAt> std::size_t Find(std::string_view name, const TNameAt& nameAt) const {
        if (FSlots.empty())
            return npos;
        const std::uint32_t hash = Hash(name);
        for (std::size_t i = hash & Mask();; i = (i + 1) & Mask()) {
            const TSlot& slot = FSlots[i];
            if (slot.Position == kEmpty)
                return npos;
            if (slot.Hash == hash && SameName(nameAt(slot.Position), name, FExact))
                return slot.Position;
        }
    }

    // Adds the name held at `position` unless an equal name is in already; returns whether it
    // was added.
    template <class TNameAt>
    bool Add(std::string_view name, std::size_t position, const TNameAt& nameAt) {
        if (2 * (FCount + 1) > FSlots.size())
            Grow();
        const std::uint32_t hash = Hash(name);
        std::size_t i = hash & Mask();
        for (; FSlots[i].Position != kEmpty; i = (i + 1) & Mask())
            if (FSlots[i].Hash == hash && SameName(nameAt(FSlots[i].Position), name, FExact))
                return false;
        FSlots[i] = {hash, CheckedPosition(position)};
        ++FCount;
        return true;
    }

    void Clear();

private:
    // Linear probing over a power-of-two array kept at most half full.
    struct TSlot {
        std::uint32_t Hash;
        std::uint32_t Position;
    };
    static constexpr std::uint32_t kEmpty = UINT32_MAX;

    std::uint32_t Hash(std::string_view name) const;
    std::size_t Mask() const { return FSlots.size() - 1; }
    static std::uint32_t CheckedPosition(std::size_t position);
    void Grow();

    bool FExact;
    std::size_t FCount = 0;
    std::vector<TSlot> FSlots;
};

} // namespace quorvane
