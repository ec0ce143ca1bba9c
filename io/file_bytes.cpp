#include "io/file_bytes.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cctype>
#include <cerrno>
#include <cstring>

namespace {

// Sizes and indices are 32-bit signed in the libraries the readers hand bytes to.
const off_t kMaxFileBytes = 2147483647;

}  // namespace

bool ReadFileBytes(const std::string& path, std::string& bytes, std::string& error) {
    // Without blocking: opening a FIFO would otherwise wait for a writer.
    int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0) {
        error = path + ": cannot open: " + std::strerror(errno);
        return false;
    }
    struct stat info;
    if (fstat(fd, &info) != 0) {
        error = path + ": cannot read: " + std::strerror(errno);
        close(fd);
        return false;
    }
    if (S_ISDIR(info.st_mode)) {
        error = path + ": is a folder, not a file";
        close(fd);
        return false;
    }
    if (!S_ISREG(info.st_mode)) {
        error = path + ": is not a regular file (a pipe, device or socket)";
        close(fd);
        return false;
    }
    if (info.st_size > kMaxFileBytes) {
        error = path + ": is larger than 2 GiB";
        close(fd);
        return false;
    }
    bytes.clear();
    bytes.reserve(static_cast<std::size_t>(info.st_size));
    char buffer[65536];
    for (;;) {
        ssize_t got = read(fd, buffer, sizeof buffer);
        if (got == 0)
            break;
        if (got < 0) {
            if (errno == EINTR)
                continue;
            error = path + ": cannot read: " + std::strerror(errno);
            close(fd);
            return false;
        }
        bytes.append(buffer, static_cast<std::size_t>(got));
        if (static_cast<off_t>(bytes.size()) > kMaxFileBytes) {
            error = path + ": is larger than 2 GiB";
            close(fd);
            return false;
        }
    }
    close(fd);
    return true;
}

std::string LowerCaseExtension(const std::string& path) {
    std::size_t slash = path.find_last_of('/');
    std::size_t dot = path.find_last_of('.');
    if (dot == std::string::npos || (slash != std::string::npos && dot < slash))
        return "";
    std::string ext = path.substr(dot + 1);
    for (char& c : ext) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return ext;
}
