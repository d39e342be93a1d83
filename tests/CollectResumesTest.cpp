#include "collect/CollectResumes.h"
#include "support/Gbk.h"
#include "support/MemoryControls.h"

#include "SampleSite.h"

#include <gtest/gtest.h>

using namespace quillmarsh;
using testing_support::MemoryControls;

namespace {

TEST(CityCode, FourCitiesAndNothingElse)
{
    EXPECT_EQ(CityCode(0), "cs");
    EXPECT_EQ(CityCode(1), "wh");
    EXPECT_EQ(CityCode(2), "bj");
    EXPECT_EQ(CityCode(3), "sh");
    EXPECT_EQ(CityCode(-1), "");
    EXPECT_EQ(CityCode(4), "");
}

TEST(ParsePageCount, ReadsLikeAStandardConversion)
{
    struct Case {
        std::string text;
        std::int64_t pages;
    } cases[] = {
        {"", 0},
        {"3", 3},
        {"  12abc", 12},
        {"-3", -3},
        {"+4", 4},
        {"abc", 0},
        {"007", 7},
        {G("１２"), 12},
        {G("－２"), -2},
        {G("　５"), 5},
        {"99999999999999999999999", INT64_MAX},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ParsePageCount(c.text), c.pages) << c.text;
}

TEST(SearchUrl, BuiltFromTheKindsParts)
{
    EXPECT_EQ(SearchUrl(ResumeKind::FullTime, "wh", "example.com", 2, G("会计")),
        "http://wh.example.com/searchjob/pn2/?complex=0&key=%BB%E1%BC%C6");
    EXPECT_EQ(SearchUrl(ResumeKind::PartTime, "wh", "example.com", 2, G("会计")),
        "http://wh.example.com/zhaojianzhi/pn2?key=%BB%E1%BC%C6");
    EXPECT_EQ(SearchUrl(ResumeKind::FullTime, "", "example.com", 10, ""),
        "http://.example.com/searchjob/pn10/?complex=0&key=");
}

class CollectAgainstSite : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(site.Start()); }

    std::vector<std::string> Targets()
    {
        std::vector<std::string> targets;
        for (const auto& r : site.Requests())
            targets.push_back(r.host + r.target);
        return targets;
    }

    sample::Server site;
    MemoryControls controls;
};

TEST_F(CollectAgainstSite, PageCountDecidesTheRequests)
{
    struct Case {
        std::string pages;
        std::size_t requests;
    } cases[] = {{"", 0}, {"-2", 0}, {"0", 0}, {"3", 3}};
    for (const Case& c : cases) {
        MemoryControls local;
        local.SetSelectedIndex("组合框_城市", 1);
        local.SetText("编辑框_采集页数", c.pages);
        local.SetText("编辑框_职位", G("会计"));
        const std::size_t before = site.Requests().size();
        CollectResumes(ResumeKind::FullTime, local, site.Domain());
        const auto requests = site.Requests();
        ASSERT_EQ(requests.size() - before, c.requests) << c.pages;
        for (std::size_t i = 0; i < c.requests; ++i)
            EXPECT_EQ(
                requests[before + i].target, "/searchjob/pn" + std::to_string(i + 1) + "/?complex=0&key=%BB%E1%BC%C6");
        const int rows = static_cast<int>(local.Rows("超级列表框_全职").size());
        EXPECT_EQ(local.Pane(1), CollectionDoneText(rows)) << c.pages;
        EXPECT_EQ(rows, c.requests ? 90 : 0);
    }
}

TEST_F(CollectAgainstSite, PartTimeRunShowsNothingAndUsesItsOwnPath)
{
    controls.SetSelectedIndex("组合框_城市_兼职", 2);
    controls.SetText("编辑框_采集页数_兼职", "2");
    controls.SetText("编辑框_职位_兼职", "");
    CollectResumes(ResumeKind::PartTime, controls, site.Domain());
    EXPECT_EQ(Targets(),
        (std::vector<std::string> {
            "bj." + site.Domain() + "/zhaojianzhi/pn1?key=", "bj." + site.Domain() + "/zhaojianzhi/pn2?key="}));
    EXPECT_EQ(controls.Rows("超级列表框_兼职").size(), 60u);
    EXPECT_EQ(controls.Pane(1), "");
}

TEST_F(CollectAgainstSite, AnEmptyOrFailedPageMidRunAddsNothingAndTheRunGoesOn)
{
    site.SetOverride([](const sample::Request& r) -> std::optional<std::string> {
        if (r.target.find("pn2/") != std::string::npos)
            return std::string("<html><body>nothing today</body></html>");
        return std::nullopt;
    });
    controls.SetSelectedIndex("组合框_城市", 0);
    controls.SetText("编辑框_采集页数", "3");
    CollectResumes(ResumeKind::FullTime, controls, site.Domain());
    auto rows = controls.Rows("超级列表框_全职");
    ASSERT_EQ(rows.size(), 60u);
    EXPECT_EQ(rows.back()[1], "60");
    EXPECT_EQ(site.Requests().size(), 3u);

    // A domain nobody serves: every request fails, the run still ends with its count.
    MemoryControls unreachable;
    unreachable.SetText("编辑框_采集页数", "2");
    CollectResumes(ResumeKind::FullTime, unreachable, "127.0.0.1:1");
    EXPECT_EQ(unreachable.Pane(1), CollectionDoneText(0));
}

TEST_F(CollectAgainstSite, NoCitySelectedGivesAHostThatBeginsWithTheDot)
{
    controls.SetSelectedIndex("组合框_城市", -1);
    controls.SetText("编辑框_采集页数", "1");
    CollectResumes(ResumeKind::FullTime, controls, site.Domain());
    // The host is the dot and the domain; names under .localhost still reach loopback.
    ASSERT_EQ(site.Requests().size(), 1u);
    EXPECT_EQ(site.Requests()[0].host, std::string(".").append(site.Domain()));
}

} // namespace
