#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>
#include <vector>

#include "platform/TextCompare.h"
#include "platform/Utf8.h"

namespace quorvane {
namespace {

class CollationKey : public ::testing::Test {
protected:
    void SetUp() override { SetCollationLocale("en"); }
    void TearDown() override { SetCollationLocale(""); }
};

// Compares two texts by their collation key parts, as the sort does.
int CompareByKeyParts(const std::string& a, const std::string& b) {
    for (std::size_t offset = 0;; offset += 8) {
        const uint64_t x = CollationKeyPart(a, offset), y = CollationKeyPart(b, offset);
        if (x != y)
            return x < y ? -1 : 1;
        if ((x & 0xFF) == 0)
            return 0; // both keys ended here
    }
}

std::vector<std::string> SampleTexts() {
    const std::vector<std::string> pieces = {"a", "A",  "b",    "é",    "É",        "e",
                                             "ß", "ss", "\xff", "\xfe", "\xe2\x82", "0",
                                             "9", " ",  "-",    ".",    "(1)",      "\xef\xbf\xbd",
                                             "ä", "z",  "日本", "IMG_"};
    std::mt19937 random(11);
    std::vector<std::string> texts = {"", "a", "A", std::string(100, 'q'), std::string(100, 'Q')};
    for (int i = 0; i < 400; ++i) {
        std::string text = i % 3 == 0 ? std::string(60 + random() % 20, 'k') : "";
        for (int n = static_cast<int>(random() % 7); n > 0; --n)
            text += pieces[random() % pieces.size()];
        texts.push_back(text);
    }
    return texts;
}

TEST_F(CollationKey, KeyPartsOrderTextsAsTheCollatorDoes) {
    const std::vector<std::string> texts = SampleTexts();
    for (const std::string& a : texts) {
        for (const std::string& b : texts) {
            const int byKeys = CompareByKeyParts(a, b);
            const int byCollator = CompareTextNoCase(a, b);
            if (byKeys != 0) {
                ASSERT_EQ(byCollator, byKeys) << '"' << a << "\" vs \"" << b << '"';
            } else if (byCollator != 0) { // only the byte tie-break of undecodable texts differs
                ASSERT_TRUE(!IsValidUtf8(a) || !IsValidUtf8(b))
                    << '"' << a << "\" vs \"" << b << '"';
            }
        }
    }
}

TEST_F(CollationKey, KeyPartsFollowTheSelectedLocale) {
    EXPECT_LT(CompareByKeyParts("ä", "z"), 0);
    SetCollationLocale("sv"); // Swedish sorts "ä" after "z"
    EXPECT_GT(CompareByKeyParts("ä", "z"), 0);
}

TEST_F(CollationKey, TheSortOrderIsTransitiveAndEqualWhereTheComparisonIs) {
    // A valid name with U+FFFD collates equal to one with an undecodable byte: by bytes alone
    // "A\xff" would lie between two names that compare equal.
    std::vector<std::string> texts = {"A\xef\xbf\xbd", "a\xef\xbf\xbd", "A\xff", "a\xfe", "a\xff"};
    const std::vector<std::string> more = SampleTexts();
    texts.insert(texts.end(), more.begin(), more.end());
    std::sort(texts.begin(), texts.end(), [](const std::string& a, const std::string& b) {
        return CompareTextNoCaseForSort(a, b) < 0;
    });
    for (std::size_t i = 0; i < texts.size(); ++i) {
        for (std::size_t j = i; j < texts.size(); ++j) {
            const int result = CompareTextNoCaseForSort(texts[i], texts[j]);
            ASSERT_LE(result, 0) << '"' << texts[i] << "\" vs \"" << texts[j] << '"';
            ASSERT_EQ(result == 0, CompareTextNoCase(texts[i], texts[j]) == 0);
            // Texts that compare equal lie together: nothing sorts between them.
            if (result == 0 && j > i) {
                ASSERT_EQ(CompareTextNoCaseForSort(texts[i], texts[j - 1]), 0)
                    << '"' << texts[i] << "\" vs \"" << texts[j - 1] << '"';
            }
        }
    }
}

TEST_F(CollationKey, APartMayStartAnywhereInTheKey) {
    const std::string text = std::string(70, 'k') + "Résumé (2).pdf";
    for (std::size_t offset : {4u, 60u, 76u}) {
        const uint64_t expected =
            (CollationKeyPart(text, offset - 4) << 32) | (CollationKeyPart(text, offset + 4) >> 32);
        EXPECT_EQ(CollationKeyPart(text, offset), expected) << offset;
    }
    EXPECT_EQ(CollationKeyPart("a", 200), 0u) << "past the end of the key";
}

} // namespace
} // namespace quorvane
