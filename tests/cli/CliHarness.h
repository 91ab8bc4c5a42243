#pragma once

#include <atomic>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

#include "CliOptions.h"
#include "CliRunner.h"

namespace quorvane::cli::test {

// The words of a command line (no quoting: test paths hold no blanks).
inline std::vector<std::string> Words(std::string_view text) {
    std::vector<std::string> words;
    std::istringstream in{std::string(text)};
    for (std::string word; in >> word;)
        words.push_back(word);
    return words;
}

// Runs the command line in-process, keeping what it wrote to stdout and stderr.
struct TCliHarness {
    int Run(const std::vector<std::string>& arguments) {
        out.str("");
        err.str("");
        const auto parsed = ParseCommandLine(arguments);
        if (const auto* error = std::get_if<TUsageError>(&parsed)) {
            err << error->Message;
            return esUsage;
        }
        return RunCli(std::get<TCliOptions>(parsed), out, err, interrupted, false);
    }
    int Run(std::string_view arguments) { return Run(Words(arguments)); }

    std::ostringstream out, err;
    std::atomic<bool> interrupted{false};
};

} // namespace quorvane::cli::test
