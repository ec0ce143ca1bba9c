#include "codepage.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <cstring>
#include <cwchar>
#include <string>

#include "resources.h"

namespace {

bool KnownCodePage(UINT codePage) {
    return codePage == CP_ACP || codePage == CP_UTF8;
}

// Whether the locale's character set, as the environment names it (LC_ALL, then
// LC_CTYPE, then LANG), is Latin-1; anything else is taken as UTF-8.
bool LocaleIsLatin1() {
    const char* name = nullptr;
    for (const char* variable : {"LC_ALL", "LC_CTYPE", "LANG"}) {
        const char* value = std::getenv(variable);
        if (value && *value) {
            name = value;
            break;
        }
    }
    if (!name)
        return false;
    std::string lower;
    for (const char* c = name; *c; ++c)
        if (*c != '-' && *c != '_')
            lower += static_cast<char>(std::tolower(static_cast<unsigned char>(*c)));
    return lower.find("iso88591") != std::string::npos || lower.find("latin1") != std::string::npos;
}

bool IsUtf8(UINT codePage) {
    return codePage == CP_UTF8 || !LocaleIsLatin1();
}

// Copies the converted text out, or only counts it when size is 0.
template <typename Char>
int Deliver(const std::basic_string<Char>& converted, Char* out, int size) {
    int needed = static_cast<int>(converted.size());
    if (size == 0)
        return needed;
    if (needed > size) {
        SetLastError(ERROR_INSUFFICIENT_BUFFER);
        return 0;
    }
    std::copy(converted.begin(), converted.end(), out);
    return needed;
}

}  // namespace

int MultiByteToWideChar(UINT codePage, DWORD, LPCSTR text, int count, LPWSTR wide, int wideSize) {
    if (!KnownCodePage(codePage) || !text || count == 0 || count < -1 || wideSize < 0 ||
        (wideSize > 0 && !wide)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    // With -1 the zero byte is converted too.
    size_t length = count == -1 ? std::strlen(text) + 1 : static_cast<size_t>(count);
    std::string bytes(text, length);
    std::wstring converted;
    if (IsUtf8(codePage)) {
        converted = WideFromUtf8(bytes);
    } else {
        for (char c : bytes) converted += static_cast<wchar_t>(static_cast<unsigned char>(c));
    }
    return Deliver(converted, wide, wideSize);
}

int WideCharToMultiByte(UINT codePage, DWORD, LPCWSTR wide, int count, LPSTR text, int textSize,
                        LPCSTR defaultChar, BOOL* usedDefault) {
    if (!KnownCodePage(codePage) || !wide || count == 0 || count < -1 || textSize < 0 ||
        (textSize > 0 && !text) || (codePage == CP_UTF8 && (defaultChar || usedDefault))) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    size_t length = count == -1 ? std::wcslen(wide) + 1 : static_cast<size_t>(count);
    std::wstring chars(wide, length);
    std::string converted;
    if (usedDefault)
        *usedDefault = FALSE;
    if (IsUtf8(codePage)) {
        converted = Utf8FromWide(chars);
    } else {
        for (wchar_t c : chars) {
            if (static_cast<unsigned long>(c) <= 0xFF) {
                converted += static_cast<char>(c);
            } else {
                converted += defaultChar ? *defaultChar : '?';
                if (usedDefault)
                    *usedDefault = TRUE;
            }
        }
    }
    return Deliver(converted, text, textSize);
}
