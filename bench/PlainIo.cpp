#include "PlainIo.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <stdexcept>
#include <sys/stat.h>
#include <unistd.h>

namespace zorby::bench {

namespace {

[[noreturn]] void Fail(const char* what, const std::string& path) {
    throw std::runtime_error(std::string(what) + " " + path + ": " + std::strerror(errno));
}

std::string FolderOf(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    return slash == std::string::npos ? std::string(".") : path.substr(0, slash + 1);
}

} // namespace

std::string ReadAllBytes(const std::string& path) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        Fail("cannot open", path);
    }
    struct stat status {};
    if (::fstat(fd, &status) != 0) {
        ::close(fd);
        Fail("cannot stat", path);
    }
    std::string bytes(static_cast<std::size_t>(status.st_size), '\0');
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t got = ::read(fd, bytes.data() + done, bytes.size() - done);
        if (got < 0 && errno == EINTR) {
            continue;
        }
        if (got <= 0) {
            ::close(fd);
            Fail("cannot read", path);
        }
        done += static_cast<std::size_t>(got);
    }
    ::close(fd);
    return bytes;
}

void WriteWholeFile(const std::string& path, std::string_view bytes, Durability durability) {
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
    if (fd < 0) {
        Fail("cannot create", path);
    }
    while (!bytes.empty()) {
        const ssize_t written = ::write(fd, bytes.data(), bytes.size());
        if (written < 0 && errno == EINTR) {
            continue;
        }
        if (written < 0) {
            ::close(fd);
            Fail("cannot write", path);
        }
        bytes.remove_prefix(static_cast<std::size_t>(written));
    }
    if (durability == Durability::Synced && ::fsync(fd) != 0) {
        ::close(fd);
        Fail("cannot sync", path);
    }
    if (::close(fd) != 0) {
        Fail("cannot close", path);
    }
    if (durability == Durability::Synced) {
        const int folder = ::open(FolderOf(path).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        if (folder >= 0) {
            ::fsync(folder);
            ::close(folder);
        }
    }
}

} // namespace zorby::bench
