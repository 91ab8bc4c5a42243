#include "platform/DetachedProcess.h"

#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include "platform/FileDescriptor.h"

namespace quorvane {
namespace {

bool IsExecutableFile(const std::string& path) {
    struct stat status {};
    return ::stat(path.c_str(), &status) == 0 && S_ISREG(status.st_mode) &&
           ::access(path.c_str(), X_OK) == 0;
}

// The program's path, found before the fork: the child may do nothing but async-signal-safe
// calls, and the PATH search allocates.
std::string ResolveProgram(const std::string& name) {
    if (name.find('/') != std::string::npos)
        return name;
    const char* path = std::getenv("PATH");
    const std::string folders = path && *path ? path : "/usr/local/bin:/usr/bin:/bin";
    std::size_t start = 0;
    while (start <= folders.size()) {
        std::size_t end = folders.find(':', start);
        if (end == std::string::npos)
            end = folders.size();
        const std::string folder = end == start ? "." : folders.substr(start, end - start);
        const std::string candidate = folder + "/" + name;
        if (IsExecutableFile(candidate))
            return candidate;
        start = end + 1;
    }
    return {};
}

void WriteError(int fd, int error) {
    ssize_t written;
    do
        written = ::write(fd, &error, sizeof error);
    while (written < 0 && errno == EINTR);
}

// In the forked child: a grandchild in a session of its own runs the program and reports a
// failed exec through the pipe; the child ends at once so that the grandchild is adopted.
[[noreturn]] void RunGrandchild(const std::string& program, char* const* argv, int reportFd) {
    ::setsid();
    const pid_t grandchild = ::fork();
    if (grandchild == 0) {
        sigset_t none;
        sigemptyset(&none);
        ::sigprocmask(SIG_SETMASK, &none, nullptr);
        ::execv(program.c_str(), argv);
        WriteError(reportFd, errno);
        ::_exit(127);
    }
    if (grandchild < 0)
        WriteError(reportFd, errno);
    ::_exit(0);
}

} // namespace

int StartDetached(const std::vector<std::string>& arguments) {
    if (arguments.empty() || arguments.front().empty())
        return EINVAL;
    const std::string program = ResolveProgram(arguments.front());
    if (program.empty())
        return ENOENT;
    std::vector<char*> argv;
    argv.reserve(arguments.size() + 1);
    for (const std::string& argument : arguments)
        argv.push_back(const_cast<char*>(argument.c_str()));
    argv.push_back(nullptr);

    // The report pipe closes by itself when the exec succeeds (close-on-exec).
    int report[2];
    if (::pipe2(report, O_CLOEXEC) != 0)
        return errno;
    TFileDescriptor reader(report[0]);
    TFileDescriptor writer(report[1]);
    const pid_t child = ::fork();
    if (child < 0)
        return errno;
    if (child == 0)
        RunGrandchild(program, argv.data(), writer.Get());
    ::close(writer.Release());
    while (::waitpid(child, nullptr, 0) < 0 && errno == EINTR) {
    }
    int error = 0;
    ssize_t got;
    do
        got = ::read(reader.Get(), &error, sizeof error);
    while (got < 0 && errno == EINTR);
    return got == static_cast<ssize_t>(sizeof error) ? error : 0;
}

} // namespace quorvane
