// A local HTTPS server for the update tests: the maker's server as the plug-in
// sees it, on 127.0.0.1 at a free port, with a certificate made for the run.
#pragma once

#include <httplib.h>

#include <memory>
#include <mutex>
#include <string>
#include <thread>

// How the server answers a request for the release archive.
enum class ReleaseMode {
    kComplete,     // the archive with its length
    kDropHalfWay,  // announces the full length, closes after half of it
    kNoLength,     // chunked, without a content length
    kEmpty,        // a content length of 0
    kNotFound,     // 404 with a page of text
    kLastHalf,     // 206 with the second half and its range
    kFirstHalf,    // 206 with the first half and its range
};

class TestHttpsServer {
public:
    // Makes a key and a self-signed certificate for 127.0.0.1 in folder (an EC
    // key: made in milliseconds, where RSA takes most of a second).
    static bool MakeCertificate(const std::string& folder, std::string& certFile,
                                std::string& keyFile);

    TestHttpsServer(const std::string& certFile, const std::string& keyFile);
    ~TestHttpsServer();

    bool Running() const { return port > 0; }
    std::string Address() const { return "127.0.0.1:" + std::to_string(port); }

    // What the server answers from now on.
    void SetInfo(const std::string& body);
    void SetRelease(const std::string& bytes, ReleaseMode mode);

    // What the server was asked.
    struct Seen {
        int infoRequests = 0;
        int releaseRequests = 0;
        std::string infoMethod, infoUserAgent, infoContentType, infoAccept, infoBody;
        std::string releaseUserAgent, releaseRange;
    };
    Seen Requests();

private:
    httplib::SSLServer server;
    std::thread thread;
    int port = 0;
    std::mutex lock;
    std::string info;
    std::string release;
    ReleaseMode mode = ReleaseMode::kComplete;
    Seen seen;
};
