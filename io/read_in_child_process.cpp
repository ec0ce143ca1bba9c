#include "io/read_in_child_process.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <exception>
#include <new>

namespace {

constexpr std::size_t kBaseMemory = std::size_t(2) << 30;
constexpr std::size_t kMemoryPerInputByte = 64;
constexpr rlim_t kBaseSeconds = 60;
constexpr std::size_t kBytesPerExtraSecond = std::size_t(1) << 20;
// The exit status of a child whose allocation failed at its memory limit.
constexpr int kOutOfMemoryExit = 3;

std::size_t MemoryBudget(std::size_t input_bytes) {
    return kBaseMemory + kMemoryPerInputByte * input_bytes;
}

rlim_t SecondsBudget(std::size_t input_bytes) {
    return kBaseSeconds + static_cast<rlim_t>(input_bytes / kBytesPerExtraSecond);
}

// This process's address space now, in bytes, or 0 when unknown.
std::size_t AddressSpaceNow() {
    std::FILE* statm = std::fopen("/proc/self/statm", "r");
    if (statm == nullptr)
        return 0;
    unsigned long pages = 0;
    const bool read = std::fscanf(statm, "%lu", &pages) == 1;
    std::fclose(statm);
    return read ? pages * static_cast<std::size_t>(sysconf(_SC_PAGESIZE)) : 0;
}

void LimitChild(std::size_t input_bytes) {
    const rlim_t seconds = SecondsBudget(input_bytes);
    const rlimit cpu{seconds, seconds + 5};  // past the soft limit SIGXCPU, then SIGKILL
    setrlimit(RLIMIT_CPU, &cpu);
#if !defined(__SANITIZE_ADDRESS__)
    // The sanitizer's shadow memory reserves far more address space than any limit.
    const std::size_t inherited = AddressSpaceNow();
    if (inherited > 0) {
        const rlim_t bytes = inherited + MemoryBudget(input_bytes);
        const rlimit memory{bytes, bytes};
        setrlimit(RLIMIT_AS, &memory);
    }
#endif
}

bool WriteAll(int fd, const std::string& bytes) {
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = write(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        done += static_cast<std::size_t>(n);
    }
    return true;
}

[[noreturn]] void ReadAsChild(int out, const std::string& path, std::size_t input_bytes,
                              const std::function<void(MeshReading&)>& read) {
    // What the library prints as it fails is not a message of ours.
    const int null = open("/dev/null", O_WRONLY);
    if (null >= 0)
        dup2(null, STDERR_FILENO);
    // A crash ends the child by its signal, whatever handlers the process had (a
    // sanitizer's, an interpreter's), so that the parent can tell what happened.
    for (const int signal : {SIGSEGV, SIGBUS, SIGABRT, SIGFPE, SIGILL})
        std::signal(signal, SIG_DFL);
    LimitChild(input_bytes);
    std::set_new_handler([] { _exit(kOutOfMemoryExit); });
    MeshReading reading;
    try {
        read(reading);
    } catch (const std::exception& e) {
        reading = MeshReading();
        reading.error = path + ": cannot be read (" + e.what() + ")";
    }
    _exit(WriteAll(out, EncodeMeshReading(reading)) ? 0 : 1);
}

std::string ReadAll(int fd) {
    std::string bytes;
    char buffer[1 << 16];
    for (;;) {
        const ssize_t n = read(fd, buffer, sizeof buffer);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return bytes;
        bytes.append(buffer, static_cast<std::size_t>(n));
    }
}

// Why a child that gave no whole reading stopped.
std::string WhyTheChildFailed(int status, std::size_t input_bytes) {
    if (WIFEXITED(status) && WEXITSTATUS(status) == kOutOfMemoryExit)
        return "reading it needs more than " + std::to_string(MemoryBudget(input_bytes) >> 20) +
               " MiB of memory; the file is damaged or far larger inside than it looks";
    if (!WIFSIGNALED(status))
        return "the reader stopped without a result";
    switch (WTERMSIG(status)) {
        case SIGXCPU:
            return "reading it took more than " + std::to_string(SecondsBudget(input_bytes)) +
                   " s of processor time";
        case SIGABRT:
            return "the reader stopped on one of its own checks; the file is damaged or not what "
                   "its name says";
        case SIGSEGV:
        case SIGBUS:
            return "the reader crashed on it; the file is damaged, nested too deeply or not what "
                   "its name says";
        case SIGKILL:
            return "the reader was killed (out of memory or time)";
        default:
            return "the reader stopped on signal " + std::to_string(WTERMSIG(status));
    }
}

}  // namespace

bool ReadInChildProcess(const std::string& path, std::size_t input_bytes,
                        const std::function<void(MeshReading&)>& read, MeshReading& reading,
                        std::string& error) {
    int fds[2];
    if (pipe2(fds, O_CLOEXEC) != 0) {
        error = path + ": cannot start its reader (no pipe)";
        return false;
    }
    const pid_t child = fork();
    if (child < 0) {
        close(fds[0]);
        close(fds[1]);
        error = path + ": cannot start its reader (no process)";
        return false;
    }
    if (child == 0) {
        close(fds[0]);
        ReadAsChild(fds[1], path, input_bytes, read);
    }
    close(fds[1]);
    const std::string bytes = ReadAll(fds[0]);
    close(fds[0]);
    int status = 0;
    pid_t waited;
    do {
        waited = waitpid(child, &status, 0);
    } while (waited < 0 && errno == EINTR);
    // Where children are reaped elsewhere (SIGCHLD ignored) a whole message still counts.
    const bool exited = waited < 0 || (WIFEXITED(status) && WEXITSTATUS(status) == 0);
    if (exited && DecodeMeshReading(bytes, reading))
        return true;
    error = path + ": " + WhyTheChildFailed(status, input_bytes);
    return false;
}
