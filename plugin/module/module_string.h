// The library's strings, looked up in its string table.
#pragma once

#include "windefs.h"

// String id of the string table in the one shared 512-character buffer (each call
// overwrites the previous text), or nullptr before the handle is set or when the
// string does not exist.
const WCHAR* GetString(int id);
