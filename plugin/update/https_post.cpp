#include "plugin/update/https_post.h"

#include <algorithm>
#include <cstring>
#include <cwctype>
#include <string>

#include "plugin/update/ansi_text.h"
#include "plugin/update/plugin_info.h"
#include "wininet.h"

namespace {

const size_t kPiece = 512;

// Splits "host:port"; the port is 443 when absent or not a number that fits.
void SplitAddress(const std::wstring& address, std::wstring& host, INTERNET_PORT& port) {
    host = address;
    port = INTERNET_DEFAULT_HTTPS_PORT;
    size_t colon = address.rfind(L':');
    if (colon == std::wstring::npos || address.find(L':') != colon)
        return;
    std::wstring digits = address.substr(colon + 1);
    if (digits.empty() || digits.size() > 5 ||
        !std::all_of(digits.begin(), digits.end(), ::iswdigit))
        return;
    unsigned long number = std::wcstoul(digits.c_str(), nullptr, 10);
    if (number == 0 || number > 65535)
        return;
    host = address.substr(0, colon);
    port = static_cast<INTERNET_PORT>(number);
}

}  // namespace

bool HttpsPost(LPCWSTR server, LPCWSTR object, LPCWSTR headers, char* buffer, size_t capacity) {
    if (!server || !buffer || capacity == 0)
        return false;
    std::wstring agent = AnsiToWide(pluginInfo.name, pluginInfo.name.size() + 1);
    HINTERNET internet =
        InternetOpenW(agent.c_str(), INTERNET_OPEN_TYPE_DIRECT, nullptr, nullptr, 0);
    if (!internet)
        return false;
    std::wstring host;
    INTERNET_PORT port = INTERNET_DEFAULT_HTTPS_PORT;
    SplitAddress(server, host, port);
    bool sent = false;
    HINTERNET connection = InternetConnectW(internet, host.c_str(), port, nullptr, nullptr,
                                            INTERNET_SERVICE_HTTP, 0, 0);
    if (connection) {
        LPCWSTR acceptTypes[] = {L"application/octet-stream", L"application/x-www-form-urlencoded",
                                 nullptr};
        HINTERNET request =
            HttpOpenRequestW(connection, L"POST", object, L"HTTP/1.1", nullptr, acceptTypes,
                             INTERNET_FLAG_RELOAD | INTERNET_FLAG_SECURE, 0);
        if (request) {
            DWORD bodyLength = static_cast<DWORD>(strnlen(buffer, capacity));
            DWORD headersLength = headers ? static_cast<DWORD>(std::wcslen(headers)) : 0;
            sent = HttpSendRequestW(request, headers, headersLength, buffer, bodyLength) != FALSE;
            if (sent) {
                // The answer replaces the request's text, however long that was.
                std::memset(buffer, 0, std::min(std::max<size_t>(kPiece, bodyLength), capacity));
                char piece[kPiece];
                size_t end = 0;
                DWORD read = 0;
                while (InternetReadFile(request, piece, kPiece, &read) && read > 0) {
                    if (end + read >= capacity)
                        break;
                    std::memcpy(buffer + end, piece, read);
                    end += read;
                }
            }
            InternetCloseHandle(request);
        }
        InternetCloseHandle(connection);
    }
    InternetCloseHandle(internet);
    return sent;
}
