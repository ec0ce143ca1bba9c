// A module's version resource, laid out as Windows lays out VS_VERSIONINFO so
// that a plug-in reads it as it would there:
//   WORD length, WORD value length, WORD type (0: binary),
//   the key L"VS_VERSION_INFO" with its terminating zero (in the host's WCHAR),
//   zero padding to a 4-byte boundary,
//   VS_FIXEDFILEINFO.
// The block ends after the fixed information: the string and variable file
// information that may follow on Windows are not kept.
#pragma once

#include "winbase.h"

typedef struct HostResource* HRSRC;
typedef void* HGLOBAL;

#define MAKEINTRESOURCEW(i) \
    (reinterpret_cast<LPWSTR>(static_cast<std::uintptr_t>(static_cast<WORD>(i))))
#define RT_VERSION MAKEINTRESOURCEW(16)
#define VS_VERSION_INFO 1
#define VS_FFI_SIGNATURE 0xFEEF04BDu
#define VS_FFI_STRUCVERSION 0x00010000u

struct VS_FIXEDFILEINFO {
    DWORD dwSignature;
    DWORD dwStrucVersion;
    DWORD dwFileVersionMS;  // major << 16 | minor
    DWORD dwFileVersionLS;  // build << 16 | revision
    DWORD dwProductVersionMS;
    DWORD dwProductVersionLS;
    DWORD dwFileFlagsMask;
    DWORD dwFileFlags;
    DWORD dwFileOS;
    DWORD dwFileType;
    DWORD dwFileSubtype;
    DWORD dwFileDateMS;
    DWORD dwFileDateLS;
};

// Resource name of type in module: only the version resource (VS_VERSION_INFO
// of RT_VERSION) exists, for a module whose resource script has a VERSION
// statement. nullptr otherwise (ERROR_FILE_NOT_FOUND).
HRSRC FindResourceW(HMODULE module, LPCWSTR name, LPCWSTR type);
// The resource's data, alive while the module stays loaded.
HGLOBAL LoadResource(HMODULE module, HRSRC resource);
LPVOID LockResource(HGLOBAL data);
DWORD SizeofResource(HMODULE module, HRSRC resource);
