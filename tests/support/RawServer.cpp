#include "support/RawServer.h"

#include "Loopback.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cstdlib>
#include <cstring>

namespace testing_support {

namespace {

std::size_t ContentLength(const std::string& head)
{
    std::string lower = head;
    for (char& c : lower)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    std::size_t at = lower.find("\r\ncontent-length:");
    if (at == std::string::npos)
        return 0;
    return std::strtoul(head.c_str() + at + 17, nullptr, 10);
}

} // namespace

RawServer::RawServer(Handler handler) : handler_(std::move(handler))
{
    listener_ = quillmarsh::sample::ListenOnLoopback(0, &port_);
    acceptor_ = std::thread([this] { Accept(); });
}

RawServer::~RawServer()
{
    running_ = false;
    acceptor_.join();
    {
        std::lock_guard lock(mutex_);
        for (int s : sockets_)
            shutdown(s, SHUT_RDWR);
    }
    for (std::thread& t : connections_)
        t.join();
    for (int s : sockets_)
        close(s);
    close(listener_);
}

std::string RawServer::Url(std::string_view path) const
{
    return "http://127.0.0.1:" + std::to_string(port_) + std::string(path);
}

std::vector<std::string> RawServer::Requests() const
{
    std::lock_guard lock(mutex_);
    return requests_;
}

void RawServer::Send(int socket, std::string_view bytes) { quillmarsh::sample::SendAll(socket, bytes); }

std::uint16_t RawServer::ClosedPort()
{
    std::uint16_t port = 0;
    close(quillmarsh::sample::ListenOnLoopback(0, &port));
    return port;
}

void RawServer::Accept()
{
    while (running_) {
        pollfd p {listener_, POLLIN, 0};
        if (poll(&p, 1, 50) <= 0)
            continue;
        int client = accept(listener_, nullptr, nullptr);
        if (client < 0)
            continue;
        std::lock_guard lock(mutex_);
        sockets_.push_back(client);
        connections_.emplace_back([this, client] {
            std::string request;
            char buffer[65536];
            std::size_t headEnd = std::string::npos;
            while (running_) {
                pollfd q {client, POLLIN, 0};
                if (poll(&q, 1, 50) <= 0)
                    continue;
                ssize_t n = recv(client, buffer, sizeof buffer, 0);
                if (n <= 0)
                    break;
                request.append(buffer, static_cast<std::size_t>(n));
                if (headEnd == std::string::npos)
                    headEnd = request.find("\r\n\r\n");
                if (headEnd != std::string::npos
                    && request.size() >= headEnd + 4 + ContentLength(request.substr(0, headEnd + 2)))
                    break;
            }
            {
                std::lock_guard inner(mutex_);
                requests_.push_back(request);
            }
            handler_(client, request);
            shutdown(client, SHUT_WR);
        });
    }
}

} // namespace testing_support
