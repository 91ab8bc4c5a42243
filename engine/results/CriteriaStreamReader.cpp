#include <array>
#include <bit>
#include <string>

#include "results/CriteriaStream.h"
#include "results/CriteriaStreamFloat80.h"
#include "results/CriteriaStreamTags.h"
#include "results/FilterError.h"

namespace quorvane {
namespace {

using namespace criteria_stream;

// The fewest bytes an item can take (a group with no items) and a value can take (a tag without
// payload). Counts that could not fit the bytes left are refused before anything is allocated.
constexpr std::size_t kMinItemBytes = 1 + 1 + 4;
constexpr std::size_t kMinValueBytes = 1;

// Reads the stream from front to back, checking every length against the bytes that are left.
class TCriteriaReader {
public:
    explicit TCriteriaReader(std::span<const uint8_t> bytes) : FBytes(bytes) {}

    TFilterGroup Stream() {
        if (static_cast<int32_t>(UInt(4, "the criteria marker")) != kMarker)
            Fail(0, "the data does not begin with the criteria marker FFFFFFFF");
        TFilterGroup root = Group(0);
        if (FPos != FBytes.size())
            Fail(FPos, std::to_string(FBytes.size() - FPos) +
                           " unexpected bytes follow the end of the criteria");
        return root;
    }

private:
    std::span<const uint8_t> FBytes;
    std::size_t FPos = 0;

    [[noreturn]] void Fail(std::size_t at, const std::string& what) const {
        throw TFilterError("Damaged filter criteria at byte " + std::to_string(at) + " of " +
                           std::to_string(FBytes.size()) + ": " + what);
    }

    std::size_t Left() const { return FBytes.size() - FPos; }

    void Need(std::size_t size, const char* what) const {
        if (Left() < size)
            Fail(FPos, std::string("the data ends inside ") + what + " (" + std::to_string(size) +
                           " bytes needed, " + std::to_string(Left()) + " left)");
    }

    uint64_t UInt(int size, const char* what) {
        Need(static_cast<std::size_t>(size), what);
        uint64_t value = 0;
        for (int i = 0; i < size; ++i)
            value |= uint64_t{FBytes[FPos++]} << (8 * i);
        return value;
    }
    uint8_t Byte(const char* what) { return static_cast<uint8_t>(UInt(1, what)); }
    int32_t Int32(const char* what) { return static_cast<int32_t>(UInt(4, what)); }

    std::string Text(std::size_t length, const char* what) {
        Need(length, what);
        std::string text(reinterpret_cast<const char*>(FBytes.data() + FPos), length);
        FPos += length;
        return text;
    }

    // A signed 32-bit count or length, read at the current position, that must be at least 0 and
    // leave room for `count * minBytes` more bytes.
    std::size_t Count(const char* what, std::size_t minBytes) {
        const std::size_t at = FPos;
        const int32_t count = Int32(what);
        if (count < 0)
            Fail(at, std::string("negative ") + what + " " + std::to_string(count));
        if (static_cast<std::size_t>(count) > Left() / minBytes)
            Fail(at, std::string(what) + " " + std::to_string(count) +
                         " is more than the remaining " + std::to_string(Left()) +
                         " bytes can hold");
        return static_cast<std::size_t>(count);
    }

    TFilterGroup Group(int depth) {
        if (depth > kMaxNesting)
            Fail(FPos, "groups are nested more than " + std::to_string(kMaxNesting) + " deep");
        TFilterGroup group;
        const std::size_t at = FPos;
        const uint8_t code = Byte("a group's operator");
        const auto op = FilterGroupOperatorFromCode(code);
        if (!op)
            Fail(at, "unknown group operator " + std::to_string(code));
        group.Operator = *op;
        const std::size_t count = Count("item count", kMinItemBytes);
        group.Items.reserve(count);
        for (std::size_t i = 0; i < count; ++i)
            group.Items.push_back(Item(depth));
        return group;
    }

    TFilterItem Item(int depth) {
        const std::size_t at = FPos;
        const uint8_t kind = Byte("an item");
        if (kind == kGroupItem)
            return Group(depth + 1);
        if (kind != kConditionItem)
            Fail(at, "an item is marked " + std::to_string(kind) +
                         ", neither a group (1) nor a condition (0)");
        return Condition();
    }

