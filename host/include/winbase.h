// Scalar types, error codes and the calling thread's last error, as the Win32
// calls of the registry, WinINet and the text conversions report them.
#pragma once

#include <cstdint>

#include "windefs.h"

typedef std::int32_t LONG;
typedef unsigned char BYTE;
typedef BYTE* LPBYTE;
typedef const BYTE* LPCBYTE;
typedef DWORD* LPDWORD;
typedef char* LPSTR;
typedef const char* LPCSTR;
typedef std::uintptr_t DWORD_PTR;

#define MAX_PATH 260

#define ERROR_SUCCESS 0L
#define ERROR_FILE_NOT_FOUND 2L
#define ERROR_ACCESS_DENIED 5L
#define ERROR_INVALID_HANDLE 6L
#define ERROR_INVALID_PARAMETER 87L
#define ERROR_INSUFFICIENT_BUFFER 122L
#define ERROR_MORE_DATA 234L

// The error of the last failed call on this thread.
DWORD GetLastError();
void SetLastError(DWORD error);
