#include "readers/ReportFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <stdexcept>

namespace kov {

namespace {

constexpr std::size_t kLongestPathShown = 300;

const char* ReasonForErrno(int error) {
    switch (error) {
        case ENOENT:
            return "the file does not exist";
        case EACCES:
        case EPERM:
            return "permission denied";
        case ELOOP:
            return "too many levels of symbolic links (a link loop?)";
        case ENAMETOOLONG:
            return "the name is too long";
        case ENOTDIR:
            return "a part of the path is not a folder";
        default:
            return std::strerror(error);
    }
}

// Why a path that exists is still no report file; nullptr for a regular file.
const char* NotARegularFile(mode_t mode) {
    if (S_ISREG(mode)) return nullptr;
    if (S_ISDIR(mode)) return "it is a folder, not a report file";
    if (S_ISFIFO(mode)) return "it is a named pipe (FIFO), not a report file";
    if (S_ISSOCK(mode)) return "it is a socket, not a report file";
    if (S_ISCHR(mode) || S_ISBLK(mode)) return "it is a device, not a report file";
    return "it is not a regular file";
}

[[noreturn]] void CannotOpen(const std::string& path, const char* reason) {
    throw std::runtime_error("cannot open '" + PathForMessage(path) + "': " + reason);
}

}  // namespace

std::string PathForMessage(std::string_view path) {
    if (path.size() <= kLongestPathShown) return std::string(path);
    constexpr std::string_view gap = "...";
    const std::size_t slash = path.find_last_of('/');
    const std::size_t nameLength = slash == std::string_view::npos ? path.size() : path.size() - slash - 1;
    // The file name keeps at most half the room (the end of a very long name).
    const std::size_t tailLength = std::min(nameLength + 1, kLongestPathShown / 2);
    const std::size_t headLength = kLongestPathShown - gap.size() - tailLength;
    return std::string(path.substr(0, headLength)).append(gap).append(path.substr(path.size() - tailLength));
}

OpenedReportFile OpenReportFile(const std::string& path) {
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0) CannotOpen(path, ReasonForErrno(errno));
    if (const char* refusal = NotARegularFile(info.st_mode)) CannotOpen(path, refusal);
    // Not blocking, and checked again once open: the path may have been
    // replaced by a pipe in between.
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) CannotOpen(path, ReasonForErrno(errno));
    const char* refusal = ::fstat(fd, &info) == 0 ? NotARegularFile(info.st_mode) : ReasonForErrno(errno);
    std::FILE* file = nullptr;
    if (refusal == nullptr) {
        ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
        file = ::fdopen(fd, "rb");
        if (file == nullptr) refusal = ReasonForErrno(errno);
    }
    if (refusal != nullptr) {
        ::close(fd);
        CannotOpen(path, refusal);
    }
    return {file, static_cast<std::int64_t>(info.st_size)};
}

}  // namespace kov
