#include "web/ResponseStage.h"
#include "support/Gbk.h"

#include <gtest/gtest.h>

using namespace quillmarsh;

namespace {

TEST(CollectSetCookies, TakesNameValueOfEverySetCookieLine)
{
    struct Case {
        const char* name;
        std::string block, cookies;
    } cases[] = {
        {"attributes dropped, order kept", "HTTP/1.1 200 OK\r\nSet-Cookie: a=1; path=/\r\nSet-Cookie: b=2\r\n\r\n",
            "a=1; b=2"},
        {"any letter case", "HTTP/1.1 200 OK\r\nset-cookie: a=1; HttpOnly\r\n", "a=1"},
        {"no Set-Cookie line", "HTTP/1.1 200 OK\r\nContent-Type: text/html\r\n", ""},
        {"blanks trimmed, full-width too", "SET-COOKIE:   x=1 \r\nSet-Cookie:" + G("　y=2　") + ";a\r\n", "x=1; y=2"},
        {"a line without a cookie adds nothing", "Set-Cookie:\r\nSet-Cookie: ; path=/\r\nSet-Cookie: c=3\r\n", "c=3"},
        {"duplicates are kept", "Set-Cookie: a=1\r\nSet-Cookie: a=2\r\n", "a=1; a=2"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(CollectSetCookies(c.block), c.cookies) << c.name;
}

TEST(ReadLocation, NeedsTheBlankAfterTheColon)
{
    EXPECT_EQ(ReadLocation("HTTP/1.1 302 Found\r\nLocation: /next\r\n\r\n"), "/next");
    EXPECT_EQ(ReadLocation("HTTP/1.1 302 Found\r\nlocation: /x y\r\n"), "/x y");
    EXPECT_EQ(ReadLocation("HTTP/1.1 302 Found\r\nLocation:/next\r\n"), "");
    EXPECT_EQ(ReadLocation("HTTP/1.1 302 Found\r\nLocation:  /two\r\n"), " /two");
    EXPECT_EQ(ReadLocation("HTTP/1.1 302 Found\r\nContent-Location: /no\r\n"), "");
    EXPECT_EQ(ReadLocation("Location: /first\r\nLocation: /second\r\n"), "/first");
}

TEST(MergeCookies, TheTextsExamples)
{
    struct Case {
        std::string sent, received, merged;
    } cases[] = {
        {"a=1; b=2", "b=3", "a=1; b=3"},
        {"a=1; b=2", "c=4", "a=1; b=2; c=4"},
        {"a=1; b=2", "a=deleted", "b=2; a=deleted"},
        {"b=2; a=deleted", "", "b=2"},
        {"", "x=1", "x=1"},
        {"a = 1", "", "a=1"},
        {"a=1;;b=2;", "", "a=1; b=2"},
        {"a=1", "b=2; c=3", "a=1; b=2; c=3"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(MergeCookies(c.sent, c.received), c.merged) << c.sent << " + " << c.received;
    EXPECT_EQ(MergeCookies(std::string(1 << 20, ' ') + "a=1", std::string(1 << 20, ' ')), "a=1") << "in one pass";
    EXPECT_EQ(CookieName(" sid =abc"), "sid");
    EXPECT_EQ(CookieName("novalue"), "");
}

TEST(DetectCharset, ReadsTheFirstMetaCharset)
{
    struct Case {
        const char* name;
        std::string body, charset;
    } cases[] = {
        {"html5", "<html><head><meta charset=\"utf-8\">", "utf-8"},
        {"http-equiv", "<meta http-equiv=\"Content-Type\" content=\"text/html; charset=gb2312\" />", "gb2312"},
        {"capital tag and name", "<META CONTENT=\"text/html; CHARSET=GBK\">", "GBK"},
        {"name stops at a quote", "<meta charset='big5'>", "big5"},
        {"none", "<html><body>charset=utf-8</body></html>", ""},
        {"stops at a zero byte", std::string("<p>\0<meta charset=utf-8>", 25), ""},
        {"long name", "<meta charset=" + std::string(10000, 'x') + ">", std::string(10000, 'x')},
    };
    for (const Case& c : cases)
        EXPECT_EQ(DetectCharset(c.body), c.charset) << c.name;
}

TEST(BodyText, DecodesOnlyPagesInAnotherCharset)
{
    const std::string gbkPage = G("<meta charset=\"gbk\"><p>王女士</p>");
    EXPECT_EQ(BodyText(std::string(gbkPage)), gbkPage);

    const std::string utf8Page = "<meta charset=\"utf-8\"><p>王女士😀</p>";
    EXPECT_EQ(BodyText(std::string(utf8Page)), G("<meta charset=\"utf-8\"><p>王女士?</p>"));

    const std::string capitals = G("<meta charset=\"GBK\"><p>王女士</p>");
    EXPECT_EQ(BodyText(std::string(capitals)), capitals) << "decoded, and the same text";

    const std::string noMeta = "<p>王女士</p>"; // UTF-8 bytes, left as they are
    EXPECT_EQ(BodyText(std::string(noMeta)), noMeta);

    EXPECT_EQ(BodyText(std::string("<p>ab\0cd</p>", 12)), "<p>ab");

    const std::string unknown = "<meta charset=\"no-such-set\">\xE7\x8E\x8B";
    EXPECT_EQ(BodyText(std::string(unknown)), unknown) << "a charset nobody knows: byte for byte";
}

TEST(DecodeText, BrokenInputGivesReplacementsNotLosses)
{
    EXPECT_EQ(DecodeText("a\xFF"
                         "b",
                  "utf-8"),
        "a?b");
    EXPECT_EQ(DecodeText("ab\xE7\x8E", "utf-8"), "ab?");
    EXPECT_EQ(DecodeText("\xEF\xBB\xBFx", "utf-8"), "x") << "byte-order mark dropped";
    EXPECT_EQ(DecodeText(std::string("x\0y", 3), "utf-8"), "x");
    EXPECT_EQ(DecodeText("\xA4\xA4", "big5"), G("中"));
    EXPECT_EQ(DecodeText(G("中文"), "gb2312"), G("中文"));
}

} // namespace
