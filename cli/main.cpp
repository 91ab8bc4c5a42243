// quorvane-cli: the duplicate search without a window.
#include <atomic>
#include <csignal>
#include <iostream>

#include <unistd.h>

#include "CliOptions.h"
#include "CliRunner.h"

namespace {

std::atomic<bool> interrupted{false};
std::atomic<int> interruptSignal{0};

void OnInterrupt(int signal) {
    interruptSignal.store(signal);
    interrupted.store(true);
}

// The first Ctrl-C or SIGTERM cancels the run cleanly; a second one ends the program at once.
void CatchInterrupts() {
    struct sigaction action {};
    action.sa_handler = OnInterrupt;
    action.sa_flags = SA_RESETHAND;
    sigemptyset(&action.sa_mask);
    sigaction(SIGINT, &action, nullptr);
    sigaction(SIGTERM, &action, nullptr);
}

} // namespace

int main(int argc, char** argv) {
    using namespace quorvane::cli;
    std::ios::sync_with_stdio(false);
    const TParsedCommandLine parsed =
        ParseCommandLine(std::vector<std::string>(argv + 1, argv + argc));
    if (std::holds_alternative<TShowHelp>(parsed)) {
        std::cout << UsageText();
        return esRan;
    }
    if (std::holds_alternative<TShowVersion>(parsed)) {
        std::cout << "quorvane-cli " << QUORVANE_VERSION << '\n';
        return esRan;
    }
    if (const auto* error = std::get_if<TUsageError>(&parsed)) {
        std::cerr << "quorvane-cli: " << error->Message << "\nTry 'quorvane-cli --help'.\n";
        return esUsage;
    }
    CatchInterrupts();
    try {
        const int status = RunCli(std::get<TCliOptions>(parsed), std::cout, std::cerr, interrupted,
                                  ::isatty(STDERR_FILENO) == 1);
        // Ended by a signal after a clean cancel: the shell's status for that signal (143 for
        // SIGTERM, 130 for Ctrl-C).
        return status == esInterrupted ? 128 + interruptSignal.load() : status;
    } catch (const std::exception& error) {
        std::cerr << "quorvane-cli: " << error.what() << '\n';
        return esFailure;
    }
}
