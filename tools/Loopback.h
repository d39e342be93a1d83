#pragma once

#include <cstdint>
#include <string_view>

// Small socket helpers shared by the sample site and the test and benchmark servers.
namespace quillmarsh::sample {

// A listening TCP socket on 127.0.0.1 (`port` 0 picks a free one, written to `actualPort`);
// -1 on failure. With `nonBlocking`, accept returns at once when another thread took the client.
int ListenOnLoopback(std::uint16_t port, std::uint16_t* actualPort, bool nonBlocking = false);

// Sends all of `bytes`; false when the peer went away first.
bool SendAll(int socket, std::string_view bytes);

} // namespace quillmarsh::sample
