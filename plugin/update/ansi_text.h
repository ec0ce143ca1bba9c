// Text between the ANSI code page of the Win32 calls and wide strings.
#pragma once

#include <string>

#include "windefs.h"

// text as wide characters, cut to at most maxChars - 1 of them (room for the
// zero a fixed Win32 buffer of maxChars needs).
std::wstring AnsiToWide(const std::string& text, size_t maxChars);
// wide in the ANSI code page; false when a character has no byte there.
bool WideToAnsi(const std::wstring& wide, std::string& text);
