#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>
#include <vector>

#include "results/CriteriaStream.h"
#include "results/CriteriaStreamFloat80.h"
#include "results/CriteriaStreamHex.h"
#include "results/CriteriaStreamTags.h"
#include "results/DefaultFilters.h"
#include "results/FilterError.h"
#include "testsupport/FilterErrors.h"

namespace quorvane {
namespace {

using Op = TFilterOperator;
using GroupOp = TFilterGroupOperator;
using test::ThrownMessage;

std::vector<uint8_t> Bytes(const std::string& hex) {
    return HexToBytes(hex);
}

std::string Hex(const std::vector<uint8_t>& bytes) {
    return BytesToHex(bytes);
}

// The hex of a little-endian signed 32-bit integer.
std::string Int32Hex(int32_t value) {
    std::vector<uint8_t> bytes;
    for (int i = 0; i < 4; ++i)
        bytes.push_back(static_cast<uint8_t>(static_cast<uint32_t>(value) >> (8 * i)));
    return Hex(bytes);
}

std::string TextHex(const std::string& text) {
    return Hex(std::vector<uint8_t>(text.begin(), text.end()));
}

// A stream with a root AND of one condition on Name, "x" as display text, and the given value.
std::string OneConditionStream(const std::string& valueHex) {
    return "FFFFFFFF"
           "00"
           "01000000"
           "00"
           "00"
           "01000000"
           "78"
           "01000000" +
           valueHex;
}

TFilterCondition Condition(Op op, TFilterColumn column, TFilterValue value,
                           std::string display = "x") {
    return TFilterCondition{op, std::move(display), column, std::move(value)};
}

// --- The default filters -----------------------------------------------------------------------

struct TDefaultFilterCase {
    std::string Name;
    GroupOp Operator;
    std::vector<std::string> Patterns;
};

const std::vector<std::string> kSupportPatterns = {"*.dll", "*.ocx", "*.ini", "*.tlb",
                                                   "*.cpl", "*.msc", "*.dat", "*.sys"};
const std::vector<TDefaultFilterCase> kDefaultFilterTable = {
    {"Documents", GroupOp::Or, {"*.txt", "*.doc", "*.xls", "*.rtf", "*.ppt"}},
    {"Executables", GroupOp::Or, {"*.exe", "*.bin", "*.com", "*.scr"}},
    {"Support files", GroupOp::Or, kSupportPatterns},
    {"Not Support files", GroupOp::NotOr, kSupportPatterns},
    {"Compressed files",
     GroupOp::Or,
     {"*.zip", "*.cab", "*.arj", "*.rar", "*.lha", "*.tar", "*.tgz", "*.bz2", "*.gz"}},
};

TEST(DefaultFilters, DecodeToTheirConditionsAndEncodeBackToTheExactText) {
    const auto& filters = DefaultFilters();
    ASSERT_EQ(filters.size(), kDefaultFilterTable.size());
    for (std::size_t i = 0; i < filters.size(); ++i) {
        const TDefaultFilterCase& expected = kDefaultFilterTable[i];
        SCOPED_TRACE(expected.Name);
        EXPECT_EQ(filters[i].Name, expected.Name);

        const TFilterGroup root = DecodeStoredFilter(filters[i].CriteriaHex);
        TFilterGroup wanted{expected.Operator, {}};
        for (const std::string& pattern : expected.Patterns)
            wanted.Items.push_back(Condition(Op::Like, TFilterColumn::Name, pattern, pattern));
        EXPECT_EQ(root, wanted);

        EXPECT_EQ(EncodeStoredFilter(wanted), filters[i].CriteriaHex);
    }
}

TEST(DefaultFilters, ExecutablesBeginsAsTheLayoutDescribes) {
    const std::string& hex = DefaultFilters()[1].CriteriaHex;
    EXPECT_EQ(hex.substr(0, 62), "FFFFFFFF"
                                 "01"
                                 "04000000"
                                 "00"
                                 "06"
                                 "05000000"
                                 "2A2E657865"
                                 "01000000"
                                 "06"
                                 "05"
                                 "2A2E657865");
}

// --- Values of every tag -----------------------------------------------------------------------

struct TValueCase {
    const char* Tag;
    std::string ValueHex;
    TFilterValue Value;
};

std::vector<TValueCase> ValueCases() {
    const std::string longText(300, 'L');
    return {
        {"null", "00", TFilterNull{}},
        {"unassigned", "0D", TFilterUnassigned{}},
        {"int8 -1", "02FF", int32_t{-1}},
        {"int8 127", "027F", int32_t{127}},
        {"int16 128", "038000", int32_t{128}},
        {"int16 -129", "037FFF", int32_t{-129}},
        {"int32 32768", "0400800000", int32_t{32768}},
        {"int32 min", "0400000080", std::numeric_limits<int32_t>::min()},
        {"extended 1.5",
         "05"
         "00000000000000C0FF3F",
         1.5},
        {"extended -0.1",
         "05"
         "00D0CCCCCCCCCCCCFBBF",
         -0.1},
        {"extended 1e300",
         "05"
         "00E0AC0340E421BFE343",
         1e300},
        {"extended smallest subnormal",
         "05"
         "0000000000000080CD3B",
         5e-324},
        {"short text",
         "06"
         "03"
         "616263",
         std::string("abc")},
        {"empty short text",
         "06"
         "00",
         std::string()},
        {"short text, 255 bytes",
         "06"
         "FF" +
             TextHex(std::string(255, 'S')),
         std::string(255, 'S')},
        {"long text", "0C" + Int32Hex(300) + TextHex(longText), longText},
        {"non-UTF-8 text",
         "06"
         "02"
         "FF41",
         std::string("\xFF"
                     "A")},
        {"false", "08", false},
        {"true", "09", true},
        {"single 1.5",
         "0F"
         "0000C03F",
         1.5f},
        {"currency 12.3456",
         "10"
         "40E2010000000000",
         TFilterCurrency{123456}},
        {"currency -1",
         "10"
         "F0D8FFFFFFFFFFFF",
         TFilterCurrency{-10000}},
        {"date",
         "11"
         "0000000010F9E540",
         TFilterDate{45000.5}},
        {"wide text",
         "12"
         "03000000"
         "A903"
         "6100"
         "3DD8",
         std::u16string(u"\u03A9a\xD83D")},
        {"list",
         "01"
         "0202"
         "0201"
         "06026162",
         TFilterValueList{int32_t{1}, std::string("ab")}},
        {"nested list",
         "01"
         "0201"
         "01"
         "0200",
         TFilterValueList{TFilterValueList{}}},
    };
}

TEST(CriteriaStreamValues, EveryTagReadsToItsValueAndWritesBackByteForByte) {
    for (const TValueCase& c : ValueCases()) {
        SCOPED_TRACE(c.Tag);
        const std::string streamHex = OneConditionStream(c.ValueHex);
        const TFilterGroup root = ReadCriteriaStream(Bytes(streamHex));
        ASSERT_EQ(root.Items.size(), 1u);
        EXPECT_EQ(std::get<TFilterCondition>(root.Items[0].Node).Value, c.Value);
        EXPECT_EQ(Hex(WriteCriteriaStream(root)), streamHex);
    }
}

TEST(CriteriaStreamValues, IntegersTakeTheSmallestTagAnd64BitOnesBecomeText) {
    const struct {
        int64_t Value;
        std::string Hex;
    } cases[] = {
        {0, "0200"},
        {-128, "0280"},
        {127, "027F"},
        {-32768, "030080"},
        {32767, "03FF7F"},
        {2147483647, "04FFFFFF7F"},
        {5000000000, "060A" + TextHex("5000000000")},
        {-2147483649, "060B" + TextHex("-2147483649")},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Value);
        const TFilterGroup root{
            GroupOp::And,
            {Condition(Op::Equal, TFilterColumn::Name, FilterValueFromInt64(c.Value))}};
        EXPECT_EQ(Hex(WriteCriteriaStream(root)), OneConditionStream(c.Hex));
    }
}

TEST(CriteriaStreamFloat80, ConvertsSpecialValuesAndRoundsExtraPrecision) {
    using criteria_stream::DoubleToFloat80;
    using criteria_stream::Float80ToDouble;
    for (double value :
         {0.0, -0.0, 1.0, -2.5, 0.1, 1e-310, std::numeric_limits<double>::max(),
          std::numeric_limits<double>::infinity(), -std::numeric_limits<double>::infinity()}) {
        SCOPED_TRACE(value);
        const double back = Float80ToDouble(DoubleToFloat80(value));
        EXPECT_EQ(back, value);
        EXPECT_EQ(std::signbit(back), std::signbit(value));
    }
    EXPECT_TRUE(std::isnan(Float80ToDouble(DoubleToFloat80(std::nan("")))));

    // One third in 64 significant bits rounds to the nearest double.
    const auto third = Bytes("ABAAAAAAAAAAAAAAFD3F");
    std::array<uint8_t, 10> bytes{};
    std::copy(third.begin(), third.end(), bytes.begin());
    EXPECT_EQ(Float80ToDouble(bytes), 1.0 / 3.0);
    // Beyond a double's range.
    const auto huge = Bytes("0000000000000080FF7F");
    std::copy(huge.begin(), huge.end(), bytes.begin());
    EXPECT_TRUE(std::isinf(Float80ToDouble(bytes)));
}

// --- Trees -------------------------------------------------------------------------------------

TFilterGroup SampleTree() {
    TFilterGroup inner{
        GroupOp::NotAnd,
        {Condition(Op::Between, TFilterColumn::Size,
                   TFilterValueList{int32_t{10}, std::string("5000000000")}, "10..5 GB"),
         TFilterGroup{GroupOp::NotOr, {}}}};
    return TFilterGroup{
        GroupOp::Or,
        {Condition(Op::Like, TFilterColumn::Name, std::string("*.txt"), "*.txt"), inner,
         Condition(Op::Greater, TFilterColumn::Date, TFilterDate{45000.25}, "2023-03-15 06:00"),
         Condition(Op::BeginsWith, TFilterColumn::Path, std::u16string(u"/home/"), "/home/"),
         Condition(Op::IsEmpty, TFilterColumn::Name, TFilterNull{}, ""),
         Condition(Op::InList, TFilterColumn::Size,
                   TFilterValueList{int32_t{1}, 2.5, 3.5f, TFilterCurrency{40000}, true,
                                    TFilterUnassigned{}},
                   "1, 2.5, ...")}};
}

TEST(CriteriaStreamTree, NestedGroupsRoundTrip) {
    const TFilterGroup tree = SampleTree();
    const std::vector<uint8_t> bytes = WriteCriteriaStream(tree);
    EXPECT_EQ(ReadCriteriaStream(bytes), tree);
    EXPECT_EQ(WriteCriteriaStream(ReadCriteriaStream(bytes)), bytes);
    EXPECT_EQ(DecodeStoredFilter(EncodeStoredFilter(tree)), tree);
}

TEST(CriteriaStreamTree, EmptyRootIsFiveBytesAfterTheMarker) {
    EXPECT_EQ(Hex(WriteCriteriaStream(TFilterGroup{GroupOp::NotOr, {}})), "FFFFFFFF0300000000");
    EXPECT_EQ(ReadCriteriaStream(Bytes("FFFFFFFF0300000000")), (TFilterGroup{GroupOp::NotOr, {}}));
}

TEST(CriteriaStreamTree, HexAcceptsLowerCaseDigitsAndWritesUpperCase) {
    EXPECT_EQ(Hex(HexToBytes("ffaB09")), "FFAB09");
}

// --- Damaged streams ---------------------------------------------------------------------------

TEST(CriteriaStreamDamage, EveryTruncationIsRefused) {
    const std::vector<uint8_t> bytes = WriteCriteriaStream(SampleTree());
    for (std::size_t length = 0; length < bytes.size(); ++length) {
        SCOPED_TRACE(length);
        const std::vector<uint8_t> prefix(bytes.begin(), bytes.begin() + static_cast<long>(length));
        EXPECT_THROW(ReadCriteriaStream(prefix), TFilterError);
    }
}

TEST(CriteriaStreamDamage, TruncatedValuesOfEveryTagAreRefused) {
    for (const TValueCase& c : ValueCases()) {
        SCOPED_TRACE(c.Tag);
        const std::vector<uint8_t> bytes = Bytes(OneConditionStream(c.ValueHex));
        for (std::size_t cut = 1; cut <= c.ValueHex.size() / 2; ++cut) {
            const std::vector<uint8_t> prefix(bytes.begin(), bytes.end() - static_cast<long>(cut));
            EXPECT_THROW(ReadCriteriaStream(prefix), TFilterError);
        }
    }
}

TEST(CriteriaStreamDamage, MalformedStreamsNameTheFaultAndItsByte) {
    const std::string rootWithOne = "FFFFFFFF"
                                    "00"
                                    "01000000";
    const struct {
        const char* What;
        std::string Hex;
        std::string Message;
    } cases[] = {
        {"empty", "", "at byte 0 of 0: the data ends inside the criteria marker"},
        {"wrong marker", "FEFFFFFF0000000000", "at byte 0 of 9: the data does not begin with"},
        {"unknown group operator", "FFFFFFFF0400000000",
         "at byte 4 of 9: unknown group operator 4"},
        {"negative count", "FFFFFFFF00FFFFFFFF", "at byte 5 of 9: negative item count -1"},
        {"absurd count", "FFFFFFFF00FFFFFF7F" + std::string(40, '0'),
         "at byte 5 of 29: item count 2147483647 is more than the remaining 20 bytes can hold"},
        {"item neither group nor condition", rootWithOne + "02" + std::string(20, '0'),
         "at byte 9 of 20: an item is marked 2"},
        {"unknown comparison operator", rootWithOne + "0012" + std::string(20, '0'),
         "at byte 10 of 21: unknown comparison operator 18"},
        {"display text past the end",
         rootWithOne + "0000"
                       "E8030000"
                       "41424344",
         "at byte 11 of 19: display text length 1000 is more than the remaining 4 bytes"},
        {"negative display text length",
         rootWithOne + "0000"
                       "FEFFFFFF"
                       "41424344",
         "negative display text length -2"},
        {"column 0", OneConditionStream("00").replace(32, 8, "00000000"),
         "at byte 16 of 21: column 0 cannot be filtered"},
        {"column 5", OneConditionStream("00").replace(32, 8, "05000000"),
         "column 5 cannot be filtered"},
        {"value tag 7", OneConditionStream("07"), "at byte 20 of 21: unknown value tag 7"},
        {"value tag 19",
         OneConditionStream("13"
                            "0000000000000000"),
         "unknown value tag 19"},
        {"value tag 255", OneConditionStream("FF"), "unknown value tag 255"},
        {"long text past the end",
         OneConditionStream("0C"
                            "FFFFFF7F"
                            "41"),
         "text length 2147483647 is more than the remaining 1 bytes can hold"},
        {"short text past the end",
         OneConditionStream("06"
                            "05"
                            "4142"),
         "the data ends inside a text value (5 bytes needed, 2 left)"},
        {"wide text past the end",
         OneConditionStream("12"
                            "02000000"
                            "4100"),
         "wide text length 2 is more than the remaining 2 bytes can hold"},
        {"list count not an integer",
         OneConditionStream("01"
                            "0603"
                            "313233"),
         "a list's element count has tag 6, not an integer"},
        {"negative list count",
         OneConditionStream("01"
                            "02FF"),
         "negative list element count -1"},
        {"absurd list count",
         OneConditionStream("01"
                            "04FFFFFF7F"
                            "0000"),
         "list element count 2147483647 is more than the remaining 2 bytes"},
        {"bytes after the end",
         "FFFFFFFF0000000000"
         "00",
         "at byte 9 of 10: 1 unexpected bytes follow the end of the criteria"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.What);
        const std::string message = ThrownMessage([&] { ReadCriteriaStream(Bytes(c.Hex)); });
        EXPECT_NE(message.find("Damaged filter criteria"), std::string::npos) << message;
        EXPECT_NE(message.find(c.Message), std::string::npos) << message;
    }
}

TEST(CriteriaStreamDamage, NestingIsLimitedAlikeForReadingAndWriting) {
    const auto nestedGroups = [](int depth) {
        TFilterGroup root{GroupOp::And, {}};
        for (int i = 0; i < depth; ++i)
            root = TFilterGroup{GroupOp::Or, {root}};
        return root;
    };
    const TFilterGroup deepest = nestedGroups(criteria_stream::kMaxNesting);
    EXPECT_EQ(ReadCriteriaStream(WriteCriteriaStream(deepest)), deepest);
    EXPECT_THROW(WriteCriteriaStream(nestedGroups(criteria_stream::kMaxNesting + 1)), TFilterError);

    // A hand-made stream one group deeper than allowed.
    std::string hex = "FFFFFFFF";
    for (int i = 0; i <= criteria_stream::kMaxNesting; ++i)
        hex += "00"
               "01000000"
               "01";
    hex += "0000000000";
    EXPECT_NE(
        ThrownMessage([&] { ReadCriteriaStream(Bytes(hex)); }).find("nested more than 64 deep"),
        std::string::npos);

    TFilterValue list = TFilterValueList{};
    for (int i = 1; i < criteria_stream::kMaxNesting; ++i)
        list = TFilterValueList{list};
    const TFilterGroup deepList{GroupOp::And, {Condition(Op::InList, TFilterColumn::Name, list)}};
    EXPECT_EQ(ReadCriteriaStream(WriteCriteriaStream(deepList)), deepList);
    const TFilterGroup tooDeepList{
        GroupOp::And, {Condition(Op::InList, TFilterColumn::Name, TFilterValueList{list})}};
    EXPECT_THROW(WriteCriteriaStream(tooDeepList), TFilterError);
    std::string listHex;
    for (int i = 0; i <= criteria_stream::kMaxNesting; ++i)
        listHex += "01"
                   "0201";
    EXPECT_NE(ThrownMessage([&] {
                  ReadCriteriaStream(Bytes(OneConditionStream(listHex + "00")));
              }).find("value lists are nested more than 64 deep"),
              std::string::npos);
}

TEST(CriteriaStreamDamage, BadHexTextIsRefused) {
    const struct {
        std::string Hex;
        std::string Message;
    } cases[] = {
        {"FFF", "odd number of hexadecimal digits (3)"},
        {"FFFFFFFG00000000", "'G' at character 7 is not a hexadecimal digit"},
        {"FF FFFFFFF", "' ' at character 2 is not a hexadecimal digit"},
        {"FF\xC3\xA9", "byte 0xC3 at character 2 is not a hexadecimal digit"},
        {"", "has no conditions stored"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Hex);
        const std::string message = ThrownMessage([&] { DecodeStoredFilter(c.Hex); });
        EXPECT_NE(message.find(c.Message), std::string::npos) << message;
    }
}

TEST(CriteriaStreamDamage, StoredTextCutShortByTheConfigurationLimitIsRefused) {
    // The longest stored value the configuration file reads back is 2,047 characters.
    TFilterGroup root{GroupOp::Or, {}};
    while (WriteCriteriaStream(root).size() <= kMaxStoredCriteriaBytes)
        root.Items.push_back(
            Condition(Op::Like, TFilterColumn::Name, std::string("*.abcdefgh"), "*.abcdefgh"));
    const std::string full = BytesToHex(WriteCriteriaStream(root));
    EXPECT_THROW(DecodeStoredFilter(full.substr(0, 2047)), TFilterError);
    EXPECT_THROW(DecodeStoredFilter(full.substr(0, 2046)), TFilterError);
}

TEST(CriteriaStreamStore, RefusesCriteriaLongerThanTheConfigurationCanHold) {
    // One condition takes 12 bytes plus its display text and its short text value; with the
    // marker and the root it adds up to exactly the limit here.
    const std::string value(255, 'v');
    const auto rootWithDisplay = [&](std::size_t displayLength) {
        return TFilterGroup{
            GroupOp::And,
            {Condition(Op::Equal, TFilterColumn::Name, value, std::string(displayLength, 'd'))}};
    };
    const TFilterGroup atLimit = rootWithDisplay(kMaxStoredCriteriaBytes - 9 - 12 - 255);
    ASSERT_EQ(WriteCriteriaStream(atLimit).size(), kMaxStoredCriteriaBytes);
    EXPECT_EQ(DecodeStoredFilter(EncodeStoredFilter(atLimit)), atLimit);
    EXPECT_EQ(EncodeStoredFilter(atLimit).size(), 2046u);

    const std::string message = ThrownMessage(
        [&] { EncodeStoredFilter(rootWithDisplay(kMaxStoredCriteriaBytes - 9 - 12 - 254)); });
    EXPECT_NE(message.find("too long to be stored"), std::string::npos) << message;
    EXPECT_NE(message.find("1024 bytes, at most 1023"), std::string::npos) << message;
}

} // namespace
} // namespace quorvane
