// The response stage's text functions on any header block and body.
#include "web/ResponseStage.h"

#include <cstdlib>
#include <string>

using namespace quillmarsh;

extern "C" int LLVMFuzzerTestOneInput(const unsigned char* data, std::size_t size)
{
    const std::string input(reinterpret_cast<const char*>(data), size);
    const std::size_t split = input.find("\r\n\r\n");
    const std::string headers = input.substr(0, split);
    const std::string body = split == std::string::npos ? std::string() : input.substr(split + 4);

    const std::string cookies = CollectSetCookies(headers);
    (void)ReadLocation(headers);
    const std::string merged = MergeCookies(headers, cookies);
    if (MergeCookies(merged, "") != MergeCookies(MergeCookies(merged, ""), ""))
        std::abort(); // a merge with nothing received is stable after one round
    (void)CookieName(headers);
    const std::string charset = DetectCharset(body);
    (void)DecodeText(body, charset.empty() ? "utf-8" : charset);
    const std::string text = BodyText(std::string(body));
    if (text.find('\0') != std::string::npos)
        std::abort();
    return 0;
}
