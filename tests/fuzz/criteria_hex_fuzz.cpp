// A stored filter's hex text, as the configuration file and --filter-hex give it.
#include "FuzzInput.h"
#include "results/CriteriaStreamHex.h"
#include "results/FilterError.h"

using namespace quorvane;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    const std::string_view hex = fuzz::AsText(data, size);
    try {
        const std::vector<uint8_t> bytes = HexToBytes(hex);
        fuzz::Require(bytes.size() * 2 == hex.size());
    } catch (const std::exception&) {
    }
    try {
        const std::string encoded = EncodeStoredFilter(DecodeStoredFilter(hex));
        fuzz::Require(EncodeStoredFilter(DecodeStoredFilter(encoded)) == encoded);
    } catch (const TFilterError&) {
    }
    return 0;
}
