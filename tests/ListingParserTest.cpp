#include "collect/ListingParser.h"
#include "collect/ListingPatterns.h"
#include "support/Gbk.h"
#include "support/MemoryControls.h"
#include "support/Pages.h"
#include "support/RegexMatcher.h"

#include <gtest/gtest.h>

using namespace quillmarsh;
using testing_support::MemoryControls;

namespace {

const std::string kFull(kFullTimeTraits.list);
const std::string kPart(kPartTimeTraits.list);

TEST(ListingPatterns, AreTheSitesPatternsCharacterForCharacter)
{
    EXPECT_EQ(GbkToUtf16(FullTimeListingPattern()).size(), 346u);
    EXPECT_EQ(GbkToUtf16(PartTimeListingPattern()).size(), 307u);
    const std::string& part = PartTimeListingPattern();
    EXPECT_EQ(part.substr(part.size() - 16), "\r\n\t    \t\t\t\t</dl>");
}

TEST(ParseListingPage, FullTimeRowsInPageOrder)
{
    fixture::FullTimeResume second;
    second.name = "张先生";
    second.sex = "男";
    second.age = "35岁";
    second.education = "大专";
    second.updated = "昨天";
    second.intro = "<b>熟悉</b>&amp;用友";
    second.link = "http://wh.example/resume/2.html";
    MemoryControls controls;
    RegexMatcher matcher;
    ParseListingPage(ResumeKind::FullTime, fixture::Page(fixture::FullTimeBlock({}) + fixture::FullTimeBlock(second)),
        matcher, controls);
    auto rows = controls.Rows(kFull);
    ASSERT_EQ(rows.size(), 2u);
    const std::vector<std::string> first = {"", "1", G("王女士"), G("女"), G("28岁"), G("会计"), G("本科"),
        G("3000-5000元"), G("今天"), G("工作认真负责。"), "", "http://wh.example/resume/1.html", ""};
    EXPECT_EQ(rows[0], first);
    EXPECT_EQ(rows[1][1], "2");
    EXPECT_EQ(rows[1][2], G("张先生"));
    EXPECT_EQ(rows[1][9], G("<b>熟悉</b>&amp;用友")) << "cells hold the text exactly as matched";
    EXPECT_EQ(rows[1][11], "http://wh.example/resume/2.html");
}

TEST(ParseListingPage, TwelveOperationsPerRowInOrder)
{
    MemoryControls controls;
    RegexMatcher matcher;
    ParseListingPage(ResumeKind::FullTime, fixture::Page(fixture::FullTimeBlock({})), matcher, controls);
    const std::vector<std::string> expected
        = {"AppendRow", "RowCount", "SetCellText 1", "SetCellText 2", "SetCellText 3", "SetCellText 4", "SetCellText 5",
            "SetCellText 6", "SetCellText 7", "SetCellText 8", "SetCellText 9", "SetCellText 11"};
    EXPECT_EQ(controls.Log(), expected);
}

TEST(ParseListingPage, PartTimeRows)
{
    MemoryControls controls;
    RegexMatcher matcher;
    ParseListingPage(ResumeKind::PartTime, fixture::Page(fixture::PartTimeBlock({}) + fixture::PartTimeBlock({})),
        matcher, controls);
    auto rows = controls.Rows(kPart);
    ASSERT_EQ(rows.size(), 2u);
    const std::vector<std::string> first = {"", "1", G("李先生"), G("男"), G("22岁"), G("促销员"), G("100元/天"),
        G("学生"), G("洪山"), G("3天前"), G("周末有空。"), "", ""};
    EXPECT_EQ(rows[0], first);
    EXPECT_EQ(rows[1][1], "2");
}

TEST(ParseListingPage, SerialNumbersContinueAcrossPages)
{
    MemoryControls controls;
    RegexMatcher matcher;
    const std::string one = fixture::Page(fixture::FullTimeBlock({}));
    ParseListingPage(ResumeKind::FullTime, one, matcher, controls);
    ParseListingPage(ResumeKind::FullTime, fixture::Page("<p>no resumes here</p>"), matcher, controls);
    ParseListingPage(ResumeKind::FullTime, "", matcher, controls);
    ParseListingPage(ResumeKind::FullTime, one, matcher, controls);
    auto rows = controls.Rows(kFull);
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[1][1], "2");
}

TEST(ParseListingPage, BlocksOutOfShape)
{
    struct Case {
        const char* name;
        ResumeKind kind;
        std::string page;
        std::vector<std::string> names; // column 2 of each row
    };
    fixture::FullTimeResume twoCharSex;
    twoCharSex.sex = "女性";
    twoCharSex.name = "甲";
    fixture::FullTimeResume latinSex;
    latinSex.sex = "F";
    latinSex.name = "乙";
    std::string missingSummary = fixture::FullTimeBlock({});
    missingSummary.replace(missingSummary.find("xw-summ"), 7, "summary");
    fixture::FullTimeResume third;
    third.name = "丙";
    const Case cases[] = {
        {"two-character sex runs on into the next block", ResumeKind::FullTime,
            fixture::Page(fixture::FullTimeBlock(twoCharSex) + fixture::FullTimeBlock(third)), {G("甲")}},
        {"non-ideograph sex likewise", ResumeKind::FullTime,
            fixture::Page(fixture::FullTimeBlock(latinSex) + fixture::FullTimeBlock(third)), {G("乙")}},
        {"missing anchor merges two resumes", ResumeKind::FullTime,
            fixture::Page(missingSummary + fixture::FullTimeBlock(third)), {G("王女士")}},
        {"part-time blocks with bare line feeds give nothing", ResumeKind::PartTime,
            fixture::Page(fixture::PartTimeBlock({}, "\n") + fixture::PartTimeBlock({}, "\n")), {}},
    };
    for (const Case& c : cases) {
        MemoryControls controls;
        RegexMatcher matcher;
        ParseListingPage(c.kind, c.page, matcher, controls);
        std::vector<std::string> names;
        for (const auto& row : controls.Rows(std::string(Traits(c.kind).list)))
            names.push_back(row[2]);
        EXPECT_EQ(names, c.names) << c.name;
    }
}

TEST(ParseListingPage, NamesOutsideGbkArriveReplaced)
{
    MemoryControls controls;
    RegexMatcher matcher;
    fixture::FullTimeResume r;
    r.name = "王😀";
    // What a UTF-8 page becomes once decoded: the character GBK cannot hold is a "?".
    ParseListingPage(ResumeKind::FullTime, GbkFromUtf8(fixture::FullTimeBlock(r)), matcher, controls);
    ASSERT_EQ(controls.Rows(kFull).size(), 1u);
    EXPECT_EQ(controls.Rows(kFull)[0][2], G("王?"));
}

} // namespace
