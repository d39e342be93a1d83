#include "support/RegexMatcher.h"
#include "collect/ListingPatterns.h"
#include "support/Gbk.h"
#include "support/Pages.h"
#include "web/ResponseStage.h"

#include "SampleSite.h"

#include <gtest/gtest.h>

using namespace quillmarsh;

namespace {

TEST(RegexMatcher, PlaceholderStandsForADoubleQuote)
{
    RegexMatcher m;
    ASSERT_TRUE(m.Create(G("title=#引号(.*?)#引号"), "<dd title=\"x y\">"));
    EXPECT_EQ(m.SubMatchText(1, 1), "x y");
    EXPECT_EQ(m.GetPattern(), "title=\"(.*?)\"");
}

TEST(RegexMatcher, EmptyResultsOutsideTheMatches)
{
    RegexMatcher m;
    EXPECT_EQ(m.GetPattern(), "");
    EXPECT_EQ(m.MatchCount(), 0);
    EXPECT_EQ(m.MatchText(1), "");

    ASSERT_TRUE(m.Create("(a)(b)", "xyz", false, false, true));
    EXPECT_EQ(m.MatchCount(), 0);
    EXPECT_EQ(m.MatchText(1), "");
    EXPECT_EQ(m.SubMatchCount(), 0);

    ASSERT_TRUE(m.Create("(a)(b)", "ab ab", false, false, true));
    EXPECT_EQ(m.MatchCount(), 2);
    EXPECT_EQ(m.SubMatchCount(), 2);
    EXPECT_EQ(m.SubMatchText(1, 3), "");
    EXPECT_EQ(m.SubMatchText(1, 0), "");
    EXPECT_EQ(m.SubMatchText(3, 1), "");
    EXPECT_EQ(m.MatchText(0), "");
    EXPECT_EQ(m.SubMatchText(2, 2), "b");
}

TEST(RegexMatcher, InvalidPatternFails)
{
    RegexMatcher m;
    EXPECT_FALSE(m.Create("(unclosed", "text"));
    EXPECT_EQ(m.MatchCount(), 0);
    EXPECT_EQ(m.MatchText(1), "");
}

TEST(RegexMatcher, ScriptingEngineSemantics)
{
    struct Case {
        const char* name;
        std::string pattern, text;
        bool ignoreCase, multiline, global;
        std::vector<std::string> matches;
    } cases[] = {
        {"dot stops at line feed only", "a.b", "a\nb a\rb", false, false, true, {"a\rb"}},
        {"any character class crosses lines", R"(a[\s\S]b)", "a\nb", false, false, true, {"a\nb"}},
        {"lazy is shortest", "<(.*?)>", "<1><2>", false, false, true, {"<1>", "<2>"}},
        {"not global gives the first", "<(.*?)>", "<1><2>", false, false, false, {"<1>"}},
        {"unicode escape range", R"([\u4e00-\u9fa5]+)", G("ab男女cd"), false, false, true, {G("男女")}},
        {"escape range excludes other characters", R"([\u4e00-\u9fa5])", G("，a１"), false, false, true, {}},
        {"ignore case", "ABC", "xabcx", true, false, true, {"abc"}},
        {"case matters by default", "ABC", "xabcx", false, false, true, {}},
        {"multiline anchors", "^b", "a\nb", false, true, true, {"b"}},
        {"anchors without multiline", "^b", "a\nb", false, false, true, {}},
        {"dollar only at the very end", "a$", "a\n", false, false, true, {}},
        {"empty matches advance one place", "x*", "abc", false, false, true, {"", "", "", ""}},
        {"hex escape", R"(\x41)", "BAB", false, false, true, {"A"}},
        {"non-word before a name", R"(charset=[^\w]?([-\w]+))", "charset=\"utf-8\"", false, false, true,
            {"charset=\"utf-8"}},
    };
    for (const Case& c : cases) {
        RegexMatcher m;
        ASSERT_TRUE(m.Create(c.pattern, c.text, c.ignoreCase, c.multiline, c.global)) << c.name;
        std::vector<std::string> found;
        for (int i = 1; i <= m.MatchCount(); ++i)
            found.push_back(m.MatchText(i));
        EXPECT_EQ(found, c.matches) << c.name;
    }
}

TEST(RegexMatcher, GroupThatTookNoPartIsEmpty)
{
    RegexMatcher m;
    ASSERT_TRUE(m.Create("(a)|(b)", "b"));
    EXPECT_EQ(m.SubMatchText(1, 1), "");
    EXPECT_EQ(m.SubMatchText(1, 2), "b");
}

TEST(RegexMatcher, PositionsAreGbkByteOffsets)
{
    RegexMatcher m;
    std::string text = G("姓名：王女士 age=28");
    ASSERT_TRUE(m.Create(G(R"(([\u4e00-\u9fa5])女士 age=(\d+))"), text));
    int position = -1;
    EXPECT_EQ(m.MatchText(1, &position), G("王女士 age=28"));
    EXPECT_EQ(position, 6); // 姓名： is three characters, six bytes
    EXPECT_EQ(m.SubMatchText(1, 2, &position), "28");
    EXPECT_EQ(position, static_cast<int>(text.size()) - 2);
    // A group text that occurs earlier too is still placed where it matched.
    ASSERT_TRUE(m.Create("b(a)", G("a文ba")));
    EXPECT_EQ(m.SubMatchText(1, 1, &position), "a");
    EXPECT_EQ(position, 4);
}

TEST(RegexMatcher, ReplaceUnderstandsTheScriptingSyntax)
{
    struct Case {
        const char* name;
        bool global;
        std::string replacement, out;
    } cases[] = {
        {"groups", true, "[$2$1]", "[1a] [2b]"},
        {"whole match", true, "<$&>", "<a1> <b2>"},
        {"dollar sign", true, "$$", "$ $"},
        {"before and after", false, "($`|$')", "(| b2) b2"},
        {"first only without global", false, "X", "X b2"},
        {"group the pattern lacks stays literal", true, "$3$0", "$3$0 $3$0"},
        {"two-digit group falls back to one digit", true, "$10", "a0 b0"},
    };
    for (const Case& c : cases) {
        RegexMatcher m;
        ASSERT_TRUE(m.Create("([a-z])(\\d)", "", false, false, c.global));
        EXPECT_EQ(m.Replace("a1 b2", c.replacement), c.out) << c.name;
    }
    RegexMatcher none;
    EXPECT_EQ(none.Replace("text", "x"), "") << "no pattern, no text";
}

TEST(RegexMatcher, CopiesShareTheMatchesOfTheirTime)
{
    RegexMatcher m;
    ASSERT_TRUE(m.Create("(\\d)", "1 2", false, false, true));
    RegexMatcher copy = m;
    ASSERT_TRUE(m.Create("x", "y"));
    EXPECT_EQ(copy.MatchCount(), 2);
    EXPECT_EQ(copy.SubMatchText(2, 1), "2");
    EXPECT_EQ(copy.GetPattern(), "(\\d)");
    EXPECT_EQ(m.MatchCount(), 0);
}

// Pages whose part-time blocks end in bare line feeds make a backtracking engine try every
// combination of the lazy gaps. They must give no match, quickly, and cut nothing that follows.
TEST(RegexMatcher, PathologicalPagesNeitherStallNorCutShort)
{
    const std::string& pattern = PartTimeListingPattern();
    for (int blocks : {10, 30, 300}) {
        std::string body;
        for (int i = 0; i < blocks; ++i)
            body += fixture::PartTimeBlock({}, "\n");
        RegexMatcher m;
        ASSERT_TRUE(m.Create(pattern, fixture::Page(body), false, false, true)) << blocks;
        EXPECT_EQ(m.MatchCount(), 0) << blocks;

        fixture::PartTimeResume real;
        real.name = "赵女士";
        std::string mixed = body + fixture::PartTimeBlock(real) + fixture::PartTimeBlock({});
        ASSERT_TRUE(m.Create(pattern, fixture::Page(mixed), false, false, true));
        // The first real block's match starts at the first name of the LF-only stretch: the lazy
        // gaps reach across it, as the scripting engine's would.
        ASSERT_EQ(m.MatchCount(), 2) << blocks;
        EXPECT_EQ(m.SubMatchText(1, 1), G("李先生"));
        EXPECT_EQ(m.SubMatchText(2, 1), G("李先生"));
        EXPECT_EQ(m.SubMatchText(2, 10), G("3天前"));
    }
}

// The same pages through PCRE2 alone and through RE2 alone give the same matches and groups.
TEST(RegexMatcher, BothEnginesAgreeOnRealisticPages)
{
    struct Page {
        ResumeKind kind;
        std::string text;
    };
    std::vector<Page> pages;
    for (ResumeKind kind : {ResumeKind::FullTime, ResumeKind::PartTime})
        for (int page = 1; page <= 6; ++page)
            pages.push_back({kind, BodyText(sample::PageBytes(kind, "wh", page, "会计", "wh.localhost"))});
    fixture::FullTimeResume twoCharSex;
    twoCharSex.sex = "女性";
    pages.push_back({ResumeKind::FullTime,
        fixture::Page(fixture::FullTimeBlock({}) + fixture::FullTimeBlock(twoCharSex) + fixture::FullTimeBlock({}))});

    for (const Page& p : pages) {
        auto run = [&](unsigned limit) {
            RegexMatcher::SetMatchLimitForThisThread(limit);
            RegexMatcher m;
            EXPECT_TRUE(m.Create(ListingPattern(p.kind), p.text, false, false, true));
            std::vector<std::string> all;
            for (int i = 1; i <= m.MatchCount(); ++i) {
                int position = -1;
                all.push_back(m.MatchText(i, &position) + "@" + std::to_string(position));
                for (int g = 1; g <= m.SubMatchCount(); ++g)
                    all.push_back(m.SubMatchText(i, g));
            }
            RegexMatcher::SetMatchLimitForThisThread(0);
            return all;
        };
        std::vector<std::string> pcre2 = run(0);
        std::vector<std::string> re2 = run(1); // every search hits the limit at once
        EXPECT_FALSE(pcre2.empty());
        EXPECT_EQ(pcre2, re2);
    }
}

} // namespace
