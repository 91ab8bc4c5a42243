#include <gtest/gtest.h>

#include <random>
#include <stdexcept>
#include <string>
#include <vector>

#include "platform/Utf8.h"
#include "search/Masks.h"

namespace quorvane {
namespace {

// The wildcard comparison written as its recursive definition, character by character. It
// takes exponential time on many stars, so it serves only as the reference for short texts.
bool RecursiveWildcardMatch(std::string_view name, std::string_view mask) {
    if (mask == "*")
        return true;
    if (name.empty())
        return mask.find_first_not_of('*') == std::string_view::npos;
    if (mask.empty())
        return false; // no mask character left to stand for the name's next one
    const std::size_t nameChar = Utf8CharLength(name, 0);
    if (mask[0] == '*')
        return RecursiveWildcardMatch(name, mask.substr(1)) ||
               RecursiveWildcardMatch(name.substr(nameChar), mask);
    if (mask[0] == '?')
        return RecursiveWildcardMatch(name.substr(nameChar), mask.substr(1));
    const std::size_t maskChar = Utf8CharLength(mask, 0);
    if (name.substr(0, nameChar) != mask.substr(0, maskChar))
        return false;
    return RecursiveWildcardMatch(name.substr(nameChar), mask.substr(maskChar));
}

std::string UpperAsciiLetters(std::string text) {
    for (char& c : text)
        if (c >= 'a' && c <= 'z')
            c = static_cast<char>(c - 'a' + 'A');
    return text;
}

bool ReferenceMaskMatch(const std::string& name, const std::string& mask) {
    if (mask == "*")
        return name.find('.') == std::string::npos;
    if (mask == "*.*")
        return true;
    return RecursiveWildcardMatch(UpperAsciiLetters(name), UpperAsciiLetters(mask));
}

std::string Repeat(std::string_view piece, int times) {
    std::string text;
    for (int i = 0; i < times; ++i)
        text += piece;
    return text;
}

struct TMaskCase {
    std::string Mask;
    std::string Name;
    bool Matches;
};

TEST(MaskMatch, DecidesSingleNamesAsDocumented) {
    const std::vector<TMaskCase> cases = {
        {"*", "README", true},
        {"*", "readme.txt", false},
        {"*", "", true},
        {"*.*", "README", true},
        {"*.*", "readme.txt", true},
        {"*.TXT", "notes.txt", true}, // letters a to z are folded
        {"*.txt", "NOTES.TXT", true},
        {"\xC3\x89*", "\xC3\xA9lan", false}, // É* against élan: other letters are not folded
        {"?.txt", "a.txt", true},
        {"?.txt", "ab.txt", false},
        {"?.txt", ".txt", false},
        {"a**", "a", true},
        {"a**", "abc", true},
        {" *.*", "README", false}, // only the exact texts "*" and "*.*" are special
        {"* ", "README", false},
        {"*.", "README", false},
        {"*.TMP", "x.tmp", true},
    };
    for (const TMaskCase& c : cases) {
        SCOPED_TRACE("mask \"" + c.Mask + "\", name \"" + c.Name + "\"");
        EXPECT_EQ(MaskMatch(c.Name, c.Mask), c.Matches);
    }
}

TEST(WildcardMatch, MatchesTheRecursiveDefinitionOnATableOfCases) {
    const std::vector<TMaskCase> cases = {
        {"", "", true},
        {"", "a", false},
        {"*", "", true},
        {"**", "", true},
        {"a", "", false},
        {"a*c", "abc", true},
        {"a*c", "abcb", false},
        {"a*b", "abc", false},
        {"*?*?*?*", "abc", true},
        {"*?*?*?*", "ab", false},
        {"*a*b*", "xxbxxa", false},
        {"*a*b*", "xxaxxb", true},
        {"abc", "ABC", false},           // no folding here: that is MaskMatch's step
        {"?.txt", "\xC3\xA9.txt", true}, // one UTF-8 character, two bytes
        {"??.txt", "\xC3\xA9.txt", false},
        {"?", "\xE2\x82\xAC", true},     // the euro sign, three bytes
        {"?", "\xF0\x9F\x98\x80", true}, // an emoji, four bytes
        {"?.txt", "\xFF.txt", true},     // a byte that is not UTF-8 counts as one character
        {"?", "\xC3", true},
        {"\xC3", "\xC3\xA9", false}, // a stray lead byte is not the whole character
        {"*\xC3\xA9", "caf\xC3\xA9", true},
        {Repeat("*a", 120) + "b", Repeat("a", 200), false}, // hopeless for plain recursion
        {Repeat("*a", 120) + "*", Repeat("a", 200), true},
        {Repeat("*?", 127) + "*", Repeat("x", 126), false},
    };
    for (const TMaskCase& c : cases) {
        SCOPED_TRACE("mask \"" + c.Mask.substr(0, 40) + "\", name \"" + c.Name.substr(0, 40) +
                     "\"");
        EXPECT_EQ(WildcardMatch(c.Name, c.Mask), c.Matches);
        if (c.Mask.size() <= 16 && c.Name.size() <= 16) {
            EXPECT_EQ(RecursiveWildcardMatch(c.Name, c.Mask), c.Matches);
        }
    }
}

TEST(WildcardMatch, AgreesWithTheRecursiveDefinitionOnRandomPairs) {
    // Small alphabets make stars, question marks and repeats collide often. The pieces include
    // characters of two and three bytes, a stray lead byte and a stray continuation byte.
    const std::vector<std::string> maskPieces = {
        "a", "b", "A", ".", "\xC3\xA9", "\xE2\x82\xAC", "\xC3", "\xA9", "*", "?"};
    const std::vector<std::string> namePieces = {
        "a", "b", "B", ".", "\xC3\xA9", "\xE2\x82\xAC", "\xC3", "\xA9", "*", "?"};
    std::mt19937 random(20240611);
    const auto randomText = [&random](const std::vector<std::string>& pieces, int maxPieces) {
        std::string text;
        const int count = std::uniform_int_distribution<int>(0, maxPieces)(random);
        for (int i = 0; i < count; ++i)
            text +=
                pieces[std::uniform_int_distribution<std::size_t>(0, pieces.size() - 1)(random)];
        return text;
    };
    int failures = 0;
    for (int i = 0; i < 200000 && failures < 10; ++i) {
        const std::string mask = randomText(maskPieces, 8);
        const std::string name = randomText(namePieces, 9);
        const bool wildcard = WildcardMatch(name, mask);
        const bool maskMatch = MaskMatch(name, mask);
        if (wildcard != RecursiveWildcardMatch(name, mask) ||
            maskMatch != ReferenceMaskMatch(name, mask)) {
            ++failures;
            ADD_FAILURE() << "mask \"" << mask << "\", name \"" << name << "\"";
        }
    }
}

TEST(Utf8CharLength, CountsOneUtf8SequenceOrOneStrayByte) {
    const std::vector<std::pair<std::string, std::size_t>> cases = {
        {"a", 1},
        {"\xC3\xA9", 2},
        {"\xE2\x82\xAC", 3},
        {"\xF0\x9F\x98\x80", 4},
        {"\xC3", 1}, // cut short at the end
        {"\xC3"
         "a",
         1},             // cut short by an ASCII byte
        {"\xE2\x82", 1}, // three-byte sequence missing its last byte
        {"\xFF", 1},
        {"\xA9", 1},         // a continuation byte alone
        {"\xC0\x80", 1},     // overlong encoding of NUL
        {"\xED\xA0\x80", 1}, // a UTF-16 surrogate
    };
    for (const auto& [text, length] : cases) {
        SCOPED_TRACE(::testing::PrintToString(text));
        EXPECT_EQ(Utf8CharLength(text, 0), length);
    }
}

TEST(CheckMaskLength, RefusesMasksOverTwoHundredFiftyFiveCharacters) {
    EXPECT_NO_THROW(CheckMaskLength(Repeat("a", 255)));
    EXPECT_NO_THROW(CheckMaskLength(Repeat("\xC3\xA9", 255))); // 510 bytes, 255 characters
    EXPECT_NO_THROW(CheckMaskLength(""));
    try {
        CheckMaskLength("report-" + Repeat("*x", 125));
        FAIL() << "a 257-character mask was accepted";
    } catch (const std::invalid_argument& error) {
        const std::string message = error.what();
        EXPECT_NE(message.find("\"report-*x*x"), std::string::npos) << message;
        EXPECT_NE(message.find("longer than 255 characters"), std::string::npos) << message;
    }
}

} // namespace
} // namespace quorvane
