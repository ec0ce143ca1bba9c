#include "app/cli/terminal_progress.h"

#include <unistd.h>

#include <algorithm>

TerminalProgress::TerminalProgress(std::FILE* o) : out(o), terminal(isatty(fileno(o)) == 1) {}

void TerminalProgress::Update(long long done, long long total, double elapsed) {
    if (!terminal || elapsed < 1.0)
        return;
    total = std::max(total, 1LL);
    const int width = 40;
    long long shown = std::clamp(done, 0LL, total);
    int filled = static_cast<int>(shown * width / total);
    std::fprintf(out, "\rcutting [%.*s%*s] %lld/%lld faces", filled,
                 "########################################", width - filled, "", shown, total);
    std::fflush(out);
    drawn = true;
}

void TerminalProgress::Finish() {
    if (!drawn)
        return;
    std::fprintf(out, "\r%*s\r", 80, "");
    std::fflush(out);
    drawn = false;
}
