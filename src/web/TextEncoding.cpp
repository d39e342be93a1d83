#include "web/TextEncoding.h"

#include "web/GbkTable.h"

#include <bit>
#include <cstdint>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace quillmarsh {

namespace {

// Decodes GBK into `out`, which has room for n units; returns the number of units written.
std::size_t DecodeGbk(const unsigned char* s, std::size_t n, char16_t* out)
{
    const gbk::Tables& t = gbk::GetTables();
    char16_t* o = out;
    std::size_t i = 0;
    while (i < n) {
#if defined(__SSE2__)
        // Pages are mostly ASCII markup: widen sixteen bytes at a time while no high bit is set.
        while (i + 16 <= n) {
            __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(s + i));
            if (_mm_movemask_epi8(v) != 0)
                break;
            __m128i zero = _mm_setzero_si128();
            _mm_storeu_si128(reinterpret_cast<__m128i*>(o), _mm_unpacklo_epi8(v, zero));
            _mm_storeu_si128(reinterpret_cast<__m128i*>(o + 8), _mm_unpackhi_epi8(v, zero));
            i += 16;
            o += 16;
        }
        if (i >= n)
            break;
#endif
        unsigned char b = s[i];
        if (b < 0x80) {
            *o++ = b;
            ++i;
        } else if (b == 0x80) {
            *o++ = u'\u20AC';
            ++i;
        } else if (b == 0xFF) {
            *o++ = u'\uF8F5';
            ++i;
        } else if (i + 1 < n && gbk::IsTrail(s[i + 1])) {
            char16_t u = t.doubleByte[b << 8 | s[i + 1]];
            *o++ = u ? u : gbk::kDefaultUnit;
            i += 2;
        } else {
            // A lead byte without its second byte: one "?", and the next byte is read on its own.
            *o++ = gbk::kDefaultUnit;
            ++i;
        }
    }
    return static_cast<std::size_t>(o - out);
}

// Encodes UTF-16 as GBK into `out`, which has room for 2n bytes; returns the bytes written.
std::size_t EncodeGbk(const char16_t* s, std::size_t n, char* out)
{
    const gbk::Tables& t = gbk::GetTables();
    char* o = out;
    std::size_t i = 0;
    while (i < n) {
#if defined(__SSE2__)
        while (i + 16 <= n) {
            __m128i a = _mm_loadu_si128(reinterpret_cast<const __m128i*>(s + i));
            __m128i b = _mm_loadu_si128(reinterpret_cast<const __m128i*>(s + i + 8));
            __m128i high = _mm_and_si128(_mm_or_si128(a, b), _mm_set1_epi16(static_cast<short>(0xFF80)));
            if (_mm_movemask_epi8(_mm_cmpeq_epi16(high, _mm_setzero_si128())) != 0xFFFF)
                break;
            _mm_storeu_si128(reinterpret_cast<__m128i*>(o), _mm_packus_epi16(a, b));
            i += 16;
            o += 16;
        }
        if (i >= n)
            break;
#endif
        char16_t u = s[i];
        if (u < 0x80) {
            *o++ = static_cast<char>(u);
            ++i;
            continue;
        }
        if (u >= 0xD800 && u <= 0xDBFF && i + 1 < n && s[i + 1] >= 0xDC00 && s[i + 1] <= 0xDFFF) {
            // A character outside the Basic Multilingual Plane: GBK holds none of them.
            *o++ = gbk::kDefaultByte;
            i += 2;
            continue;
        }
        std::uint16_t code = t.fromUnicode[u];
        if (code == 0) {
            *o++ = gbk::kDefaultByte;
        } else if (code < 0x100) {
            *o++ = static_cast<char>(code);
        } else {
            *o++ = static_cast<char>(code >> 8);
            *o++ = static_cast<char>(code & 0xFF);
        }
        ++i;
    }
    return static_cast<std::size_t>(o - out);
}

} // namespace

