#include "test_https_server.h"

#include <algorithm>
#include <cstdlib>

bool TestHttpsServer::MakeCertificate(const std::string& folder, std::string& certFile,
                                      std::string& keyFile) {
    certFile = folder + "/cert.pem";
    keyFile = folder + "/key.pem";
    std::string command =
        "openssl req -x509 -newkey ec -pkeyopt ec_paramgen_curve:prime256v1 -nodes -keyout '" +
        keyFile + "' -out '" + certFile +
        "' -days 2 -subj /CN=127.0.0.1 -addext subjectAltName=IP:127.0.0.1,DNS:localhost" +
        " >/dev/null 2>&1";
    return std::system(command.c_str()) == 0;
}

TestHttpsServer::TestHttpsServer(const std::string& certFile, const std::string& keyFile)
    : server(certFile.c_str(), keyFile.c_str()) {
    if (!server.is_valid())
        return;
    server.Post("/info.xml", [this](const httplib::Request& req, httplib::Response& res) {
        std::lock_guard<std::mutex> guard(lock);
        ++seen.infoRequests;
        seen.infoMethod = req.method;
        seen.infoUserAgent = req.get_header_value("User-Agent");
        seen.infoContentType = req.get_header_value("Content-Type");
        seen.infoAccept = req.get_header_value("Accept");
        seen.infoBody = req.body;
        res.set_content(info, "text/xml");
    });
    server.Get(
        "/release/Slitform.zip", [this](const httplib::Request& req, httplib::Response& res) {
            std::lock_guard<std::mutex> guard(lock);
            ++seen.releaseRequests;
            seen.releaseUserAgent = req.get_header_value("User-Agent");
            seen.releaseRange = req.get_header_value("Range");
            std::string bytes = release;
            switch (mode) {
                case ReleaseMode::kComplete:
                case ReleaseMode::kEmpty:
                    res.set_content(bytes, "application/zip");
                    break;
                case ReleaseMode::kDropHalfWay:
                    res.set_content_provider(
                        bytes.size(), "application/zip",
                        [bytes](size_t offset, size_t length, httplib::DataSink& sink) {
                            size_t half = bytes.size() / 2;
                            if (offset >= half)
                                return false;
                            sink.write(bytes.data() + offset, std::min(length, half - offset));
                            return true;
                        });
                    break;
                case ReleaseMode::kNoLength:
                    res.set_chunked_content_provider(
                        "application/zip", [bytes](size_t offset, httplib::DataSink& sink) {
                            if (offset < bytes.size())
                                sink.write(bytes.data() + offset,
                                           std::min<size_t>(4096, bytes.size() - offset));
                            else
                                sink.done();
                            return true;
                        });
                    break;
                case ReleaseMode::kNotFound:
                    res.status = 404;
                    res.set_content("Not Found", "text/plain");
                    break;
                case ReleaseMode::kLastHalf:
                case ReleaseMode::kFirstHalf: {
                    size_t half = bytes.size() / 2;
                    size_t first = mode == ReleaseMode::kLastHalf ? half : 0;
                    size_t count = mode == ReleaseMode::kLastHalf ? bytes.size() - half : half;
                    res.status = 206;
                    res.set_header("Content-Range", "bytes " + std::to_string(first) + "-" +
                                                        std::to_string(first + count - 1) + "/" +
                                                        std::to_string(bytes.size()));
                    res.set_content(bytes.substr(first, count), "application/zip");
                    break;
                }
            }
        });
    port = server.bind_to_any_port("127.0.0.1");
    if (port <= 0) {
        port = 0;
        return;
    }
    thread = std::thread([this] { server.listen_after_bind(); });
}

TestHttpsServer::~TestHttpsServer() {
    // stop() only ends a loop that has begun.
    while (thread.joinable() && !server.is_running()) std::this_thread::yield();
    server.stop();
    if (thread.joinable())
        thread.join();
}

void TestHttpsServer::SetInfo(const std::string& body) {
    std::lock_guard<std::mutex> guard(lock);
    info = body;
}

void TestHttpsServer::SetRelease(const std::string& bytes, ReleaseMode m) {
    std::lock_guard<std::mutex> guard(lock);
    release = bytes;
    mode = m;
}

TestHttpsServer::Seen TestHttpsServer::Requests() {
    std::lock_guard<std::mutex> guard(lock);
    Seen copy = seen;
    seen = Seen();
    return copy;
}
