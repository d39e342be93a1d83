#include "web/HttpRequest.h"

#include "web/ResponseStage.h"
#include "web/TextEncoding.h"

#include <curl/curl.h>

#include <memory>
#include <mutex>
#include <string_view>
#include <vector>

namespace quillmarsh {

namespace {

enum Step {
    kPlatform = 700,
    kUrl,
    kSession,
    kConnection,
    kRequest,
    kTimeouts,
    kProxyCredentials = 707,
    kCookiesOff,
    kRedirects,
    kHeaders,
    kSend,
    kReceive,
    kRead
};

const std::string& Message(int code)
{
    static const std::vector<std::string> messages = [] {
        std::vector<std::string> m(14);
        m[0] = GbkFromUtf8("700 当前系统不支持WinHttp服务!");
        m[1] = GbkFromUtf8("701 解析URL地址失败!");
        m[2] = GbkFromUtf8("702 创建WinHttp会话失败!");
        m[3] = GbkFromUtf8("703 创建WinHttp连接失败!");
        m[4] = GbkFromUtf8("704 创建WinHttp请求失败!");
        m[5] = GbkFromUtf8("705 设置超时时间失败!");
        m[7] = GbkFromUtf8("707 设置代理凭证失败!");
        m[8] = GbkFromUtf8("708 禁止自动设置Cookies失败!");
        m[9] = GbkFromUtf8("709 重定向设置失败!");
        m[10] = GbkFromUtf8("710 设置协议头失败!");
        m[11] = GbkFromUtf8("711 发送请求失败!");
        m[12] = GbkFromUtf8("712 服务器未响应!");
        m[13] = GbkFromUtf8("713 读取数据失败!");
        return m;
    }();
    return messages[static_cast<std::size_t>(code - 700)];
}

struct DefaultHeader {
    std::string_view name;
    std::string_view line;
};
constexpr DefaultHeader kDefaults[] = {
    {"User-Agent: ", "User-Agent: Mozilla/5.0 (compatible; MSIE 9.0; Windows NT 6.1; WOW64; Trident/5.0)\r\n"},
    {"Accept: ", "Accept: text/html, application/xhtml+xml, */*\r\n"},
    {"Accept-Encoding: ", "Accept-Encoding: gbk, GB2312\r\n"},
    {"Accept-Language: ", "Accept-Language: zh-cn\r\n"},
    {"Content-Type:", "Content-Type: application/x-www-form-urlencoded\r\n"},
    {"Cache-Control: ", "Cache-Control: no-cache\r\n"},
};

struct CurlDeleter {
    void operator()(CURL* h) const { curl_easy_cleanup(h); }
    void operator()(curl_slist* l) const { curl_slist_free_all(l); }
    void operator()(CURLU* u) const { curl_url_cleanup(u); }
    void operator()(char* s) const { curl_free(s); }
};
template <typename T> using CurlPtr = std::unique_ptr<T, CurlDeleter>;

char Lower(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

bool HasHeaderLine(const std::vector<std::string>& lines, std::string_view name)
{
    for (const std::string& line : lines) {
        if (line.size() <= name.size() || line[name.size()] != ':')
            continue;
        bool same = true;
        for (std::size_t i = 0; i < name.size() && same; ++i)
            same = Lower(line[i]) == Lower(name[i]);
        if (same)
            return true;
    }
    return false;
}

// What arrives while the exchange runs.
struct Arrival {
    std::string headers; // the latest response's header block, CR LF line ends
    std::string body;
    bool headersComplete = false;
    bool bodyStarted = false;
};

size_t OnHeader(char* data, size_t size, size_t count, void* user)
{
    auto* a = static_cast<Arrival*>(user);
    std::string_view line(data, size * count);
    if (line.substr(0, 5) == "HTTP/") { // a new response: an interim or redirect one came before
        a->headers.clear();
        a->headersComplete = false;
    }
    while (!line.empty() && (line.back() == '\n' || line.back() == '\r'))
        line.remove_suffix(1);
    a->headers.append(line);
    a->headers.append("\r\n");
    if (line.empty())
        a->headersComplete = true;
    return size * count;
}

size_t OnBody(char* data, size_t size, size_t count, void* user)
{
    auto* a = static_cast<Arrival*>(user);
    a->bodyStarted = true;
    a->body.append(data, size * count);
    return size * count;
}

bool IsConnectFailure(CURLcode rc)
{
    switch (rc) {
    case CURLE_COULDNT_RESOLVE_HOST:
    case CURLE_COULDNT_RESOLVE_PROXY:
    case CURLE_COULDNT_CONNECT:
    case CURLE_SEND_ERROR:
    case CURLE_SSL_CONNECT_ERROR:
    case CURLE_PEER_FAILED_VERIFICATION:
    case CURLE_SSL_CERTPROBLEM:
    case CURLE_SSL_CIPHER:
    case CURLE_SSL_CACERT_BADFILE:
    case CURLE_PROXY:
    case CURLE_READ_ERROR:
        return true;
    default:
        return false;
    }
}

// Splits and validates the URL; false for anything but an absolute http or https URL with a host.
bool CheckUrl(const std::string& url, bool& isHttp)
{
    CurlPtr<CURLU> u(curl_url());
    if (!u || curl_url_set(u.get(), CURLUPART_URL, url.c_str(), 0) != CURLUE_OK)
        return false;
    char* schemeRaw = nullptr;
    char* hostRaw = nullptr;
    if (curl_url_get(u.get(), CURLUPART_SCHEME, &schemeRaw, 0) != CURLUE_OK)
        return false;
    CurlPtr<char> scheme(schemeRaw);
    if (curl_url_get(u.get(), CURLUPART_HOST, &hostRaw, 0) != CURLUE_OK)
        return false;
    CurlPtr<char> host(hostRaw);
    std::string s(scheme.get());
    for (char& c : s)
        c = Lower(c);
    isHttp = s == "http";
    return (s == "http" || s == "https") && host && *host.get();
}

} // namespace

void InitWebClient()
{
    static std::once_flag once;
    std::call_once(once, [] { curl_global_init(CURL_GLOBAL_DEFAULT); });
}

std::string AssembleRequestHeaders(const std::string& headers, const std::string& cookies)
{
    std::string block = headers;
    if (!block.empty())
        block += "\r\n";
    for (const DefaultHeader& d : kDefaults)
        if (headers.find(d.name) == std::string::npos)
            block += d.line;
    if (headers.find("Cookie: ") == std::string::npos && !cookies.empty())
        block += "Cookie: " + cookies + "\r\n";
    return block;
}

HttpResponse HttpRequest(const HttpRequestOptions& o)
{
    InitWebClient();
    HttpResponse r;
    r.cookies = o.cookies;
    auto fail = [&r](int code) {
        r.error = Message(code);
        return r;
    };

    const std::string url = o.url.substr(0, o.url.find('\0'));
    bool isHttp = false;
    if (!CheckUrl(url, isHttp))
        return fail(kUrl);

    CurlPtr<CURL> h(curl_easy_init());
    if (!h)
        return fail(kSession);
    CURL* c = h.get();
    auto set = [c](CURLoption opt, auto value) { return curl_easy_setopt(c, opt, value) == CURLE_OK; };

    // The session: no signals (we run on worker threads), no proxy unless one is named, only
    // http and https, one fresh connection per call.
    bool proxyOk
        = o.proxy.empty() || !isHttp ? set(CURLOPT_PROXY, "") : set(CURLOPT_PROXY, ("http://" + o.proxy).c_str());
    if (!set(CURLOPT_NOSIGNAL, 1L) || !proxyOk || !set(CURLOPT_PROTOCOLS_STR, "http,https")
        || !set(CURLOPT_REDIR_PROTOCOLS_STR, "http,https") || !set(CURLOPT_FORBID_REUSE, 1L)
        || !set(CURLOPT_FRESH_CONNECT, 1L))
        return fail(kSession);
    if (!set(CURLOPT_URL, url.c_str()))
        return fail(kConnection);

    // The method; a body goes with any method that is not HEAD.
    bool methodOk = set(CURLOPT_HTTP_VERSION, static_cast<long>(CURL_HTTP_VERSION_1_1));
    switch (o.method) {
    case HttpMethod::Head:
        methodOk = methodOk && set(CURLOPT_NOBODY, 1L);
        break;
    case HttpMethod::Post:
        methodOk = methodOk && set(CURLOPT_POST, 1L);
        break;
    case HttpMethod::Put:
        methodOk = methodOk && set(CURLOPT_CUSTOMREQUEST, "PUT");
        break;
    default:
        if (!o.body.empty())
            methodOk = methodOk && set(CURLOPT_CUSTOMREQUEST, "GET");
        break;
    }
    bool sendsBody = o.method != HttpMethod::Head
        && (!o.body.empty() || o.method == HttpMethod::Post || o.method == HttpMethod::Put);
    if (sendsBody)
        methodOk = methodOk && set(CURLOPT_POSTFIELDSIZE_LARGE, static_cast<curl_off_t>(o.body.size()))
            && set(CURLOPT_POSTFIELDS, o.body.data());
    methodOk = methodOk && set(CURLOPT_HTTP_CONTENT_DECODING, 0L);
    if (!methodOk)
        return fail(kRequest);

    // Time-outs: for connecting, and for a server that sends nothing for that long.
    long timeout = o.timeoutSeconds > 0 ? o.timeoutSeconds : 30;
    if (!set(CURLOPT_CONNECTTIMEOUT, timeout) || !set(CURLOPT_LOW_SPEED_LIMIT, 1L)
        || !set(CURLOPT_LOW_SPEED_TIME, timeout))
        return fail(kTimeouts);

    if (!o.proxyUser.empty() && !o.proxyPassword.empty()) {
        if (!set(CURLOPT_PROXYUSERNAME, o.proxyUser.c_str()) || !set(CURLOPT_PROXYPASSWORD, o.proxyPassword.c_str())
            || !set(CURLOPT_PROXYAUTH, static_cast<long>(CURLAUTH_BASIC)))
            r.error = Message(kProxyCredentials);
    }
    // curl keeps no cookies of its own unless a cookie file is named, which is never done here.

    if (o.noRedirect ? !set(CURLOPT_FOLLOWLOCATION, 0L)
                     : !(set(CURLOPT_FOLLOWLOCATION, 1L) && set(CURLOPT_MAXREDIRS, 10L)))
        r.error = Message(kRedirects);

    // The header block, line by line, exactly as assembled. curl would add lines of its own
    // (Accept, Expect, Content-Type, Proxy-Connection); empty entries switch those off.
    std::string block = AssembleRequestHeaders(o.headers.substr(0, o.headers.find('\0')), o.cookies);
    std::vector<std::string> lines;
    for (std::size_t start = 0; start < block.size();) {
        std::size_t end = block.find("\r\n", start);
        if (end == std::string::npos)
            end = block.size();
        std::string line = block.substr(start, end - start);
        start = end + 2;
        if (line.empty())
            continue;
        // "Name:" alone would tell curl to drop the header; "Name;" sends it with no value.
        if (line.back() == ':')
            line.back() = ';';
        lines.push_back(std::move(line));
    }
    std::vector<std::string> suppressed;
    for (std::string_view name : {"Accept", "Expect", "Content-Type", "Proxy-Connection", "Transfer-Encoding"})
        if (!HasHeaderLine(lines, name))
            suppressed.push_back(std::string(name) + ":");
    CurlPtr<curl_slist> list;
    for (const auto* group : {&lines, &suppressed}) {
        for (const std::string& line : *group) {
            curl_slist* next = curl_slist_append(list.get(), line.c_str());
            if (!next)
                return fail(kHeaders);
            list.release();
            list.reset(next);
        }
    }
    if (!set(CURLOPT_HTTPHEADER, list.get()))
        return fail(kHeaders);

    Arrival a;
    if (!set(CURLOPT_HEADERFUNCTION, OnHeader) || !set(CURLOPT_HEADERDATA, &a) || !set(CURLOPT_WRITEFUNCTION, OnBody)
        || !set(CURLOPT_WRITEDATA, &a))
        return fail(kRequest);

    CURLcode rc = curl_easy_perform(c);
    if (rc != CURLE_OK) {
        long status = 0;
        curl_easy_getinfo(c, CURLINFO_RESPONSE_CODE, &status);
        bool redirectPending
            = !o.noRedirect && status >= 300 && status < 400 && !ReadLocation(a.headers).empty() && !a.bodyStarted;
        bool finalHeaders = a.headersComplete && !redirectPending;
        if (!finalHeaders) {
            curl_off_t connectTime = 0;
            curl_easy_getinfo(c, CURLINFO_CONNECT_TIME_T, &connectTime);
            bool sendFailed = IsConnectFailure(rc) || (rc == CURLE_OPERATION_TIMEDOUT && connectTime == 0);
            return fail(sendFailed ? kSend : kReceive);
        }
        // The body broke off after the headers: what arrived is kept and the stage goes on.
        r.error = Message(kRead);
    }

    r.rawHeaders = std::move(a.headers);
    std::size_t firstLineEnd = r.rawHeaders.find("\r\n");
    std::string_view statusLine = std::string_view(r.rawHeaders).substr(0, firstLineEnd);
    r.status = statusLine.size() > 9 ? std::string(statusLine.substr(9)) : std::string();
    r.newCookies = CollectSetCookies(r.rawHeaders);
    r.location = ReadLocation(r.rawHeaders);
    r.cookies = MergeCookies(o.cookies, r.newCookies);
    r.text = BodyText(std::move(a.body));
    return r;
}

} // namespace quillmarsh
