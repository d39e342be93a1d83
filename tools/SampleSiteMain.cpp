// quillmarsh-sample-site: serves the sample resume site on loopback until interrupted.
//   quillmarsh-sample-site [--port N]     (default 8058)
#include "SampleSite.h"

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include <unistd.h>

int main(int argc, char** argv)
{
    long port = 8058;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--port") == 0 && i + 1 < argc) {
            char* end = nullptr;
            port = std::strtol(argv[++i], &end, 10);
            if (*end != '\0' || port < 0 || port > 65535) {
                std::fprintf(stderr, "quillmarsh-sample-site: --port takes a number from 0 to 65535\n");
                return 2;
            }
        } else {
            std::fprintf(stderr, "usage: quillmarsh-sample-site [--port N]\n");
            return 2;
        }
    }
    // Signals are taken by sigwait below, never by the server's thread.
    sigset_t signals;
    sigemptyset(&signals);
    sigaddset(&signals, SIGINT);
    sigaddset(&signals, SIGTERM);
    sigprocmask(SIG_BLOCK, &signals, nullptr);
    quillmarsh::sample::Server server(static_cast<std::uint16_t>(port));
    if (!server.Start()) {
        std::fprintf(stderr, "quillmarsh-sample-site: cannot listen on 127.0.0.1:%ld\n", port);
        return 1;
    }
    std::printf("sample site on http://{cs,wh,bj,sh}.%s\n", server.Domain().c_str());
    std::fflush(stdout);
    int received = 0;
    sigwait(&signals, &received);
    server.Stop();
    return 0;
}
