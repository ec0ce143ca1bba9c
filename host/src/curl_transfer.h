// One HTTP exchange on libcurl, driven step by step so that the body can be
// read piece by piece as it arrives.
#pragma once

#include <curl/curl.h>

#include <string>
#include <vector>

#include "winbase.h"

struct CurlRequest {
    std::string method;  // "GET", "POST", ...
    std::string url;
    std::string userAgent;
    bool direct = true;  // no proxy
    std::vector<std::string> headers;
    std::string body;  // sent with POST
};

class CurlTransfer {
public:
    explicit CurlTransfer(const CurlRequest& request);
    ~CurlTransfer();
    CurlTransfer(const CurlTransfer&) = delete;
    CurlTransfer& operator=(const CurlTransfer&) = delete;

    // Sends the request and waits for the answer's headers; false with a
    // WinINet error code when there is no answer.
    bool Start(DWORD& error);
    // Copies up to size bytes of the body into out; read is 0 at its end. False
    // with an error code when the transfer fails.
    bool Read(void* out, size_t size, size_t& read, DWORD& error);
    long Status() const;
    // The announced content length, or -1 when the answer gives none.
    curl_off_t ContentLength() const;
    // The value of the answer's header name (of the last answer after
    // redirects); false when it has none.
    bool Header(const char* name, std::string& value) const;

private:
    // Lets libcurl work until something happens; false once the transfer ended.
    bool Step();
    static size_t OnBody(char* data, size_t size, size_t count, void* self);

    CURL* easy = nullptr;
    CURLM* multi = nullptr;
    curl_slist* headerList = nullptr;
    std::string body;     // the request's body, alive while libcurl sends it
    std::string pending;  // received, not yet read
    size_t pendingAt = 0;
    bool bodyStarted = false;
    bool finished = false;
    CURLcode result = CURLE_OK;
};
