#include "web/ResponseStage.h"

#include "support/RegexMatcher.h"
#include "web/GbkTable.h"
#include "web/TextEncoding.h"

#include <iconv.h>

#include <cerrno>
#include <vector>

namespace quillmarsh {

namespace {

constexpr std::string_view kFullWidthBlank = "\xA1\xA1"; // GBK U+3000
// Only the head of a page is searched for its charset: a meta tag stands there, and a page of any
// size then costs the same to inspect.
constexpr std::size_t kCharsetSearchBytes = 64 * 1024;

std::vector<std::string_view> SplitLines(std::string_view block)
{
    std::vector<std::string_view> lines;
    std::size_t start = 0;
    while (true) {
        std::size_t end = block.find("\r\n", start);
        if (end == std::string_view::npos) {
            lines.push_back(block.substr(start));
            return lines;
        }
        lines.push_back(block.substr(start, end - start));
        start = end + 2;
    }
}

std::string_view TrimBlanks(std::string_view s)
{
    while (true) {
        if (!s.empty() && s.front() == ' ')
            s.remove_prefix(1);
        else if (s.substr(0, 2) == kFullWidthBlank)
            s.remove_prefix(2);
        else
            break;
    }
    while (true) {
        if (!s.empty() && s.back() == ' ') {
            s.remove_suffix(1);
        } else if (s.size() >= 2 && s.substr(s.size() - 2) == kFullWidthBlank
            && FindGbk(s, kFullWidthBlank, s.size() - 2) == s.size() - 2) {
            s.remove_suffix(2);
        } else {
            break;
        }
    }
    return s;
}

char Lower(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

bool StartsWithNoCase(std::string_view s, std::string_view prefix)
{
    if (s.size() < prefix.size())
        return false;
    for (std::size_t i = 0; i < prefix.size(); ++i)
        if (Lower(s[i]) != Lower(prefix[i]))
            return false;
    return true;
}

// Every "Set-Cookie" in any letter case, on character boundaries, written exactly so.
std::string NormaliseSetCookie(std::string_view block)
{
    static constexpr std::string_view kName = "Set-Cookie";
    std::string out(block);
    const auto* s = reinterpret_cast<const unsigned char*>(block.data());
    for (std::size_t i = 0; i + kName.size() <= block.size();) {
        if (StartsWithNoCase(block.substr(i), kName)) {
            out.replace(i, kName.size(), kName);
            i += kName.size();
        } else {
            i += static_cast<std::size_t>(gbk::CharLength(s, i, block.size()));
        }
    }
    return out;
}

bool IsOwnCodePage(std::string_view charset)
{
    static constexpr std::string_view kNames[] = {"gbk", "gb2312", "cp936", "x-gbk", "windows-936", "ms936"};
    for (std::string_view name : kNames)
        if (charset.size() == name.size() && StartsWithNoCase(charset, name))
            return true;
    return false;
}

} // namespace

std::string CollectSetCookies(std::string_view headerBlock)
{
    std::string block = NormaliseSetCookie(headerBlock);
    std::string result;
    for (std::string_view line : SplitLines(block)) {
        if (FindGbk(line, "Set-Cookie") == std::string_view::npos)
            continue;
        std::string item = line.find(';') != std::string_view::npos ? TextBetween(line, "Set-Cookie:", ";")
                                                                    : ReplaceAllGbk(line, "Set-Cookie:", "");
        std::string_view trimmed = TrimBlanks(item);
        if (trimmed.empty())
            continue; // a Set-Cookie line that carries no cookie adds nothing
        result.append(trimmed);
        result.append("; ");
    }
    if (!result.empty())
        result.resize(result.size() - 2);
    return result;
}

std::string ReadLocation(std::string_view headerBlock)
{
    for (std::string_view line : SplitLines(headerBlock))
        if (StartsWithNoCase(line, "Location: "))
            return std::string(line.substr(10));
    return {};
}

std::string CookieName(std::string_view item)
{
    std::size_t eq = item.find('=');
    if (eq == std::string_view::npos)
        return {};
    return std::string(TrimBlanks(item.substr(0, eq)));
}

std::string MergeCookies(std::string_view sent, std::string_view received)
{
    auto strip = [](std::string_view text) { return ReplaceAllGbk(ReplaceAllGbk(text, " ", ""), kFullWidthBlank, ""); };
    auto split = [](std::string_view text) {
        std::vector<std::string_view> items;
        std::size_t start = 0;
        while (true) {
            std::size_t end = text.find(';', start);
            items.push_back(text.substr(start, end == std::string_view::npos ? std::string_view::npos : end - start));
            if (end == std::string_view::npos)
                return items;
            start = end + 1;
        }
    };
    std::string sentText = strip(sent);
    std::string receivedText = strip(received);
    std::vector<std::string_view> receivedItems = split(receivedText);
    std::vector<std::string> receivedNames;
    for (std::string_view item : receivedItems)
        receivedNames.push_back(CookieName(item));

    std::string kept;
    for (std::string_view item : split(sentText)) {
        if (item.empty() || (item.size() >= 8 && item.substr(item.size() - 8) == "=deleted"))
            continue;
        std::string name = CookieName(item);
        bool replaced = false;
        for (const std::string& r : receivedNames)
            replaced = replaced || r == name;
        if (replaced)
            continue;
        if (!kept.empty())
            kept += "; ";
        kept.append(item);
    }
    std::string fresh;
    for (std::string_view item : receivedItems) {
        if (item.empty())
            continue;
        if (!fresh.empty())
            fresh += "; ";
        fresh.append(item);
    }
    if (!kept.empty() && !fresh.empty())
        kept += "; ";
    return kept + fresh;
}

std::string DetectCharset(std::string_view body)
{
    std::string_view text = body.substr(0, body.find('\0'));
    text = text.substr(0, kCharsetSearchBytes);
    RegexMatcher matcher;
    if (!matcher.Create(R"(<meta.+?charset=[^\w]?([-\w]+))", text, /*ignoreCase=*/true))
        return {};
    return matcher.SubMatchText(1, 1);
}

std::string DecodeText(std::string_view body, std::string_view charset)
{
    std::string_view untilZero = body.substr(0, body.find('\0'));
    if (IsOwnCodePage(charset)) {
        std::string out = Utf16ToGbk(GbkToUtf16(untilZero));
        return out;
    }
    std::string name(charset);
    iconv_t cd = iconv_open("UTF-16LE", name.c_str());
    if (cd == reinterpret_cast<iconv_t>(-1))
        return std::string(untilZero);

    // The body is converted piece by piece, so a large page never exists three times over.
    std::string out;
    out.reserve(body.size());
    std::u16string units(32 * 1024, u'\0');
    char* in = const_cast<char*>(body.data());
    std::size_t inLeft = body.size();
    bool first = true;
    bool stopped = false;
    auto flush = [&](std::size_t count) {
        std::u16string_view produced(units.data(), count);
        if (first && !produced.empty() && produced.front() == u'\uFEFF')
            produced.remove_prefix(1); // a byte-order mark is no text
        if (!produced.empty())
            first = false;
        std::size_t zero = produced.find(u'\0');
        if (zero != std::u16string_view::npos) {
            produced = produced.substr(0, zero);
            stopped = true;
        }
        AppendUtf16AsGbk(produced, out);
    };
    while (inLeft > 0 && !stopped) {
        char* outPtr = reinterpret_cast<char*>(units.data());
        std::size_t outLeft = units.size() * 2;
        std::size_t rc = iconv(cd, &in, &inLeft, &outPtr, &outLeft);
        int err = errno;
        flush((units.size() * 2 - outLeft) / 2);
        if (rc != static_cast<std::size_t>(-1) || stopped)
            continue;
        if (err == E2BIG)
            continue;
        // An invalid or cut-off sequence: one replacement character, then on past one byte.
        out += gbk::kDefaultByte;
        if (err == EINVAL) {
            inLeft = 0;
        } else {
            ++in;
            --inLeft;
        }
        iconv(cd, nullptr, nullptr, nullptr, nullptr);
    }
    iconv_close(cd);
    return out;
}

std::string BodyText(std::string&& body)
{
    std::string charset = DetectCharset(body);
    if (charset.empty() || charset == "gbk" || charset == "gb2312") {
        std::size_t zero = body.find('\0');
        if (zero != std::string::npos)
            body.resize(zero);
        return std::move(body);
    }
    return DecodeText(body, charset);
}

} // namespace quillmarsh
