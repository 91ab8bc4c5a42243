// A criteria stream: whatever reads must write to a stream that reads and writes to the same
// bytes again.
#include <span>

#include "FuzzInput.h"
#include "results/CriteriaStream.h"
#include "results/FilterError.h"

using namespace quorvane;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    std::vector<uint8_t> written;
    try {
        written = WriteCriteriaStream(ReadCriteriaStream(std::span<const uint8_t>(data, size)));
    } catch (const TFilterError&) {
        return 0;
    }
    fuzz::Require(WriteCriteriaStream(ReadCriteriaStream(written)) == written);
    return 0;
}
