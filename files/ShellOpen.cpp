#include "ShellOpen.h"

#ifdef _WIN32
#include "WindowsCalls.h"
#else
#include <cerrno>
#include <cstdlib>
#include <fcntl.h>
#include <string_view>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>
#endif

namespace zorby {

std::string DefaultOpener() {
    return "xdg-open";
}

#ifdef _WIN32

int ShellOpen(const std::string& target, const std::string& /*opener*/) {
    return detail::ShellExecuteOpen(target);
}

#else

namespace {

// The results, in the sense of the Windows shell: above 32 is success.
constexpr int kStarted = 42;
constexpr int kNotFound = 2;
constexpr int kOutOfResources = 0;

bool IsExecutableFile(const std::string& path) {
    struct stat status {};
    return ::stat(path.c_str(), &status) == 0 && S_ISREG(status.st_mode) && ::access(path.c_str(), X_OK) == 0;
}

// The opener's path: as given when it names a folder, otherwise the first match on PATH. Searched here,
// before forking, because nothing but async-signal-safe calls may run in the child.
std::string FindOpener(const std::string& opener) {
    if (opener.empty()) {
        return {};
    }
    if (opener.find('/') != std::string::npos) {
        return IsExecutableFile(opener) ? opener : std::string();
    }
    const char* path = std::getenv("PATH");
    const std::string_view folders = path ? path : "/usr/local/bin:/usr/bin:/bin";
    std::size_t start = 0;
    for (;;) {
        const std::size_t end = folders.find(':', start);
        const std::string_view folder =
            folders.substr(start, end == std::string_view::npos ? end : end - start);
        // An empty entry stands for the current folder.
        std::string candidate(folder.empty() ? std::string_view(".") : folder);
        candidate += '/';
        candidate += opener;
        if (IsExecutableFile(candidate)) {
            return candidate;
        }
        if (end == std::string::npos) {
            return {};
        }
        start = end + 1;
    }
}

void ReportAndExit(int pipeEnd, int error) {
    // Nothing to do if this write fails: the parent then sees a start that did not happen as a success.
    [[maybe_unused]] const ssize_t ignored = ::write(pipeEnd, &error, sizeof error);
    ::_exit(127);
}

} // namespace

int ShellOpen(const std::string& target, const std::string& opener) {
    std::string program = FindOpener(opener);
    if (program.empty()) {
        return kNotFound;
    }
    std::string argument = target;
    std::vector<char*> argv{program.data(), argument.data(), nullptr};

    // Closed by a successful exec, so reading it tells exec failure (an errno arrives) from success (EOF).
    int pipeEnds[2];
    if (::pipe2(pipeEnds, O_CLOEXEC) != 0) {
        return kOutOfResources;
    }
    const pid_t child = ::fork();
    if (child < 0) {
        ::close(pipeEnds[0]);
        ::close(pipeEnds[1]);
        return kOutOfResources;
    }
    if (child == 0) {
        // The intermediate child only starts the opener and leaves, so the opener is adopted by init and
        // never becomes a zombie of ours.
        ::close(pipeEnds[0]);
        const pid_t grandchild = ::fork();
        if (grandchild < 0) {
            ReportAndExit(pipeEnds[1], errno);
        }
        if (grandchild == 0) {
            ::setsid(); // detached from our terminal and process group
            ::execv(argv[0], argv.data());
            ReportAndExit(pipeEnds[1], errno);
        }
        ::_exit(0);
    }

    ::close(pipeEnds[1]);
    while (::waitpid(child, nullptr, 0) < 0 && errno == EINTR) {
    }
    int error = 0;
    ssize_t got;
    do {
        got = ::read(pipeEnds[0], &error, sizeof error);
    } while (got < 0 && errno == EINTR);
    ::close(pipeEnds[0]);
    return got == 0 ? kStarted : kNotFound;
}

#endif

} // namespace zorby
