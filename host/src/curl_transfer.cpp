#include "curl_transfer.h"

#include <algorithm>
#include <cctype>
#include <cstring>
#include <mutex>

#include "test_ca_file.h"
#include "wininet.h"

// Null unless a test program defines it.
extern "C" const char* SlitformTestCaFile() __attribute__((weak));

namespace {

const long kConnectTimeoutMs = 10000;
const long kStallSeconds = 30;
const int kPollMs = 100;

void InitOnce() {
    static std::once_flag once;
    std::call_once(once, [] { curl_global_init(CURL_GLOBAL_DEFAULT); });
}

DWORD ErrorOf(CURLcode code) {
    switch (code) {
        case CURLE_COULDNT_RESOLVE_HOST:
            return ERROR_INTERNET_NAME_NOT_RESOLVED;
        case CURLE_COULDNT_CONNECT:
            return ERROR_INTERNET_CANNOT_CONNECT;
        case CURLE_OPERATION_TIMEDOUT:
            return ERROR_INTERNET_TIMEOUT;
        case CURLE_URL_MALFORMAT:
            return ERROR_INTERNET_INVALID_URL;
        case CURLE_UNSUPPORTED_PROTOCOL:
            return ERROR_INTERNET_UNRECOGNIZED_SCHEME;
        case CURLE_PEER_FAILED_VERIFICATION:
        case CURLE_SSL_CACERT_BADFILE:
            return ERROR_INTERNET_INVALID_CA;
        case CURLE_SSL_CONNECT_ERROR:
            return ERROR_INTERNET_SECURITY_CHANNEL_ERROR;
        default:
            return ERROR_INTERNET_CONNECTION_ABORTED;
    }
}

// The host part of an http or https URL, in lower case.
std::string HostOf(const std::string& url) {
    size_t start = url.find("://");
    start = start == std::string::npos ? 0 : start + 3;
    size_t end = url.find_first_of(":/?#", start);
    std::string host =
        url.substr(start, end == std::string::npos ? std::string::npos : end - start);
    for (char& c : host) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return host;
}

bool IsReservedInvalid(const std::string& host) {
    const std::string suffix = ".invalid";
    std::string h = !host.empty() && host.back() == '.' ? host.substr(0, host.size() - 1) : host;
    return h == "invalid" || (h.size() > suffix.size() &&
                              h.compare(h.size() - suffix.size(), suffix.size(), suffix) == 0);
}

}  // namespace

