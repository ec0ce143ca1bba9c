// The registry under the current user, kept in an INI file: on Linux
// $XDG_CONFIG_HOME/slitform-host/registry.ini (normally ~/.config/...).
// Key paths use backslashes as on Windows and, as there, ignore case: the
// file holds them in lower case with '/' between the parts. Value names ignore
// case too. Only named text values (REG_SZ) are kept. A key lives in the file
// through its values: one made with RegCreateKeyW that never gets a value is
// not found by a later RegOpenKeyW.
#pragma once

#include <string>

#include "winbase.h"

typedef struct HostRegistryKey* HKEY;
typedef HKEY* PHKEY;

// The predefined root; the only one the stand-in keeps.
#define HKEY_CURRENT_USER (reinterpret_cast<HKEY>(static_cast<std::uintptr_t>(0x80000001u)))

#define REG_SZ 1

// Opens subKey of key (an empty or null subKey opens key itself). ERROR_SUCCESS,
// or ERROR_FILE_NOT_FOUND when the key holds no value, ERROR_INVALID_HANDLE.
LONG RegOpenKeyW(HKEY key, LPCWSTR subKey, PHKEY result);
// Opens subKey of key, making it when missing.
LONG RegCreateKeyW(HKEY key, LPCWSTR subKey, PHKEY result);
// Reads value name of key. With data null only *dataSize is set (bytes of the
// text and its terminating zero, as WCHARs); a buffer smaller than that gives
// ERROR_MORE_DATA with the size needed. ERROR_FILE_NOT_FOUND when missing.
LONG RegQueryValueExW(HKEY key, LPCWSTR name, LPDWORD reserved, LPDWORD type, LPBYTE data,
                      LPDWORD dataSize);
// Sets value name of key to dataSize bytes of WCHARs (REG_SZ only; the text ends
// at the first zero). ERROR_ACCESS_DENIED when the file cannot be written.
LONG RegSetValueExW(HKEY key, LPCWSTR name, DWORD reserved, DWORD type, LPCBYTE data,
                    DWORD dataSize);
LONG RegCloseKey(HKEY key);

// Keeps the registry file in folder from now on (tests use a folder of their own).
void HostSetRegistryFolder(const std::string& folder);
