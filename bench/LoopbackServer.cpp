#include "LoopbackServer.h"

#include "Loopback.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <fstream>
#include <sstream>

namespace bench {

LoopbackServer::LoopbackServer(std::string body)
{
    response_ = "HTTP/1.1 200 OK\r\nContent-Type: text/html\r\nContent-Length: " + std::to_string(body.size())
        + "\r\nConnection: close\r\n\r\n" + body;
    // Several threads wait on the listener: the ones that lose a connection must not block.
    listener_ = quillmarsh::sample::ListenOnLoopback(0, &port_, /*nonBlocking=*/true);
    for (int t = 0; t < 4; ++t) {
        threads_.emplace_back([this] {
            char buffer[16384];
            while (running_) {
                pollfd p {listener_, POLLIN, 0};
                if (poll(&p, 1, 100) <= 0)
                    continue;
                int client = accept(listener_, nullptr, nullptr);
                if (client < 0)
                    continue;
                std::string head;
                while (head.find("\r\n\r\n") == std::string::npos) {
                    ssize_t n = recv(client, buffer, sizeof buffer, 0);
                    if (n <= 0)
                        break;
                    head.append(buffer, static_cast<std::size_t>(n));
                }
                quillmarsh::sample::SendAll(client, response_);
                close(client);
            }
        });
    }
}

LoopbackServer::~LoopbackServer()
{
    running_ = false;
    for (std::thread& t : threads_)
        t.join();
    close(listener_);
}

namespace {
long StatusField(const char* name)
{
    std::ifstream in("/proc/self/status");
    std::string line;
    while (std::getline(in, line))
        if (line.rfind(name, 0) == 0)
            return std::stol(line.substr(line.find_first_of("0123456789"))) * 1024;
    return -1;
}
} // namespace

long PeakRss() { return StatusField("VmHWM:"); }
long CurrentRss() { return StatusField("VmRSS:"); }

} // namespace bench
