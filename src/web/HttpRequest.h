#pragma once

#include <string>

namespace quillmarsh {

// Request methods; anything else is sent as GET.
enum class HttpMethod { Get, Post, Head, Put };

// One request. Every text is program text (GBK).
struct HttpRequestOptions {
    std::string url; // absolute http:// or https:// URL
    HttpMethod method = HttpMethod::Get;
    std::string body;        // sent as its bytes after the headers
    std::string cookies;     // "name=value; name=value", sent in a Cookie line
    std::string headers;     // extra header lines joined by CR LF, no CR LF after the last
    bool noRedirect = false; // answer a redirect with its own body and `location`
    std::string proxy;       // "host:port" of a proxy for http:// requests; empty for none
    std::string proxyUser;
    std::string proxyPassword;
    int timeoutSeconds = 30; // connecting, and waiting on a silent server; <= 0 means 30
};

struct HttpResponse {
    std::string text;       // the body as program text, decoded by the page's meta charset
    std::string status;     // the status line after its first nine characters ("200 OK")
    std::string rawHeaders; // status line and header lines, each ended by CR LF, then CR LF
    std::string newCookies; // cookies this response sets
    std::string cookies;    // the request's cookies merged with newCookies
    std::string location;   // the Location header's value, or empty
    std::string error;      // empty on success, else one of the numbered messages 700 to 713
};

// Prepares the HTTP library; call once at start-up, before any thread makes a request.
void InitWebClient();

// Performs one complete HTTP exchange on the calling thread. Each call is self-contained (its own
// connection, no cookie store) and may run on many threads at once.
HttpResponse HttpRequest(const HttpRequestOptions& options);

// The header block that a request carries: the caller's lines, then each default line whose name
// the caller's block lacks, then the Cookie line.
std::string AssembleRequestHeaders(const std::string& headers, const std::string& cookies);

} // namespace quillmarsh
