#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <mutex>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

namespace testing_support {

// A loopback HTTP peer for tests: it records the exact bytes of each request (head and, by its
// Content-Length, body) and lets the case answer with exactly the bytes it needs.
class RawServer {
public:
    // Called on the connection's own thread with the socket and the request bytes.
    using Handler = std::function<void(int socket, const std::string& request)>;

    explicit RawServer(Handler handler);
    ~RawServer();
    RawServer(const RawServer&) = delete;
    RawServer& operator=(const RawServer&) = delete;

    std::uint16_t Port() const { return port_; }
    std::string Url(std::string_view path = "/") const;
    std::vector<std::string> Requests() const;
    // True while the server runs: handlers that hold a connection open poll it.
    bool Running() const { return running_; }

    static void Send(int socket, std::string_view bytes);
    // A port on which nothing listens.
    static std::uint16_t ClosedPort();

private:
    void Accept();

    Handler handler_;
    int listener_ = -1;
    std::uint16_t port_ = 0;
    std::atomic<bool> running_ {true};
    std::thread acceptor_;
    mutable std::mutex mutex_;
    std::vector<std::string> requests_;
    std::vector<std::thread> connections_;
    std::vector<int> sockets_;
};

} // namespace testing_support
