#include "plugin/cut_thread_count.h"

#include <cstdlib>
#include <thread>

int CutThreadCount() {
    if (const char* text = std::getenv("SLITFORM_THREADS")) {
        char* end = nullptr;
        long value = std::strtol(text, &end, 10);
        if (end != text && *end == '\0' && value >= 1 && value <= 256)
            return static_cast<int>(value);
    }
    unsigned hardware = std::thread::hardware_concurrency();
    return hardware > 0 ? static_cast<int>(hardware) : 1;
}
