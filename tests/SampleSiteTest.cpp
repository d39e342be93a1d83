#include "SampleSite.h"

#include "support/Gbk.h"
#include "web/HttpRequest.h"

#include <gtest/gtest.h>

using namespace quillmarsh;

namespace {

TEST(SampleSite, ParsesSearchTargets)
{
    ResumeKind kind;
    int page = 0;
    std::string keyword;
    ASSERT_TRUE(sample::ParseSearchTarget("/searchjob/pn12/?complex=0&key=%BB%E1%BC%C6", kind, page, keyword));
    EXPECT_EQ(kind, ResumeKind::FullTime);
    EXPECT_EQ(page, 12);
    EXPECT_EQ(keyword, "会计");
    ASSERT_TRUE(sample::ParseSearchTarget("/zhaojianzhi/pn3?key=", kind, page, keyword));
    EXPECT_EQ(kind, ResumeKind::PartTime);
    EXPECT_EQ(page, 3);
    EXPECT_EQ(keyword, "");
    EXPECT_FALSE(sample::ParseSearchTarget("/zhaojianzhi/pn3/?key=", kind, page, keyword));
    EXPECT_FALSE(sample::ParseSearchTarget("/other", kind, page, keyword));
}

TEST(SampleSite, ServesEachCityHostAndEmptyPagesPastTheLast)
{
    sample::Server site;
    ASSERT_TRUE(site.Start());
    const int last = sample::LastPage(ResumeKind::FullTime, "sh", "");
    for (int page : {1, last, last + 1}) {
        HttpRequestOptions o;
        o.url = "http://sh." + site.Domain() + "/searchjob/pn" + std::to_string(page) + "/?complex=0&key=";
        HttpResponse r = HttpRequest(o);
        ASSERT_EQ(r.error, "");
        const auto resumes = sample::PageResumes(ResumeKind::FullTime, "sh", page, "", "sh." + site.Domain());
        EXPECT_EQ(resumes.size(), page == last + 1 ? 0u : page == last ? 12u : 30u);
        for (const auto& resume : resumes)
            EXPECT_NE(r.text.find(G(resume.link)), std::string::npos);
    }
    EXPECT_EQ(site.Requests().at(0).host, "sh." + site.Domain());
}

} // namespace