CurlTransfer::CurlTransfer(const CurlRequest& request) : body(request.body) {
    InitOnce();
    easy = curl_easy_init();
    multi = curl_multi_init();
    if (!easy || !multi)
        return;
    curl_easy_setopt(easy, CURLOPT_URL, request.url.c_str());
    curl_easy_setopt(easy, CURLOPT_USERAGENT, request.userAgent.c_str());
    curl_easy_setopt(easy, CURLOPT_PROTOCOLS_STR, "http,https");
    curl_easy_setopt(easy, CURLOPT_FOLLOWLOCATION, 1L);
    curl_easy_setopt(easy, CURLOPT_MAXREDIRS, 5L);
    curl_easy_setopt(easy, CURLOPT_REDIR_PROTOCOLS_STR, "https");
    curl_easy_setopt(easy, CURLOPT_SSL_VERIFYPEER, 1L);
    curl_easy_setopt(easy, CURLOPT_SSL_VERIFYHOST, 2L);
    curl_easy_setopt(easy, CURLOPT_SSLVERSION, static_cast<long>(CURL_SSLVERSION_TLSv1_2));
    if (const char* caFile = SlitformTestCaFile ? SlitformTestCaFile() : nullptr;
        caFile && *caFile) {
        curl_easy_setopt(easy, CURLOPT_CAINFO, caFile);
        curl_easy_setopt(easy, CURLOPT_CAPATH, nullptr);
    }
    if (request.direct)
        curl_easy_setopt(easy, CURLOPT_PROXY, "");
    curl_easy_setopt(easy, CURLOPT_CONNECTTIMEOUT_MS, kConnectTimeoutMs);
    curl_easy_setopt(easy, CURLOPT_LOW_SPEED_LIMIT, 1L);
    curl_easy_setopt(easy, CURLOPT_LOW_SPEED_TIME, kStallSeconds);
    curl_easy_setopt(easy, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(easy, CURLOPT_WRITEFUNCTION, &CurlTransfer::OnBody);
    curl_easy_setopt(easy, CURLOPT_WRITEDATA, this);
    if (request.method == "POST") {
        curl_easy_setopt(easy, CURLOPT_POST, 1L);
        curl_easy_setopt(easy, CURLOPT_POSTFIELDS, body.data());
        curl_easy_setopt(easy, CURLOPT_POSTFIELDSIZE_LARGE, static_cast<curl_off_t>(body.size()));
    } else if (request.method != "GET") {
        curl_easy_setopt(easy, CURLOPT_CUSTOMREQUEST, request.method.c_str());
    }
    for (const std::string& line : request.headers)
        headerList = curl_slist_append(headerList, line.c_str());
    curl_easy_setopt(easy, CURLOPT_HTTPHEADER, headerList);
    if (IsReservedInvalid(HostOf(request.url))) {
        finished = true;
        result = CURLE_COULDNT_RESOLVE_HOST;
        return;
    }
    curl_multi_add_handle(multi, easy);
}

CurlTransfer::~CurlTransfer() {
    if (multi && easy)
        curl_multi_remove_handle(multi, easy);
    if (easy)
        curl_easy_cleanup(easy);
    if (multi)
        curl_multi_cleanup(multi);
    curl_slist_free_all(headerList);
}

size_t CurlTransfer::OnBody(char* data, size_t size, size_t count, void* self) {
    CurlTransfer* transfer = static_cast<CurlTransfer*>(self);
    transfer->bodyStarted = true;
    transfer->pending.append(data, size * count);
    return size * count;
}

bool CurlTransfer::Step() {
    if (finished)
        return false;
    int running = 0;
    curl_multi_perform(multi, &running);
    if (running == 0) {
        int left = 0;
        while (CURLMsg* message = curl_multi_info_read(multi, &left))
            if (message->msg == CURLMSG_DONE)
                result = message->data.result;
        finished = true;
        return false;
    }
    if (pending.size() == pendingAt)
        curl_multi_poll(multi, nullptr, 0, kPollMs, nullptr);
    return true;
}

bool CurlTransfer::Start(DWORD& error) {
    if (!easy || !multi) {
        error = ERROR_INTERNET_CONNECTION_ABORTED;
        return false;
    }
    // The headers are in once the body begins or the exchange is over; an
    // exchange without a status line got no answer.
    while (!bodyStarted && Step()) {
    }
    if (Status() == 0) {
        error = ErrorOf(result);
        return false;
    }
    return true;
}

bool CurlTransfer::Read(void* out, size_t size, size_t& read, DWORD& error) {
    while (pending.size() == pendingAt && Step()) {
    }
    read = std::min(size, pending.size() - pendingAt);
    if (read > 0)
        std::memcpy(out, pending.data() + pendingAt, read);
    pendingAt += read;
    if (pendingAt == pending.size()) {
        pending.clear();
        pendingAt = 0;
    }
    // An answer cut short ends its body as WinINet does: without an error.
    if (read == 0 && result != CURLE_OK && result != CURLE_PARTIAL_FILE) {
        error = ErrorOf(result);
        return false;
    }
    return true;
}

long CurlTransfer::Status() const {
    long status = 0;
    if (easy)
        curl_easy_getinfo(easy, CURLINFO_RESPONSE_CODE, &status);
    return status;
}

curl_off_t CurlTransfer::ContentLength() const {
    curl_off_t length = -1;
    if (easy)
        curl_easy_getinfo(easy, CURLINFO_CONTENT_LENGTH_DOWNLOAD_T, &length);
    return length;
}

bool CurlTransfer::Header(const char* name, std::string& value) const {
    curl_header* header = nullptr;
    if (!easy || curl_easy_header(easy, name, 0, CURLH_HEADER, -1, &header) != CURLHE_OK)
        return false;
    value = header->value;
    return true;
}
