#pragma once

#include <string>
#include <string_view>

// What the web client does with a response once it has arrived: cookies, redirect target and the
// body as program text.
namespace quillmarsh {

// "name=value; ..." of every Set-Cookie line of a header block, attributes dropped, in order.
std::string CollectSetCookies(std::string_view headerBlock);

// The value of the first line that begins "Location: " (any letter case), unchanged; or empty.
std::string ReadLocation(std::string_view headerBlock);

// The text before the first "=" of a cookie item, without blanks at either end.
std::string CookieName(std::string_view item);

// The sent cookie text with the received one merged in: sent items survive unless empty, a
// deletion ("=deleted"), or replaced by a received item of the same name; received items follow.
std::string MergeCookies(std::string_view sent, std::string_view received);

// The charset named by the page's first <meta ... charset=...>, or empty.
std::string DetectCharset(std::string_view body);

// The body in `charset` as program text; characters GBK cannot hold become "?". A charset that
// the converter does not know gives the body byte for byte. Stops at the first zero character.
std::string DecodeText(std::string_view body, std::string_view charset);

// The body as program text: byte for byte for pages that name no charset, "gbk" or "gb2312";
// decoded for any other. Consumes `body`.
std::string BodyText(std::string&& body);

} // namespace quillmarsh
