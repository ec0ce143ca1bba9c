#include "io/atomic_write.h"

#include <fcntl.h>
#include <limits.h>
#include <signal.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <vector>

namespace {

const int kMaxLinks = 40;  // as the kernel follows

// The temporary file being written, for the signal handler; empty when none.
char pendingTemp[PATH_MAX + 1];

// Removes the temporary file if SIGINT or SIGTERM arrives while it exists,
// then lets the signal act as it would have. A signal the program ignores
// stays ignored.
class TempFileGuard {
public:
    explicit TempFileGuard(const char* temp) {
        std::strncpy(pendingTemp, temp, PATH_MAX);
        struct sigaction action;
        std::memset(&action, 0, sizeof action);
        action.sa_handler = &TempFileGuard::OnSignal;
        sigemptyset(&action.sa_mask);
        // One signal at a time: the other waits for the handler to finish.
        sigaddset(&action.sa_mask, SIGINT);
        sigaddset(&action.sa_mask, SIGTERM);
        active = this;
        Catch(SIGINT, action, previousInt);
        Catch(SIGTERM, action, previousTerm);
    }
    ~TempFileGuard() {
        sigaction(SIGINT, &previousInt, nullptr);
        sigaction(SIGTERM, &previousTerm, nullptr);
        active = nullptr;
        pendingTemp[0] = '\0';
    }
    TempFileGuard(const TempFileGuard&) = delete;
    TempFileGuard& operator=(const TempFileGuard&) = delete;

private:
    static void Catch(int signal, const struct sigaction& action, struct sigaction& previous) {
        sigaction(signal, &action, &previous);
        if (previous.sa_handler == SIG_IGN)
            sigaction(signal, &previous, nullptr);
    }

    // Async-signal-safe: unlink, sigaction and raise only.
    static void OnSignal(int signal) {
        if (pendingTemp[0])
            unlink(pendingTemp);
        pendingTemp[0] = '\0';
        if (active)
            sigaction(signal, signal == SIGINT ? &active->previousInt : &active->previousTerm,
                      nullptr);
        raise(signal);  // delivered with the previous action once this handler returns
    }

    static TempFileGuard* active;
    struct sigaction previousInt, previousTerm;
};

TempFileGuard* TempFileGuard::active = nullptr;

bool WriteAll(int fd, const std::string& bytes) {
    std::size_t done = 0;
    while (done < bytes.size()) {
        ssize_t put = write(fd, bytes.data() + done, bytes.size() - done);
        if (put < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        done += static_cast<std::size_t>(put);
    }
    return true;
}

// The file a chain of symbolic links at path ends at (path itself when it is
// none), so that writing replaces the target, as editors do, not the link; empty for
// a chain longer than the kernel follows (a loop).
std::string FollowLinks(std::string path) {
    for (int i = 0; i <= kMaxLinks; ++i) {
        struct stat info;
        if (lstat(path.c_str(), &info) != 0 || !S_ISLNK(info.st_mode))
            return path;
        if (i == kMaxLinks)
            break;
        std::vector<char> target(PATH_MAX + 1);
        ssize_t size = readlink(path.c_str(), target.data(), PATH_MAX);
        if (size <= 0)
            return path;
        std::string next(target.data(), static_cast<std::size_t>(size));
        std::size_t slash = path.find_last_of('/');
        if (next[0] != '/' && slash != std::string::npos)
            next = path.substr(0, slash + 1) + next;
        path = next;
    }
    return std::string();
}

struct PathParts {
    std::string folder;  // "." or ending in '/'
    std::string name;
    std::string tempPattern;
};

PathParts SplitPath(const std::string& path) {
    std::size_t slash = path.find_last_of('/');
    PathParts parts;
    parts.folder = slash == std::string::npos ? "." : path.substr(0, slash + 1);
    parts.name = slash == std::string::npos ? path : path.substr(slash + 1);
    // The temporary name adds 8 bytes: a name as long as the folder allows keeps that
    // much less of itself there.
    std::string kept = parts.name.substr(0, std::min<std::size_t>(parts.name.size(), NAME_MAX - 8));
    parts.tempPattern = (slash == std::string::npos ? "" : parts.folder) + "." + kept + ".XXXXXX";
    return parts;
}

}  // namespace

std::string FileBehindLinks(const std::string& path) {
    std::string target = FollowLinks(path);
    return target.empty() ? path : target;
}

bool CheckWritablePath(const std::string& path, std::string& error) {
    std::string target = FollowLinks(path);
    if (target.empty()) {
        error = path + ": is a loop of symbolic links";
        return false;
    }
    PathParts parts = SplitPath(target);
    struct stat info;
    if (parts.name.empty() || (stat(target.c_str(), &info) == 0 && S_ISDIR(info.st_mode))) {
        error = path + ": names a folder, not a file";
        return false;
    }
    // Renaming over a pipe or a device would put a plain file in its place.
    if (stat(target.c_str(), &info) == 0 && !S_ISREG(info.st_mode)) {
        error = path + ": is not a regular file (a pipe, device or socket) and is not replaced";
        return false;
    }
    if (stat(parts.folder.c_str(), &info) != 0 || !S_ISDIR(info.st_mode)) {
        error = path + ": the folder " + parts.folder + " does not exist";
        return false;
    }
    if (access(parts.folder.c_str(), W_OK) != 0) {
        error = path + ": cannot create a file in " + parts.folder + ": " + std::strerror(errno);
        return false;
    }
    return true;
}

bool WriteFileAtomically(const std::string& path, const std::string& bytes, std::string& error) {
    if (!CheckWritablePath(path, error))
        return false;
    std::string target = FollowLinks(path);
    PathParts parts = SplitPath(target);
    if (parts.name.empty()) {
        error = path + ": names a folder, not a file";
        return false;
    }
    if (parts.tempPattern.size() > PATH_MAX) {
        error = path + ": the name is too long";
        return false;
    }
    std::vector<char> temp(parts.tempPattern.begin(), parts.tempPattern.end());
    temp.push_back('\0');
    // Signals are held back until the guard knows the name mkstemp picks.
    sigset_t stop, previousMask;
    sigemptyset(&stop);
    sigaddset(&stop, SIGINT);
    sigaddset(&stop, SIGTERM);
    pthread_sigmask(SIG_BLOCK, &stop, &previousMask);
    int fd = mkstemp(temp.data());
    if (fd < 0) {
        int cause = errno;
        pthread_sigmask(SIG_SETMASK, &previousMask, nullptr);
        error = path + ": cannot create a file in " + parts.folder + ": " + std::strerror(cause);
        return false;
    }
    TempFileGuard guard(temp.data());
    pthread_sigmask(SIG_SETMASK, &previousMask, nullptr);
    // A new file gets the usual permissions; a replaced one keeps its own.
    struct stat existing;
    mode_t mode = stat(target.c_str(), &existing) == 0 ? (existing.st_mode & 07777) : 0644;
    bool ok = WriteAll(fd, bytes) && fchmod(fd, mode) == 0 && fsync(fd) == 0;
    int cause = errno;
    if (close(fd) != 0 && ok) {
        ok = false;
        cause = errno;
    }
    if (ok && std::rename(temp.data(), target.c_str()) != 0) {
        ok = false;
        cause = errno;
    }
    if (!ok) {
        unlink(temp.data());
        error = path + ": cannot write: " + std::strerror(cause);
    }
    return ok;
}
