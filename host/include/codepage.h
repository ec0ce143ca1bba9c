// Text conversion between 8-bit code pages and the host's wide strings.
// The ANSI code page of this host follows the locale: UTF-8 unless the locale's
// character set (LC_ALL, LC_CTYPE or LANG) is Latin-1 (ISO 8859-1), where every byte
// is the character of the same number and a wide character above 0xFF has no byte.
#pragma once

#include "winbase.h"

#define CP_ACP 0
#define CP_UTF8 65001

// Converts count bytes of text (-1: up to and including its zero byte) into
// wide (at most wideSize characters). With wideSize 0 it only counts. Returns
// the characters written or needed; 0 on failure (ERROR_INSUFFICIENT_BUFFER,
// ERROR_INVALID_PARAMETER). Bad UTF-8 becomes U+FFFD; flags are not used.
int MultiByteToWideChar(UINT codePage, DWORD flags, LPCSTR text, int count, LPWSTR wide,
                        int wideSize);

// Converts count wide characters (-1: up to and including the zero) into text
// (at most textSize bytes; 0 only counts). A character the code page lacks
// becomes defaultChar (or '?') and sets *usedDefault. Returns the bytes written
// or needed; 0 on failure (ERROR_INSUFFICIENT_BUFFER, ERROR_INVALID_PARAMETER).
// UTF-8 takes no default character: both must then be null. Flags are not used.
int WideCharToMultiByte(UINT codePage, DWORD flags, LPCWSTR wide, int count, LPSTR text,
                        int textSize, LPCSTR defaultChar, BOOL* usedDefault);
