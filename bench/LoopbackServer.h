#pragma once

#include <atomic>
#include <cstdint>
#include <string>
#include <thread>
#include <vector>

namespace bench {

// Serves one fixed response to every request, four connections at a time, closing each after it.
class LoopbackServer {
public:
    explicit LoopbackServer(std::string body);
    ~LoopbackServer();
    std::string Url() const { return "http://127.0.0.1:" + std::to_string(port_) + "/page"; }

private:
    std::string response_;
    int listener_ = -1;
    std::uint16_t port_ = 0;
    std::atomic<bool> running_ {true};
    std::vector<std::thread> threads_;
};

// Peak resident memory of this process so far, in bytes.
long PeakRss();
// Current resident memory of this process, in bytes.
long CurrentRss();

} // namespace bench