std::u16string GbkToUtf16(std::string_view gbk)
{
    std::u16string out;
    out.resize(gbk.size());
    out.resize(DecodeGbk(reinterpret_cast<const unsigned char*>(gbk.data()), gbk.size(), out.data()));
    return out;
}

void AppendUtf16AsGbk(std::u16string_view utf16, std::string& out)
{
    std::size_t old = out.size();
    out.resize(old + 2 * utf16.size());
    out.resize(old + EncodeGbk(utf16.data(), utf16.size(), out.data() + old));
}

std::string Utf16ToGbk(std::u16string_view utf16)
{
    std::string out;
    AppendUtf16AsGbk(utf16, out);
    return out;
}

std::string ToWide(std::string_view text)
{
    text = text.substr(0, text.find('\0'));
    if (text.empty())
        return {};
    std::u16string units = GbkToUtf16(text);
    if constexpr (std::endian::native == std::endian::big) {
        for (char16_t& u : units)
            u = static_cast<char16_t>(u << 8 | u >> 8);
    }
    std::string out((units.size() + 1) * 2, '\0'); // ends with the terminating zero unit
    std::memcpy(out.data(), units.data(), units.size() * 2);
    return out;
}

std::string FromWide(std::string_view wide)
{
    std::u16string units(wide.size() / 2, u'\0');
    std::memcpy(units.data(), wide.data(), units.size() * 2);
    if constexpr (std::endian::native == std::endian::big) {
        for (char16_t& u : units)
            u = static_cast<char16_t>(u << 8 | u >> 8);
    }
    return Utf16ToGbk(std::u16string_view(units).substr(0, units.find(u'\0')));
}

std::string UrlEncode(std::string_view text)
{
    static const char kHex[] = "0123456789ABCDEF";
    std::string out;
    out.reserve(text.size() * 3);
    for (unsigned char b : text) {
        bool plain = (b >= '0' && b <= '9') || (b >= 'A' && b <= 'Z') || (b >= 'a' && b <= 'z');
        if (plain) {
            out += static_cast<char>(b);
        } else {
            out += '%';
            out += kHex[b >> 4];
            out += kHex[b & 0x0F];
        }
    }
    return out;
}

std::size_t FindGbk(std::string_view text, std::string_view needle, std::size_t from)
{
    if (from > text.size())
        return std::string_view::npos;
    const auto* s = reinterpret_cast<const unsigned char*>(text.data());
    std::size_t boundary = 0; // a character start at or before the candidate
    std::size_t pos = from;
    while (true) {
        pos = text.find(needle, pos);
        if (pos == std::string_view::npos)
            return pos;
        // Walk character starts up to the candidate; the walk never goes back, so the whole
        // search stays linear in the text.
        while (boundary < pos)
            boundary += static_cast<std::size_t>(gbk::CharLength(s, boundary, text.size()));
        if (boundary == pos)
            return pos;
        ++pos; // the candidate began on a second byte
    }
}

std::string ReplaceAllGbk(std::string_view text, std::string_view what, std::string_view with)
{
    if (what.empty())
        return std::string(text);
    const auto* s = reinterpret_cast<const unsigned char*>(text.data());
    std::string out;
    out.reserve(text.size());
    std::size_t copied = 0;
    std::size_t boundary = 0; // the walk over character starts only goes forward: one pass in all
    for (std::size_t pos = text.find(what); pos != std::string_view::npos;) {
        while (boundary < pos)
            boundary += static_cast<std::size_t>(gbk::CharLength(s, boundary, text.size()));
        if (boundary != pos) {
            pos = text.find(what, pos + 1); // began on a second byte
            continue;
        }
        out.append(text.substr(copied, pos - copied));
        out.append(with);
        copied = pos + what.size();
        pos = text.find(what, copied);
    }
    out.append(text.substr(copied));
    return out;
}

std::string RestoreQuotes(std::string_view text) { return ReplaceAllGbk(text, kQuotePlaceholder, "\""); }

