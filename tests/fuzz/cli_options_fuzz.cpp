// quorvane-cli's command line: the arguments are the input split at NUL bytes.
#include "CliOptions.h"
#include "FuzzInput.h"

using namespace quorvane;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    std::vector<std::string> arguments;
    std::string_view input = fuzz::AsText(data, size);
    while (!input.empty()) {
        const std::size_t end = std::min(input.find('\0'), input.size());
        arguments.emplace_back(input.substr(0, end));
        input.remove_prefix(std::min(end + 1, input.size()));
    }
    cli::ParseCommandLine(arguments);
    return 0;
}
