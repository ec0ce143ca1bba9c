#include "plugin/update/installed_version.h"

#include <cstdio>
#include <cstring>

#include "version_resource.h"

std::string InstalledVersion(HINSTANCE module) {
    HRSRC resource = FindResourceW(module, MAKEINTRESOURCEW(VS_VERSION_INFO), RT_VERSION);
    if (!resource)
        return std::string();
    const BYTE* block = static_cast<const BYTE*>(LockResource(LoadResource(module, resource)));
    // The block starts with three words (lengths and type) and the key
    // "VS_VERSION_INFO"; the fixed file information follows on a 4-byte boundary.
    const size_t fixedAt = (3 * sizeof(WORD) + sizeof(L"VS_VERSION_INFO") + 3) / 4 * 4;
    if (!block || SizeofResource(module, resource) < fixedAt + sizeof(VS_FIXEDFILEINFO))
        return std::string();
    VS_FIXEDFILEINFO info;
    std::memcpy(&info, block + fixedAt, sizeof info);
    if (info.dwSignature != VS_FFI_SIGNATURE)
        return std::string();
    char text[64];
    std::snprintf(text, sizeof text, "%d.%d.%d.%d", static_cast<int>(info.dwFileVersionMS >> 16),
                  static_cast<int>(info.dwFileVersionMS & 0xFFFF),
                  static_cast<int>(info.dwFileVersionLS >> 16),
                  static_cast<int>(info.dwFileVersionLS & 0xFFFF));
    return text;
}