std::string TextBetween(std::string_view text, std::string_view left, std::string_view right)
{
    std::string l = RestoreQuotes(left);
    std::string r = RestoreQuotes(right);
    std::size_t at = FindGbk(text, l);
    if (at == std::string_view::npos)
        return {};
    std::size_t start = at + l.size();
    std::size_t end = FindGbk(text, r, start);
    if (end == std::string_view::npos)
        return {};
    return std::string(text.substr(start, end - start));
}

std::u16string Utf16FromUtf8(std::string_view utf8)
{
    std::u16string out;
    out.reserve(utf8.size());
    const auto* s = reinterpret_cast<const unsigned char*>(utf8.data());
    std::size_t n = utf8.size(), i = 0;
    while (i < n) {
        unsigned char b = s[i];
        char32_t cp;
        int len;
        if (b < 0x80) {
            cp = b;
            len = 1;
        } else if ((b & 0xE0) == 0xC0) {
            cp = b & 0x1F;
            len = 2;
        } else if ((b & 0xF0) == 0xE0) {
            cp = b & 0x0F;
            len = 3;
        } else if ((b & 0xF8) == 0xF0) {
            cp = b & 0x07;
            len = 4;
        } else {
            out.push_back(u'\uFFFD');
            ++i;
            continue;
        }
        if (i + static_cast<std::size_t>(len) > n) {
            out.push_back(u'\uFFFD');
            ++i;
            continue;
        }
        bool ok = true;
        for (int k = 1; k < len; ++k) {
            if ((s[i + k] & 0xC0) != 0x80) {
                ok = false;
                break;
            }
            cp = cp << 6 | (s[i + k] & 0x3F);
        }
        if (!ok || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) {
            out.push_back(u'\uFFFD');
            ++i;
            continue;
        }
        if (cp >= 0x10000) {
            cp -= 0x10000;
            out.push_back(static_cast<char16_t>(0xD800 + (cp >> 10)));
            out.push_back(static_cast<char16_t>(0xDC00 + (cp & 0x3FF)));
        } else {
            out.push_back(static_cast<char16_t>(cp));
        }
        i += static_cast<std::size_t>(len);
    }
    return out;
}

std::string Utf8FromUtf16(std::u16string_view utf16)
{
    std::string out;
    out.reserve(utf16.size() * 3);
    for (std::size_t i = 0; i < utf16.size(); ++i) {
        char32_t cp = utf16[i];
        if (cp >= 0xD800 && cp <= 0xDBFF && i + 1 < utf16.size() && utf16[i + 1] >= 0xDC00 && utf16[i + 1] <= 0xDFFF) {
            cp = 0x10000 + ((cp - 0xD800) << 10) + (utf16[i + 1] - 0xDC00);
            ++i;
        } else if (cp >= 0xD800 && cp <= 0xDFFF) {
            cp = 0xFFFD;
        }
        if (cp < 0x80) {
            out += static_cast<char>(cp);
        } else if (cp < 0x800) {
            out += static_cast<char>(0xC0 | cp >> 6);
            out += static_cast<char>(0x80 | (cp & 0x3F));
        } else if (cp < 0x10000) {
            out += static_cast<char>(0xE0 | cp >> 12);
            out += static_cast<char>(0x80 | (cp >> 6 & 0x3F));
            out += static_cast<char>(0x80 | (cp & 0x3F));
        } else {
            out += static_cast<char>(0xF0 | cp >> 18);
            out += static_cast<char>(0x80 | (cp >> 12 & 0x3F));
            out += static_cast<char>(0x80 | (cp >> 6 & 0x3F));
            out += static_cast<char>(0x80 | (cp & 0x3F));
        }
    }
    return out;
}

std::string GbkFromUtf8(std::string_view utf8) { return Utf16ToGbk(Utf16FromUtf8(utf8)); }

std::string Utf8FromGbk(std::string_view gbk) { return Utf8FromUtf16(GbkToUtf16(gbk)); }

} // namespace quillmarsh
