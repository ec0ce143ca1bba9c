// HTTP and HTTPS through WinINet's calls, on libcurl. Certificates are always
// verified: against the system's store, or in test programs only against the
// CA file that SlitformTestCaFile names (see test_ca_file.h). A
// connection gives up after 10 seconds, and a transfer that stalls for 30, so a
// host that does not answer never blocks the caller for long. Names under the
// reserved domain .invalid fail at once without asking the network (RFC 6761).
// Redirects are followed only to https.
//
// As with WinINet, a request is sent by HttpSendRequestW or InternetOpenUrlA,
// which return once the answer's headers have arrived, whatever its HTTP
// status; InternetReadFile then streams the body. A body that ends early (the
// server closes before the content length) ends like a complete one, with a
// read of no bytes: callers compare what they got with the content length.
#pragma once

#include "winbase.h"

typedef struct HostInternetHandle* HINTERNET;
typedef WORD INTERNET_PORT;

#define INTERNET_OPEN_TYPE_PRECONFIG 0
#define INTERNET_OPEN_TYPE_DIRECT 1
#define INTERNET_DEFAULT_HTTP_PORT 80
#define INTERNET_DEFAULT_HTTPS_PORT 443
#define INTERNET_SERVICE_HTTP 3

#define INTERNET_FLAG_RELOAD 0x80000000u
#define INTERNET_FLAG_NO_CACHE_WRITE 0x04000000u
#define INTERNET_FLAG_SECURE 0x00800000u

#define HTTP_QUERY_CONTENT_LENGTH 5
#define HTTP_QUERY_STATUS_CODE 19
#define HTTP_QUERY_CONTENT_RANGE 53
#define HTTP_QUERY_FLAG_NUMBER 0x20000000u

#define ERROR_INTERNET_TIMEOUT 12002L
#define ERROR_INTERNET_INVALID_URL 12005L
#define ERROR_INTERNET_UNRECOGNIZED_SCHEME 12006L
#define ERROR_INTERNET_NAME_NOT_RESOLVED 12007L
#define ERROR_INTERNET_INCORRECT_HANDLE_TYPE 12018L
#define ERROR_INTERNET_CANNOT_CONNECT 12029L
#define ERROR_INTERNET_CONNECTION_ABORTED 12030L
#define ERROR_INTERNET_INVALID_CA 12045L
#define ERROR_HTTP_HEADER_NOT_FOUND 12150L
#define ERROR_INTERNET_SECURITY_CHANNEL_ERROR 12157L

// A session: user agent and access type (direct: no proxy, not even one from
// the environment; preconfigured: libcurl's proxy variables). Proxy arguments
// are not used.
HINTERNET InternetOpenW(LPCWSTR agent, DWORD accessType, LPCWSTR proxy, LPCWSTR proxyBypass,
                        DWORD flags);
// A connection to server:port. Nothing is sent yet; user name and password
// are not used.
HINTERNET InternetConnectW(HINTERNET session, LPCWSTR server, INTERNET_PORT port, LPCWSTR userName,
                           LPCWSTR password, DWORD service, DWORD flags, DWORD_PTR context);
// A request of verb for object on the connection; INTERNET_FLAG_SECURE makes it
// https. acceptTypes (ended by nullptr) become the Accept header. version and
// referrer are not used.
HINTERNET HttpOpenRequestW(HINTERNET connection, LPCWSTR verb, LPCWSTR object, LPCWSTR version,
                           LPCWSTR referrer, LPCWSTR* acceptTypes, DWORD flags, DWORD_PTR context);
// Sends the request with extra header lines (CR LF between them; headersLength
// in characters, or -1 up to the zero) and optionalLength bytes of body.
BOOL HttpSendRequestW(HINTERNET request, LPCWSTR headers, DWORD headersLength, LPVOID optional,
                      DWORD optionalLength);
// A GET of url (Latin-1) with extra header lines, sent at once.
HINTERNET InternetOpenUrlA(HINTERNET session, LPCSTR url, LPCSTR headers, DWORD headersLength,
                           DWORD flags, DWORD_PTR context);
// A header of the answer: the content length and the status code as numbers
// (HTTP_QUERY_FLAG_NUMBER into a DWORD), the content range as text (wide
// characters; bufferLength in bytes, ERROR_INSUFFICIENT_BUFFER with the size
// needed when short). A missing header (such as the content length of a
// chunked answer) is ERROR_HTTP_HEADER_NOT_FOUND.
BOOL HttpQueryInfoW(HINTERNET request, DWORD infoLevel, LPVOID buffer, LPDWORD bufferLength,
                    LPDWORD index);
// Up to toRead bytes of the body; *read is 0 at its end.
BOOL InternetReadFile(HINTERNET request, LPVOID buffer, DWORD toRead, LPDWORD read);
BOOL InternetCloseHandle(HINTERNET handle);
// ERROR_SUCCESS: there is no dial-up connection to make; requests find out
// whether the network answers.
DWORD InternetAttemptConnect(DWORD reserved);
