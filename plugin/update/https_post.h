// An HTTPS POST to a server, with the answer read into a buffer.
#pragma once

#include <cstddef>

#include "windefs.h"

// Posts the text in buffer (up to its first zero byte) to object on server
// ("host" or "host:port", 443 without a port) with the extra header lines,
// and reads the answer into buffer as zero-terminated text: the caller zeroes
// the buffer first; an answer that does not fit below capacity is cut at the
// last 512-byte piece that does. True when the request was sent and answered,
// whatever the HTTP status.
bool HttpsPost(LPCWSTR server, LPCWSTR object, LPCWSTR headers, char* buffer, size_t capacity);
