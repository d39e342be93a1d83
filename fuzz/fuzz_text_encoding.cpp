// Conversions between program text and UTF-16, percent-encoding and marker search, on any bytes.
#include "web/GbkTable.h"
#include "web/TextEncoding.h"

#include <cstdlib>
#include <string>

using namespace quillmarsh;

extern "C" int LLVMFuzzerTestOneInput(const unsigned char* data, std::size_t size)
{
    const std::string text(reinterpret_cast<const char*>(data), size);

    const std::u16string units = GbkToUtf16(text);
    if (units.size() > text.size())
        std::abort();
    const std::string back = Utf16ToGbk(units);
    // Decoding and encoding again is stable: what came back decodes to the same units.
    if (GbkToUtf16(back) != units)
        std::abort();

    const std::string wide = ToWide(text);
    if (wide.size() % 2 != 0 || (!wide.empty() && (wide[wide.size() - 1] != 0 || wide[wide.size() - 2] != 0)))
        std::abort();
    if (FromWide(wide) != Utf16ToGbk(GbkToUtf16(text.substr(0, text.find('\0')))))
        std::abort();
    (void)FromWide(text);

    const std::string encoded = UrlEncode(text);
    if (encoded.size() < size || encoded.size() > 3 * size)
        std::abort();

    // Markers cut from the input itself.
    const std::size_t cut = size ? data[0] % (size + 1) : 0;
    const std::string left = text.substr(0, cut % 4);
    const std::string right = text.substr(cut, 2);
    const std::string between = TextBetween(text, left, right);
    if (between.size() > text.size())
        std::abort();
    const std::size_t at = FindGbk(text, right);
    if (at != std::string::npos) {
        // Found only on a character start.
        std::size_t i = 0;
        const auto* s = reinterpret_cast<const unsigned char*>(text.data());
        while (i < at)
            i += static_cast<std::size_t>(gbk::CharLength(s, i, text.size()));
        if (i != at)
            std::abort();
    }
    (void)RestoreQuotes(text);
    (void)Utf8FromGbk(text);
    (void)GbkFromUtf8(text);
    return 0;
}
