// Fetching the release archive from the maker's web server into a file.
#pragma once

#include "windefs.h"

// Downloads https://<server>/release/<name>.zip into path (ANSI code page),
// showing a progress bar across the top of owner; Escape aborts. The archive
// goes to a temporary file beside path that replaces path only once all the
// announced bytes have arrived, so on any failure path stays as it was. True
// for a complete archive; false when the server cannot be reached, answers
// with an error status, gives no or a zero content length, the transfer fails
// or ends short, the file cannot be written, or the user aborts.
bool DownloadRelease(const char* path, HWND owner);
