#include "api/library_lock.h"

namespace slitform {

std::mutex& LibraryLoadLock() {
    static std::mutex lock;
    return lock;
}

}  // namespace slitform
