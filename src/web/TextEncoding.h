#pragma once

#include <string>
#include <string_view>

// Conversions between the program's own text (GBK bytes, code page 936, whatever the machine's
// locale) and UTF-16, the percent-encoding of search keywords, and the quote placeholder of the
// program's constant texts.
namespace quillmarsh {

// The five-byte GBK text "#引号", which stands for a double quote in the program's constants.
inline constexpr std::string_view kQuotePlaceholder = "#\xD2\xFD\xBA\xC5";

// Program text to a UTF-16LE byte string ended by one zero unit; converts up to the first zero
// byte. An empty text gives an empty byte string.
std::string ToWide(std::string_view text);

// UTF-16LE byte string to program text, up to the first zero unit. An odd last byte is ignored.
std::string FromWide(std::string_view wide);

// Percent-encodes every byte that is not an ASCII letter or digit, with upper-case hex digits.
std::string UrlEncode(std::string_view text);

// Replaces every quote placeholder by one double quote.
std::string RestoreQuotes(std::string_view text);

// The text between the first occurrence of `left` and the first occurrence of `right` after it;
// empty when either is missing. Both markers may hold the quote placeholder. Markers are found
// on character boundaries only: never on the second byte of a double-byte character.
std::string TextBetween(std::string_view text, std::string_view left, std::string_view right);

// Finds `needle` in GBK `text` at or after byte `from`, on a character boundary only.
// Returns std::string_view::npos when absent.
std::size_t FindGbk(std::string_view text, std::string_view needle, std::size_t from = 0);

// `text` with every occurrence of `what` that begins on a character boundary replaced by `with`,
// left to right, in one pass.
std::string ReplaceAllGbk(std::string_view text, std::string_view what, std::string_view with);

// The whole-text converters behind the above; they do not stop at zero bytes or units.
// Bytes that are no GBK character, and units that GBK cannot hold, become "?".
std::u16string GbkToUtf16(std::string_view gbk);
std::string Utf16ToGbk(std::u16string_view utf16);
void AppendUtf16AsGbk(std::u16string_view utf16, std::string& out);

// UTF-8 at the edges of the program (source constants, file names, the window toolkit).
std::string GbkFromUtf8(std::string_view utf8);
std::string Utf8FromGbk(std::string_view gbk);
std::u16string Utf16FromUtf8(std::string_view utf8);
std::string Utf8FromUtf16(std::u16string_view utf16);

} // namespace quillmarsh
