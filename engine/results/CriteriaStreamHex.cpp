#include "results/CriteriaStreamHex.h"

#include "platform/HexText.h"
#include "results/CriteriaStream.h"
#include "results/FilterError.h"

namespace quorvane {
namespace {

std::string Printable(char c) {
    const auto byte = static_cast<unsigned char>(c);
    if (byte >= 0x20 && byte < 0x7F)
        return std::string("'") + c + "'";
    std::string text = "byte 0x";
    AppendHex(text, byte, 2);
    return text;
}

} // namespace

std::string BytesToHex(std::span<const uint8_t> bytes) {
    std::string hex;
    hex.reserve(bytes.size() * 2);
    for (uint8_t byte : bytes)
        AppendHex(hex, byte, 2);
    return hex;
}

std::vector<uint8_t> HexToBytes(std::string_view hex) {
    if (hex.size() % 2 != 0)
        throw TFilterError("Damaged filter text: it has an odd number of hexadecimal digits (" +
                           std::to_string(hex.size()) + ")");
    std::vector<uint8_t> bytes;
    bytes.reserve(hex.size() / 2);
    for (std::size_t i = 0; i < hex.size(); i += 2) {
        const int high = HexDigitValue(hex[i]);
        const int low = HexDigitValue(hex[i + 1]);
        if (high < 0 || low < 0) {
            const std::size_t at = high < 0 ? i : i + 1;
            throw TFilterError("Damaged filter text: " + Printable(hex[at]) + " at character " +
                               std::to_string(at) + " is not a hexadecimal digit");
        }
        bytes.push_back(static_cast<uint8_t>(high << 4 | low));
    }
    return bytes;
}

std::string EncodeStoredFilter(const TFilterGroup& criteria) {
    const std::vector<uint8_t> bytes = WriteCriteriaStream(criteria);
    if (bytes.size() > kMaxStoredCriteriaBytes)
        throw TFilterError("The filter is too long to be stored: its conditions take " +
                           std::to_string(bytes.size()) + " bytes, at most " +
                           std::to_string(kMaxStoredCriteriaBytes) + " fit: make it at least " +
                           std::to_string(bytes.size() - kMaxStoredCriteriaBytes) +
                           " bytes shorter");
    return BytesToHex(bytes);
}

TFilterGroup DecodeStoredFilter(std::string_view hex) {
    if (hex.empty())
        throw TFilterError("The filter has no conditions stored");
    return ReadCriteriaStream(HexToBytes(hex));
}

} // namespace quorvane
