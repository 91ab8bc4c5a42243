// A file mask and a name, split at the first NUL byte.
#include "FuzzInput.h"
#include "search/Masks.h"

using namespace quorvane;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    const std::string_view input = fuzz::AsText(data, size);
    const std::size_t split = input.find('\0');
    const std::string_view mask = input.substr(0, split);
    const std::string_view name = split == input.npos ? "" : input.substr(split + 1);
    try {
        CheckMaskLength(mask);
    } catch (const std::exception&) {
        return 0;
    }
    MaskMatch(name, mask);
    WildcardMatch(name, mask);
    // Every name matches "*", and a mask without wildcards matches itself.
    fuzz::Require(WildcardMatch(name, "*"));
    if (mask.find_first_of("*?") == mask.npos)
        fuzz::Require(WildcardMatch(mask, mask) && MaskMatch(mask, mask));
    return 0;
}
