// The Windows types and library-entry calls the plug-in uses.
#pragma once

#include <cstdint>

#include "maxtypes.h"

typedef wchar_t WCHAR;
typedef WCHAR* LPWSTR;
typedef const WCHAR* LPCWSTR;
typedef void* HINSTANCE;
typedef HINSTANCE HMODULE;
typedef struct HostWindow* HWND;
typedef std::uintptr_t WPARAM;
typedef std::intptr_t LPARAM;
typedef std::intptr_t INT_PTR;
typedef std::intptr_t LRESULT;
typedef void* LPVOID;

// Marks what a library exports, as __declspec(dllexport) does on Windows.
#define HOST_DLLEXPORT __attribute__((visibility("default")))

struct RECT {
    int left = 0, top = 0, right = 0, bottom = 0;
};

#define DLL_PROCESS_DETACH 0
#define DLL_PROCESS_ATTACH 1
#define DLL_THREAD_ATTACH 2
#define DLL_THREAD_DETACH 3

#define LOWORD(l) (static_cast<WORD>(static_cast<std::uintptr_t>(l) & 0xffff))
#define HIWORD(l) (static_cast<WORD>((static_cast<std::uintptr_t>(l) >> 16) & 0xffff))

// Turns off thread attach and detach calls of the library entry; there are none
// here, so it only answers TRUE for a loaded module.
BOOL DisableThreadLibraryCalls(HMODULE module);

// Copies string id of the module's string table into buf (at most size - 1
// characters and a terminating zero); returns the characters copied, 0 when the
// module or the string does not exist.
int LoadStringW(HINSTANCE instance, UINT id, LPWSTR buf, int size);

// The module handle of the shared library that holds address; a load-time
// constructor passes it to the library entry, as Windows does on attach.
HMODULE HostModuleOf(const void* address);
