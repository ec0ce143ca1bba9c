// CustomFlag: a 32-bit flags word carried by a record.
#pragma once

#include "maxtypes.h"

class CustomFlag {
public:
    virtual ~CustomFlag() = default;

    DWORD flags = 0;
};
