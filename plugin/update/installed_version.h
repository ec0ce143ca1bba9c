// The version the library carries in its version resource.
#pragma once

#include <string>

#include "windefs.h"

// The file version of module's version resource as "major.minor.build.revision";
// empty when the module has no (readable) version resource.
std::string InstalledVersion(HINSTANCE module);
