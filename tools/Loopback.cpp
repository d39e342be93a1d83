#include "Loopback.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

namespace quillmarsh::sample {

int ListenOnLoopback(std::uint16_t port, std::uint16_t* actualPort, bool nonBlocking)
{
    int listener = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (listener < 0)
        return -1;
    int yes = 1;
    setsockopt(listener, SOL_SOCKET, SO_REUSEADDR, &yes, sizeof yes);
    sockaddr_in addr {};
    addr.sin_family = AF_INET;
    addr.sin_port = htons(port);
    addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t len = sizeof addr;
    if (bind(listener, reinterpret_cast<sockaddr*>(&addr), sizeof addr) != 0 || listen(listener, 256) != 0
        || getsockname(listener, reinterpret_cast<sockaddr*>(&addr), &len) != 0) {
        close(listener);
        return -1;
    }
    if (nonBlocking)
        fcntl(listener, F_SETFL, fcntl(listener, F_GETFL) | O_NONBLOCK);
    if (actualPort)
        *actualPort = ntohs(addr.sin_port);
    return listener;
}

bool SendAll(int socket, std::string_view bytes)
{
    for (std::size_t sent = 0; sent < bytes.size();) {
        ssize_t n = send(socket, bytes.data() + sent, bytes.size() - sent, MSG_NOSIGNAL);
        if (n <= 0)
            return false;
        sent += static_cast<std::size_t>(n);
    }
    return true;
}

} // namespace quillmarsh::sample
