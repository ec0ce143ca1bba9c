#include "plugin/update/ansi_text.h"

#include <algorithm>
#include <vector>

#include "codepage.h"

std::wstring AnsiToWide(const std::string& text, size_t maxChars) {
    if (text.empty() || maxChars < 2)
        return std::wstring();
    int size = static_cast<int>(text.size());
    int needed = MultiByteToWideChar(CP_ACP, 0, text.data(), size, nullptr, 0);
    if (needed <= 0)
        return std::wstring();
    std::vector<WCHAR> wide(static_cast<size_t>(needed));
    int made = MultiByteToWideChar(CP_ACP, 0, text.data(), size, wide.data(), needed);
    if (made <= 0)
        return std::wstring();
    return std::wstring(wide.data(), std::min(static_cast<size_t>(made), maxChars - 1));
}

bool WideToAnsi(const std::wstring& wide, std::string& text) {
    text.clear();
    if (wide.empty())
        return true;
    int size = static_cast<int>(wide.size());
    int needed = WideCharToMultiByte(CP_ACP, 0, wide.data(), size, nullptr, 0, nullptr, nullptr);
    if (needed <= 0)
        return false;
    std::vector<char> bytes(static_cast<size_t>(needed));
    BOOL lossy = FALSE;
    int made =
        WideCharToMultiByte(CP_ACP, 0, wide.data(), size, bytes.data(), needed, nullptr, &lossy);
    if (made <= 0 || lossy)
        return false;
    text.assign(bytes.data(), static_cast<size_t>(made));
    return true;
}
