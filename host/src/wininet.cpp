#include "wininet.h"

#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "curl_transfer.h"
#include "resources.h"

struct HostInternetHandle {
    enum Kind { kSession, kConnection, kRequest };
    explicit HostInternetHandle(Kind k) : kind(k) {}

    Kind kind;
    std::string userAgent;
    bool direct = true;
    std::string server;  // connections and requests
    INTERNET_PORT port = 0;
    CurlRequest request;                     // requests
    std::unique_ptr<CurlTransfer> transfer;  // once sent
};

namespace {

HINTERNET Fail(DWORD error) {
    SetLastError(error);
    return nullptr;
}

bool IsKind(HINTERNET h, HostInternetHandle::Kind kind) {
    if (h && h->kind == kind)
        return true;
    SetLastError(h ? ERROR_INTERNET_INCORRECT_HANDLE_TYPE : ERROR_INVALID_HANDLE);
    return false;
}

// Header lines separated by CR LF (or LF), empty lines dropped.
std::vector<std::string> HeaderLines(const std::string& text) {
    std::vector<std::string> lines;
    size_t start = 0;
    while (start <= text.size()) {
        size_t end = text.find('\n', start);
        if (end == std::string::npos)
            end = text.size();
        std::string line = text.substr(start, end - start);
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        if (!line.empty())
            lines.push_back(line);
        start = end + 1;
    }
    return lines;
}

std::string Latin1(LPCSTR text, DWORD length) {
    if (!text)
        return std::string();
    return length == static_cast<DWORD>(-1) ? std::string(text) : std::string(text, length);
}

BOOL Send(HINTERNET request) {
    request->transfer = std::make_unique<CurlTransfer>(request->request);
    DWORD error = 0;
    if (request->transfer->Start(error))
        return TRUE;
    request->transfer.reset();
    SetLastError(error);
    return FALSE;
}

}  // namespace

HINTERNET InternetOpenW(LPCWSTR agent, DWORD accessType, LPCWSTR, LPCWSTR, DWORD) {
    if (accessType != INTERNET_OPEN_TYPE_DIRECT && accessType != INTERNET_OPEN_TYPE_PRECONFIG)
        return Fail(ERROR_INVALID_PARAMETER);
    HINTERNET session = new HostInternetHandle(HostInternetHandle::kSession);
    session->userAgent = agent ? Utf8FromWide(agent) : std::string();
    session->direct = accessType == INTERNET_OPEN_TYPE_DIRECT;
    return session;
}

HINTERNET InternetConnectW(HINTERNET session, LPCWSTR server, INTERNET_PORT port, LPCWSTR, LPCWSTR,
                           DWORD service, DWORD, DWORD_PTR) {
    if (!IsKind(session, HostInternetHandle::kSession))
        return nullptr;
    if (!server || !*server || service != INTERNET_SERVICE_HTTP)
        return Fail(ERROR_INVALID_PARAMETER);
    HINTERNET connection = new HostInternetHandle(HostInternetHandle::kConnection);
    connection->userAgent = session->userAgent;
    connection->direct = session->direct;
    connection->server = Utf8FromWide(server);
    connection->port = port;
    return connection;
}

HINTERNET HttpOpenRequestW(HINTERNET connection, LPCWSTR verb, LPCWSTR object, LPCWSTR, LPCWSTR,
                           LPCWSTR* acceptTypes, DWORD flags, DWORD_PTR) {
    if (!IsKind(connection, HostInternetHandle::kConnection))
        return nullptr;
    bool secure = (flags & INTERNET_FLAG_SECURE) != 0;
    INTERNET_PORT port = connection->port
                             ? connection->port
                             : static_cast<INTERNET_PORT>(secure ? INTERNET_DEFAULT_HTTPS_PORT
                                                                 : INTERNET_DEFAULT_HTTP_PORT);
    std::string path = object && *object ? Utf8FromWide(object) : "/";
    if (path[0] != '/')
        path = "/" + path;
    HINTERNET request = new HostInternetHandle(HostInternetHandle::kRequest);
    request->request.method = verb && *verb ? Utf8FromWide(verb) : "GET";
    request->request.url =
        (secure ? "https://" : "http://") + connection->server + ":" + std::to_string(port) + path;
    request->request.userAgent = connection->userAgent;
    request->request.direct = connection->direct;
    std::string accept;
    for (LPCWSTR* type = acceptTypes; type && *type; ++type)
        accept += (accept.empty() ? "" : ", ") + Utf8FromWide(*type);
    if (!accept.empty())
        request->request.headers.push_back("Accept: " + accept);
    return request;
}

