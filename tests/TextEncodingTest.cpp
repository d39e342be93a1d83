#include "web/TextEncoding.h"
#include "support/Gbk.h"

#include <gtest/gtest.h>

#include <iconv.h>

using namespace quillmarsh;

namespace {

std::string Bytes(std::initializer_list<unsigned> values)
{
    std::string s;
    for (unsigned v : values)
        s += static_cast<char>(v);
    return s;
}

// The C library's converter, as a reference for the tables.
std::u16string ReferenceDecode(const std::string& gbk)
{
    iconv_t cd = iconv_open("UTF-16LE", "CP936");
    std::string out(gbk.size() * 4, '\0');
    char* in = const_cast<char*>(gbk.data());
    char* o = out.data();
    size_t il = gbk.size(), ol = out.size();
    iconv(cd, &in, &il, &o, &ol);
    iconv_close(cd);
    out.resize(out.size() - ol);
    return std::u16string(reinterpret_cast<const char16_t*>(out.data()), out.size() / 2);
}

TEST(UrlEncode, EncodesEveryByteButLettersAndDigits)
{
    struct Case {
        const char* name;
        std::string in;
        std::string out;
    } cases[] = {
        {"chinese keyword", G("会计"), "%BB%E1%BC%C6"},
        {"blank", " ", "%20"},
        {"tab", "\t", "%09"},
        {"letters and digits", "azAZ09", "azAZ09"},
        {"punctuation", "-_.~+/", "%2D%5F%2E%7E%2B%2F"},
        {"empty", "", ""},
        {"high and low bytes", Bytes({0x01, 0xFF, 0x80}), "%01%FF%80"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(UrlEncode(c.in), c.out) << c.name;
}

TEST(ToWide, GivesUtf16WithTerminatingZeroUnit)
{
    EXPECT_EQ(ToWide("A"), Bytes({'A', 0, 0, 0}));
    EXPECT_EQ(ToWide(""), "");
    EXPECT_EQ(ToWide(G("会")), Bytes({0x1A, 0x4F, 0, 0})); // U+4F1A
    EXPECT_EQ(ToWide(std::string("ab\0cd", 5)), Bytes({'a', 0, 'b', 0, 0, 0})) << "stops at the first zero byte";
}

TEST(FromWide, StopsAtTheFirstZeroUnit)
{
    EXPECT_EQ(FromWide(Bytes({'a', 0, 0, 0, 'b', 0})), "a");
    EXPECT_EQ(FromWide(Bytes({0x1A, 0x4F, 0x61, 0x00})), G("会") + "a");
    EXPECT_EQ(FromWide(Bytes({'x', 0, 'y'})), "x") << "an odd last byte is ignored";
    EXPECT_EQ(FromWide(""), "");
}

TEST(Conversions, CharactersOutsideGbkBecomeQuestionMarks)
{
    EXPECT_EQ(Utf16ToGbk(u"a\u20A9b"), "a?b");       // won sign
    EXPECT_EQ(Utf16ToGbk(u"\U0001F600x"), "?x");     // one "?" for a surrogate pair
    EXPECT_EQ(Utf16ToGbk(u"\xD800z"), "?z");         // a lone surrogate
    EXPECT_EQ(Utf16ToGbk(u"\u20AC"), Bytes({0x80})); // the euro sign is a single byte
    EXPECT_EQ(GbkFromUtf8("鿏王"), G("?王"));
}

TEST(Conversions, InvalidGbkNeverSwallowsWhatFollows)
{
    struct Case {
        const char* name;
        std::string gbk;
        std::u16string units;
    } cases[] = {
        {"trailing lead byte", Bytes({'a', 0xB0}), u"a?"},
        {"lead byte before ASCII", Bytes({0xB0, 'A', 'B'}), u"?AB"}, // 0x41 is a valid trail byte...
        {"lead byte before a control", Bytes({0xB0, 0x0A, 'x'}), u"?\nx"},
        {"lead byte before a zero", Bytes({0xB0, 0x00, 'x'}), std::u16string(u"?\0x", 3)},
        {"lone 0xFF", Bytes({0xFF, 'x'}), u"\uF8F5x"},
    };
    // ...so the second case is a two-byte character, as Windows reads it: check what it is.
    cases[1].units = std::u16string(1, ReferenceDecode(Bytes({0xB0, 'A'}))[0]) + u"B";
    for (const Case& c : cases)
        EXPECT_EQ(GbkToUtf16(c.gbk), c.units) << c.name;
}

TEST(Conversions, TablesAgreeWithTheReferenceConverter)
{
    // Every pair the C library maps decodes to the same unit, and encodes back to its own bytes.
    std::size_t compared = 0;
    for (unsigned lead = 0x81; lead <= 0xFE; ++lead) {
        for (unsigned trail = 0x40; trail <= 0xFE; ++trail) {
            if (trail == 0x7F)
                continue;
            std::string pair = Bytes({lead, trail});
            std::u16string reference = ReferenceDecode(pair);
            if (reference.size() != 1)
                continue;
            ASSERT_EQ(GbkToUtf16(pair), reference) << std::hex << lead << " " << trail;
            ++compared;
        }
    }
    EXPECT_GT(compared, 21000u);
}

TEST(Conversions, LongMixedTextRoundTrips)
{
    std::string text;
    for (int i = 0; i < 1000; ++i)
        text += G("姓名：王女士 <dd class=\"w50\">女</dd>\r\n") + std::to_string(i);
    EXPECT_EQ(Utf16ToGbk(GbkToUtf16(text)), text);
    EXPECT_EQ(Utf8FromGbk(text), Utf8FromUtf16(GbkToUtf16(text)));
}

TEST(RestoreQuotes, ReplacesEveryPlaceholder)
{
    EXPECT_EQ(RestoreQuotes("plain"), "plain");
    EXPECT_EQ(RestoreQuotes(G("#引号#引号")), "\"\"");
    EXPECT_EQ(RestoreQuotes(G("a=#引号x#引号")), "a=\"x\"");
    EXPECT_EQ(std::string(kQuotePlaceholder), G("#引号"));
}

TEST(TextBetween, CutsBetweenMarkers)
{
    struct Case {
        const char* name;
        std::string text, left, right, out;
    } cases[] = {
        {"cookie line", "Set-Cookie: a=1; path=/", "Set-Cookie:", ";", " a=1"},
        {"right marker only before left", "b;Set-Cookie: x", "Set-Cookie:", ";", ""},
        {"left missing", "abc", "x", "c", ""},
        {"empty between", "[]", "[", "]", ""},
        {"placeholder in markers", "title=\"x\">", G("title=#引号"), G("#引号"), "x"},
        {"first right after left", "a<1>2>", "<", ">", "1"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(TextBetween(c.text, c.left, c.right), c.out) << c.name;
}

TEST(TextBetween, NeverMatchesOnTheSecondByteOfACharacter)
{
    // 乕 is 0x81 0x5B in GBK: its second byte is "[". The marker "[" must not be found inside it.
    std::string text = G("乕") + "x[y]";
    ASSERT_EQ(static_cast<unsigned char>(text[1]), 0x5Bu);
    EXPECT_EQ(TextBetween(text, "[", "]"), "y");
    EXPECT_EQ(FindGbk(text, "["), 3u);
    // And a two-byte marker that straddles two characters is not found: 0xB0 0xA1 | 0xA1 0xB0.
    std::string straddle = Bytes({0xB0, 0xA1, 0xA1, 0xB0});
    EXPECT_EQ(FindGbk(straddle, Bytes({0xA1, 0xA1})), std::string::npos);
}

} // namespace
