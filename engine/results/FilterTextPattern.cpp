#include "results/FilterTextPattern.h"

#include <cstdint>

#include "platform/TextCompare.h"

namespace quorvane {
namespace {

bool IsContinuation(uint8_t byte) {
    return (byte & 0xC0) == 0x80;
}

// The length in bytes of the character at `at`: a well-formed UTF-8 sequence, or 1 for a byte
// that does not begin one.
std::size_t CharLength(std::string_view text, std::size_t at) {
    const auto lead = static_cast<uint8_t>(text[at]);
    std::size_t length = 1;
    uint32_t min = 0;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
        min = 0x80;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        min = 0x800;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        min = 0x10000;
    } else {
        return 1;
    }
    if (at + length > text.size())
        return 1;
    uint32_t code = lead & (0x3F >> (length - 1));
    for (std::size_t i = 1; i < length; ++i) {
        const auto byte = static_cast<uint8_t>(text[at + i]);
        if (!IsContinuation(byte))
            return 1;
        code = code << 6 | (byte & 0x3F);
    }
    const bool surrogate = code >= 0xD800 && code <= 0xDFFF;
    return code < min || code > 0x10FFFF || surrogate ? 1 : length;
}

std::size_t CountChars(std::string_view text) {
    std::size_t count = 0;
    for (std::size_t at = 0; at < text.size(); at += CharLength(text, at))
        ++count;
    return count;
}

bool IsAscii(std::string_view text) {
    for (char c : text)
        if (static_cast<uint8_t>(c) >= 0x80)
            return false;
    return true;
}

} // namespace

// The byte offset of each character of a text; ASCII text needs no table.
class TFilterTextPattern::TCharOffsets {
public:
    explicit TCharOffsets(std::string_view text) : FAscii(IsAscii(text)), FSize(text.size()) {
        if (FAscii)
            return;
        // Reused between calls on one thread, so that matching allocates nothing in the long run.
        thread_local std::vector<std::size_t> table;
        table.clear();
        for (std::size_t at = 0; at < text.size(); at += CharLength(text, at))
            table.push_back(at);
        table.push_back(text.size());
        FTable = &table;
    }
    std::size_t Count() const { return FAscii ? FSize : FTable->size() - 1; }
    std::size_t Offset(std::size_t index) const { return FAscii ? index : (*FTable)[index]; }

private:
    bool FAscii;
    std::size_t FSize;
    const std::vector<std::size_t>* FTable = nullptr;
};

TFilterTextPattern::TSegment TFilterTextPattern::LiteralSegment(std::string_view text) {
    TSegment segment;
    if (!text.empty()) {
        segment.Length = CountChars(text);
        segment.Pieces.push_back(TPiece{std::string(text), segment.Length});
    }
    return segment;
}

TFilterTextPattern::TSegment TFilterTextPattern::LikeSegment(std::string_view part) {
    TSegment segment;
    std::size_t start = 0;
    while (start < part.size()) {
        TPiece piece;
        std::size_t end = start;
        if (part[start] == '?') {
            while (end < part.size() && part[end] == '?')
                ++end;
            piece.Length = end - start;
        } else {
            end = part.find('?', start);
            if (end == std::string_view::npos)
                end = part.size();
            piece.Literal = std::string(part.substr(start, end - start));
            piece.Length = CountChars(piece.Literal);
        }
        segment.Length += piece.Length;
        segment.Pieces.push_back(std::move(piece));
        start = end;
    }
    return segment;
}

TFilterTextPattern TFilterTextPattern::Like(std::string_view pattern) {
    TFilterTextPattern result;
    std::size_t start = 0;
    for (;;) {
        const std::size_t star = pattern.find('*', start);
        result.FSegments.push_back(LikeSegment(pattern.substr(start, star - start)));
        if (star == std::string_view::npos)
            break;
        start = star + 1;
    }
    return result;
}

TFilterTextPattern TFilterTextPattern::Contains(std::string_view text) {
    TFilterTextPattern result;
    result.FSegments = {TSegment{}, LiteralSegment(text), TSegment{}};
    return result;
}

TFilterTextPattern TFilterTextPattern::BeginsWith(std::string_view text) {
    TFilterTextPattern result;
    result.FSegments = {LiteralSegment(text), TSegment{}};
    return result;
}

TFilterTextPattern TFilterTextPattern::EndsWith(std::string_view text) {
    TFilterTextPattern result;
    result.FSegments = {TSegment{}, LiteralSegment(text)};
    return result;
}

bool TFilterTextPattern::SegmentMatchesAt(const TSegment& segment, std::string_view text,
                                          const TCharOffsets& offsets, std::size_t position) {
    for (const TPiece& piece : segment.Pieces) {
        if (!piece.Literal.empty()) {
            const std::size_t from = offsets.Offset(position);
            const std::size_t to = offsets.Offset(position + piece.Length);
            if (!SameTextNoCase(text.substr(from, to - from), piece.Literal))
                return false;
        }
        position += piece.Length;
    }
    return true;
}

bool TFilterTextPattern::Matches(std::string_view text) const {
    const TCharOffsets offsets(text);
    const std::size_t count = offsets.Count();
    const TSegment& first = FSegments.front();
    if (FSegments.size() == 1)
        return first.Length == count && SegmentMatchesAt(first, text, offsets, 0);

    const TSegment& last = FSegments.back();
    if (first.Length + last.Length > count)
        return false;
    const std::size_t lastStart = count - last.Length;
    if (!SegmentMatchesAt(first, text, offsets, 0) ||
        !SegmentMatchesAt(last, text, offsets, lastStart))
        return false;

    // The segments between two "*" go each to its leftmost place: that leaves the most room for
    // the ones after it, so no other choice can succeed where this one fails.
    std::size_t position = first.Length;
    for (std::size_t i = 1; i + 1 < FSegments.size(); ++i) {
        const TSegment& segment = FSegments[i];
        for (;; ++position) {
            if (position + segment.Length > lastStart)
                return false;
            if (SegmentMatchesAt(segment, text, offsets, position))
                break;
        }
        position += segment.Length;
    }
    return true;
}

} // namespace quorvane
