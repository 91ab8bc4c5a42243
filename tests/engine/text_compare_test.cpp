#include <gtest/gtest.h>

#include <thread>

#include "platform/TextCompare.h"

namespace quorvane {
namespace {

class TextCompare : public ::testing::Test {
protected:
    void SetUp() override { SetCollationLocale("en"); }
    void TearDown() override { SetCollationLocale(""); }
};

TEST_F(TextCompare, IgnoresCaseButKeepsAccentsAndOrdersLikeAPerson) {
    struct Case {
        const char* a;
        const char* b;
        int expected;
    } cases[] = {
        {"readme.TXT", "README.txt", 0},
        {"élan", "ÉLAN", 0},
        {"élan", "elan", 1}, // accents are a secondary difference
        {"straße", "STRASSE", 1},
        {"apple", "Banana", -1}, // not byte order, where "B" < "a"
        {"file", "file2", -1},
        {"", "", 0},
        {"", "a", -1},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(CompareTextNoCase(c.a, c.b), c.expected) << c.a << " vs " << c.b;
        EXPECT_EQ(CompareTextNoCase(c.b, c.a), -c.expected) << c.b << " vs " << c.a;
    }
}

TEST_F(TextCompare, DifferentUndecodableNamesNeverCompareEqual) {
    EXPECT_NE(CompareTextNoCase("a\xff", "a\xfe"), 0);
    EXPECT_EQ(CompareTextNoCase("a\xff", "a\xff"), 0);
    EXPECT_EQ(CompareTextNoCase("a\xff", "a\xfe"), -CompareTextNoCase("a\xfe", "a\xff"));
}

TEST_F(TextCompare, EveryThreadUsesTheSelectedLocale) {
    // Swedish sorts "ä" after "z"; English sorts it with "a".
    SetCollationLocale("sv");
    int onWorker = 0;
    std::thread([&] { onWorker = CompareTextNoCase("ä", "z"); }).join();
    EXPECT_EQ(onWorker, 1);
    SetCollationLocale("en");
    EXPECT_EQ(CompareTextNoCase("ä", "z"), -1);
}

} // namespace
} // namespace quorvane