    TFilterCondition Condition() {
        TFilterCondition condition;
        std::size_t at = FPos;
        const uint8_t code = Byte("a condition's operator");
        const auto op = FilterOperatorFromCode(code);
        if (!op)
            Fail(at, "unknown comparison operator " + std::to_string(code));
        condition.Operator = *op;
        const std::size_t length = Count("display text length", 1);
        condition.DisplayText = Text(length, "a condition's display text");
        at = FPos;
        const int32_t column = Int32("a condition's column");
        const auto filterColumn = FilterColumnFromCode(column);
        if (!filterColumn)
            Fail(at, "column " + std::to_string(column) +
                         " cannot be filtered (1 Name, 2 Size, 3 Date, 4 Path)");
        condition.Column = *filterColumn;
        condition.Value = Value(0);
        return condition;
    }

    int32_t Integer(TValueTag tag) {
        switch (tag) {
        case TValueTag::Int8:
            return static_cast<int8_t>(UInt(1, "an 8-bit integer"));
        case TValueTag::Int16:
            return static_cast<int16_t>(UInt(2, "a 16-bit integer"));
        default:
            return Int32("a 32-bit integer");
        }
    }

    TFilterValue Value(int depth) {
        const std::size_t at = FPos;
        const auto tag = static_cast<TValueTag>(Byte("a value's tag"));
        switch (tag) {
        case TValueTag::Null:
            return TFilterNull{};
        case TValueTag::Unassigned:
            return TFilterUnassigned{};
        case TValueTag::Int8:
        case TValueTag::Int16:
        case TValueTag::Int32:
            return Integer(tag);
        case TValueTag::Extended: {
            Need(10, "an extended floating-point number");
            std::array<uint8_t, 10> bytes;
            for (uint8_t& byte : bytes)
                byte = FBytes[FPos++];
            return Float80ToDouble(bytes);
        }
        case TValueTag::ShortText:
            return Text(Byte("a text's length"), "a text value");
        case TValueTag::LongText:
            return Text(Count("text length", 1), "a text value");
        case TValueTag::False:
            return false;
        case TValueTag::True:
            return true;
        case TValueTag::Single:
            return std::bit_cast<float>(static_cast<uint32_t>(UInt(4, "a single")));
        case TValueTag::Currency:
            return TFilterCurrency{static_cast<int64_t>(UInt(8, "a currency value"))};
        case TValueTag::Date:
            return TFilterDate{std::bit_cast<double>(UInt(8, "a date"))};
        case TValueTag::WideText: {
            const std::size_t length = Count("wide text length", 2);
            std::u16string text(length, u'\0');
            for (char16_t& unit : text)
                unit = static_cast<char16_t>(UInt(2, "a wide text value"));
            return text;
        }
        case TValueTag::List:
            return List(depth);
        }
        Fail(at, "unknown value tag " + std::to_string(static_cast<int>(tag)));
    }

    TFilterValueList List(int depth) {
        if (depth >= kMaxNesting)
            Fail(FPos - 1,
                 "value lists are nested more than " + std::to_string(kMaxNesting) + " deep");
        const std::size_t at = FPos;
        const auto tag = static_cast<TValueTag>(Byte("a list's element count"));
        if (tag != TValueTag::Int8 && tag != TValueTag::Int16 && tag != TValueTag::Int32)
            Fail(at, "a list's element count has tag " + std::to_string(static_cast<int>(tag)) +
                         ", not an integer");
        const int32_t count = Integer(tag);
        if (count < 0)
            Fail(at, "negative list element count " + std::to_string(count));
        if (static_cast<std::size_t>(count) > Left() / kMinValueBytes)
            Fail(at, "list element count " + std::to_string(count) +
                         " is more than the remaining " + std::to_string(Left()) +
                         " bytes can hold");
        TFilterValueList list;
        list.reserve(static_cast<std::size_t>(count));
        for (int32_t i = 0; i < count; ++i)
            list.push_back(Value(depth + 1));
        return list;
    }
};

} // namespace

TFilterGroup ReadCriteriaStream(std::span<const uint8_t> bytes) {
    return TCriteriaReader(bytes).Stream();
}

} // namespace quorvane
