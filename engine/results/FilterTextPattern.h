#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace quorvane {

// A text test of fixed texts and wildcards, matched without regard to case: the "like" patterns,
// where "*" stands for any run of characters and "?" for exactly one, and the tests contains,
// begins with and ends with, whose texts are taken literally. A character is a Unicode code point
// of UTF-8 text; in text that is not valid UTF-8 each stray byte counts as one character.
//
// The pattern is cut at its "*"s into segments of fixed length in characters. The first segment
// must sit at the start of the text, the last at its end, and each one between is matched at the
// leftmost place after the one before: no backtracking, so matching takes at most one pass over
// the text per segment, whatever the pattern. Each fixed text is compared with the text it lines
// up with by the locale's case-blind comparison (SameTextNoCase).
class TFilterTextPattern {
public:
    static TFilterTextPattern Like(std::string_view pattern);
    static TFilterTextPattern Contains(std::string_view text);
    static TFilterTextPattern BeginsWith(std::string_view text);
    static TFilterTextPattern EndsWith(std::string_view text);

    bool Matches(std::string_view text) const;

private:
    // A fixed text, or (when Literal is empty) a run of "?"; Length is in characters.
    struct TPiece {
        std::string Literal;
        std::size_t Length = 0;
    };
    // A part of the pattern between two "*".
    struct TSegment {
        std::vector<TPiece> Pieces;
        std::size_t Length = 0;
    };
    class TCharOffsets;

    // Segments in order; there is always at least one. A single segment is the whole pattern;
    // otherwise a "*" stands between each pair of neighbours.
    std::vector<TSegment> FSegments;

    static TSegment LiteralSegment(std::string_view text);
    static TSegment LikeSegment(std::string_view part);
    static bool SegmentMatchesAt(const TSegment& segment, std::string_view text,
                                 const TCharOffsets& offsets, std::size_t position);
};

} // namespace quorvane
