// Loading and unloading the plug-in one thread at a time: its entry points set
// the library's own globals (its version, the update setting).
#pragma once

#include <mutex>

namespace slitform {

// The lock every load and unload of the plug-in by this library holds.
std::mutex& LibraryLoadLock();

}  // namespace slitform
