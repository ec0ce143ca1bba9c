// A progress bar on the terminal for long evaluations: faces cut so far out of
// the faces that may be cut. Shown only on a terminal, and only after a second.
#pragma once

#include <cstdio>

class TerminalProgress {
public:
    explicit TerminalProgress(std::FILE* out);
    // Draws the bar when it is due: done of total, elapsed in seconds.
    void Update(long long done, long long total, double elapsed);
    // Clears the bar's line if it was drawn.
    void Finish();

private:
    std::FILE* out;
    bool terminal;
    bool drawn = false;
};
