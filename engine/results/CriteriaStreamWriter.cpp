#include <bit>
#include <limits>
#include <string>

#include "results/CriteriaStream.h"
#include "results/CriteriaStreamFloat80.h"
#include "results/CriteriaStreamTags.h"
#include "results/FilterError.h"

namespace quorvane {
namespace {

using namespace criteria_stream;

class TCriteriaWriter {
public:
    std::vector<uint8_t> Bytes;

    void Group(const TFilterGroup& group, int depth) {
        if (depth > kMaxNesting)
            throw TFilterError("The filter's groups are nested more than " +
                               std::to_string(kMaxNesting) + " deep");
        Byte(static_cast<uint8_t>(group.Operator));
        Int32(Count(group.Items.size(), "items in a group"));
        for (const TFilterItem& item : group.Items) {
            if (const auto* condition = std::get_if<TFilterCondition>(&item.Node)) {
                Byte(kConditionItem);
                Condition(*condition);
            } else {
                Byte(kGroupItem);
                Group(std::get<TFilterGroup>(item.Node), depth + 1);
            }
        }
    }

private:
    void Byte(uint8_t value) { Bytes.push_back(value); }
    void Tag(TValueTag tag) { Byte(static_cast<uint8_t>(tag)); }
    void UInt(uint64_t value, int size) {
        for (int i = 0; i < size; ++i)
            Byte(static_cast<uint8_t>(value >> (8 * i)));
    }
    void Int32(int32_t value) { UInt(static_cast<uint32_t>(value), 4); }
    void Raw(const void* data, std::size_t size) {
        const auto* bytes = static_cast<const uint8_t*>(data);
        Bytes.insert(Bytes.end(), bytes, bytes + size);
    }

    static int32_t Count(std::size_t count, const char* what) {
        if (count > static_cast<std::size_t>(std::numeric_limits<int32_t>::max()))
            throw TFilterError("The filter holds too many " + std::string(what) + " to be saved");
        return static_cast<int32_t>(count);
    }

    void Condition(const TFilterCondition& condition) {
        Byte(static_cast<uint8_t>(condition.Operator));
        Int32(Count(condition.DisplayText.size(), "characters in a display text"));
        Raw(condition.DisplayText.data(), condition.DisplayText.size());
        Int32(static_cast<int32_t>(condition.Column));
        Value(condition.Value, 0);
    }

    void Integer(int32_t value) {
        if (value >= std::numeric_limits<int8_t>::min() &&
            value <= std::numeric_limits<int8_t>::max()) {
            Tag(TValueTag::Int8);
            UInt(static_cast<uint8_t>(value), 1);
        } else if (value >= std::numeric_limits<int16_t>::min() &&
                   value <= std::numeric_limits<int16_t>::max()) {
            Tag(TValueTag::Int16);
            UInt(static_cast<uint16_t>(value), 2);
        } else {
            Tag(TValueTag::Int32);
            Int32(value);
        }
    }

    void Text(const std::string& text) {
        if (text.size() <= 255) {
            Tag(TValueTag::ShortText);
            Byte(static_cast<uint8_t>(text.size()));
        } else {
            Tag(TValueTag::LongText);
            Int32(Count(text.size(), "characters in a text value"));
        }
        Raw(text.data(), text.size());
    }

    void Value(const TFilterValue& value, int depth) {
        struct TVisitor {
            TCriteriaWriter& W;
            int Depth;
            void operator()(const TFilterNull&) const { W.Tag(TValueTag::Null); }
            void operator()(const TFilterUnassigned&) const { W.Tag(TValueTag::Unassigned); }
            void operator()(int32_t v) const { W.Integer(v); }
            void operator()(double v) const {
                W.Tag(TValueTag::Extended);
                const auto bytes = DoubleToFloat80(v);
                W.Raw(bytes.data(), bytes.size());
            }
            void operator()(const std::string& v) const { W.Text(v); }
            void operator()(bool v) const { W.Tag(v ? TValueTag::True : TValueTag::False); }
            void operator()(float v) const {
                W.Tag(TValueTag::Single);
                W.UInt(std::bit_cast<uint32_t>(v), 4);
            }
            void operator()(TFilterCurrency v) const {
                W.Tag(TValueTag::Currency);
                W.UInt(static_cast<uint64_t>(v.TenThousandths), 8);
            }
            void operator()(TFilterDate v) const {
                W.Tag(TValueTag::Date);
                W.UInt(std::bit_cast<uint64_t>(v.Value), 8);
            }
            void operator()(const std::u16string& v) const {
                W.Tag(TValueTag::WideText);
                W.Int32(Count(v.size(), "characters in a text value"));
                for (char16_t unit : v)
                    W.UInt(unit, 2);
            }
            void operator()(const TFilterValueList& list) const {
                if (Depth >= kMaxNesting)
                    throw TFilterError("The filter's value lists are nested more than " +
                                       std::to_string(kMaxNesting) + " deep");
                W.Tag(TValueTag::List);
                W.Integer(Count(list.size(), "values in a list"));
                for (const TFilterValue& element : list)
                    W.Value(element, Depth + 1);
            }
        };
        std::visit(TVisitor{*this, depth}, value.Data);
    }
};

} // namespace

std::vector<uint8_t> WriteCriteriaStream(const TFilterGroup& root) {
    TCriteriaWriter writer;
    for (int i = 0; i < 4; ++i)
        writer.Bytes.push_back(static_cast<uint8_t>(static_cast<uint32_t>(kMarker) >> (8 * i)));
    writer.Group(root, 0);
    return std::move(writer.Bytes);
}

} // namespace quorvane