BOOL HttpSendRequestW(HINTERNET request, LPCWSTR headers, DWORD headersLength, LPVOID optional,
                      DWORD optionalLength) {
    if (!IsKind(request, HostInternetHandle::kRequest))
        return FALSE;
    if (headers) {
        std::wstring text = headersLength == static_cast<DWORD>(-1)
                                ? std::wstring(headers)
                                : std::wstring(headers, headersLength);
        for (const std::string& line : HeaderLines(Utf8FromWide(text)))
            request->request.headers.push_back(line);
    }
    request->request.body.assign(static_cast<const char*>(optional), optional ? optionalLength : 0);
    return Send(request);
}

HINTERNET InternetOpenUrlA(HINTERNET session, LPCSTR url, LPCSTR headers, DWORD headersLength,
                           DWORD, DWORD_PTR) {
    if (!IsKind(session, HostInternetHandle::kSession))
        return nullptr;
    if (!url || !*url)
        return Fail(ERROR_INTERNET_INVALID_URL);
    HINTERNET request = new HostInternetHandle(HostInternetHandle::kRequest);
    request->request.method = "GET";
    request->request.url = Latin1(url, static_cast<DWORD>(-1));
    request->request.userAgent = session->userAgent;
    request->request.direct = session->direct;
    request->request.headers = HeaderLines(Latin1(headers, headersLength));
    if (Send(request))
        return request;
    DWORD error = GetLastError();
    delete request;
    return Fail(error);
}

namespace {

// The header as text: the answer's Content-Range, as wide characters with a
// terminating zero; bufferLength counts bytes, as WinINet's does.
BOOL QueryText(HINTERNET request, DWORD infoLevel, LPVOID buffer, LPDWORD bufferLength) {
    std::string value;
    if (infoLevel != HTTP_QUERY_CONTENT_RANGE ||
        !request->transfer->Header("Content-Range", value)) {
        SetLastError(ERROR_HTTP_HEADER_NOT_FOUND);
        return FALSE;
    }
    std::wstring text(value.begin(), value.end());
    DWORD needed = static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t));
    if (!buffer || *bufferLength < needed) {
        *bufferLength = needed;
        SetLastError(ERROR_INSUFFICIENT_BUFFER);
        return FALSE;
    }
    std::memcpy(buffer, text.c_str(), needed);
    *bufferLength = needed - sizeof(wchar_t);
    return TRUE;
}

}  // namespace

BOOL HttpQueryInfoW(HINTERNET request, DWORD infoLevel, LPVOID buffer, LPDWORD bufferLength,
                    LPDWORD) {
    if (!IsKind(request, HostInternetHandle::kRequest))
        return FALSE;
    if (request->transfer && bufferLength && !(infoLevel & HTTP_QUERY_FLAG_NUMBER))
        return QueryText(request, infoLevel, buffer, bufferLength);
    if (!request->transfer || !buffer || !bufferLength || *bufferLength < sizeof(DWORD)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    long long value = -1;
    switch (infoLevel & ~HTTP_QUERY_FLAG_NUMBER) {
        case HTTP_QUERY_CONTENT_LENGTH:
            value = request->transfer->ContentLength();
            break;
        case HTTP_QUERY_STATUS_CODE:
            value = request->transfer->Status();
            break;
        default:
            break;
    }
    if (value < 0 || value > 0xFFFFFFFFLL) {
        SetLastError(ERROR_HTTP_HEADER_NOT_FOUND);
        return FALSE;
    }
    DWORD number = static_cast<DWORD>(value);
    std::memcpy(buffer, &number, sizeof number);
    *bufferLength = sizeof number;
    return TRUE;
}

BOOL InternetReadFile(HINTERNET request, LPVOID buffer, DWORD toRead, LPDWORD read) {
    if (!IsKind(request, HostInternetHandle::kRequest))
        return FALSE;
    if (!read || (!buffer && toRead > 0) || !request->transfer) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    size_t got = 0;
    DWORD error = 0;
    bool ok = request->transfer->Read(buffer, toRead, got, error);
    *read = static_cast<DWORD>(got);
    if (!ok)
        SetLastError(error);
    return ok ? TRUE : FALSE;
}

BOOL InternetCloseHandle(HINTERNET handle) {
    if (!handle) {
        SetLastError(ERROR_INVALID_HANDLE);
        return FALSE;
    }
    delete handle;
    return TRUE;
}

DWORD InternetAttemptConnect(DWORD) {
    return ERROR_SUCCESS;
}
