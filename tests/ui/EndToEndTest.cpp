// The whole flow through the real window against the sample site on a free port.
#include "Window.h"

#include "collect/CollectResumes.h"
#include "collect/ResumeExport.h"
#include "support/Files.h"
#include "support/Gbk.h"

#include "SampleSite.h"

#include <QTabWidget>

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include <unistd.h>

using namespace quillmarsh;
namespace fs = std::filesystem;

namespace {

class EndToEnd : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(site.Start());
        dir = fs::temp_directory_path()
            / ("quillmarsh-e2e-" + std::to_string(getpid()) + "-"
                + ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(dir);
        fs::create_directories(dir);
        w = std::make_unique<Window>(ProgramSettings {site.Domain(), dir});
    }
    void TearDown() override
    {
        WaitIdle();
        w.reset();
        fs::remove_all(dir);
    }

    // The rows the window should list after collecting pages 1..n of a search.
    std::vector<std::vector<std::string>> Expected(
        ResumeKind kind, const std::string& city, int pages, const std::string& keyword)
    {
        std::vector<std::vector<std::string>> rows;
        for (int p = 1; p <= pages; ++p) {
            auto page
                = sample::ExpectedCells(kind, sample::PageResumes(kind, city, p, keyword, city + "." + site.Domain()));
            rows.insert(rows.end(), page.begin(), page.end());
        }
        return rows;
    }

    std::vector<std::vector<std::string>> Listed(ResumeKind kind)
    {
        const std::string list(Traits(kind).list);
        std::vector<std::vector<std::string>> rows;
        const int columns = kind == ResumeKind::FullTime ? 10 : 11;
        for (int r = 0; r < w->controls->RowCount(list); ++r) {
            std::vector<std::string> cells;
            for (int c = 0; c < columns; ++c)
                cells.push_back(w->controls->GetCellText(list, r, c + 2));
            rows.push_back(cells);
        }
        return rows;
    }

    bool WaitForPane(int pane, const QString& text, int ms = 20000)
    {
        return WaitFor([&] { return w->Pane(pane) == text; }, ms);
    }
    // Waits until the site has been quiet for a moment, so no run is left behind.
    void WaitIdle()
    {
        std::size_t seen = static_cast<std::size_t>(-1);
        while (seen != site.Requests().size()) {
            seen = site.Requests().size();
            QTest::qWait(300);
        }
    }

    sample::Server site;
    fs::path dir;
    std::unique_ptr<Window> w;
};

TEST_F(EndToEnd, FullTimeCollectionListsExactlyWhatThePagesHeld)
{
    w->Find<CityComboBox>("组合框_城市")->Select(1);
    w->SetText("编辑框_职位", "会计");
    w->SetText("编辑框_采集页数", "3");
    w->Click("按钮_开始采集");
    EXPECT_EQ(w->Pane(1), "   正在采集简历...") << "shown by the click, before any page";
    const auto expected = Expected(ResumeKind::FullTime, "wh", 3, "会计");
    ASSERT_TRUE(WaitForPane(1, "   采集简历完成共采集" + QString::number(expected.size()) + "份简历！"));
    EXPECT_EQ(Listed(ResumeKind::FullTime), expected);
    for (int r = 0; r < static_cast<int>(expected.size()); ++r)
        ASSERT_EQ(w->controls->GetCellText("超级列表框_全职", r, 1), std::to_string(r + 1));
    std::vector<std::string> targets;
    for (const auto& r : site.Requests())
        targets.push_back(r.host + r.target);
    const std::string host = "wh." + site.Domain();
    EXPECT_EQ(targets,
        (std::vector<std::string> {host + "/searchjob/pn1/?complex=0&key=%BB%E1%BC%C6",
            host + "/searchjob/pn2/?complex=0&key=%BB%E1%BC%C6", host + "/searchjob/pn3/?complex=0&key=%BB%E1%BC%C6"}));
    EXPECT_EQ(w->controls->RowCount("超级列表框_兼职"), 0);
}

TEST_F(EndToEnd, PartTimeCollectionLeavesTheStatusBarAlone)
{
    w->Find<QTabWidget>("选择夹1")->setCurrentIndex(1);
    w->Find<CityComboBox>("组合框_城市_兼职")->Select(3);
    w->SetText("编辑框_职位_兼职", "促销员");
    w->SetText("编辑框_采集页数_兼职", "2");
    w->controls->SetPaneText("状态条1", 1, "before");
    w->Click("按钮_开始采集_兼职");
    const auto expected = Expected(ResumeKind::PartTime, "sh", 2, "促销员");
    ASSERT_TRUE(
        WaitFor([&] { return w->controls->RowCount("超级列表框_兼职") == static_cast<int>(expected.size()); }, 20000));
    WaitIdle();
    EXPECT_EQ(Listed(ResumeKind::PartTime), expected);
    EXPECT_EQ(w->Pane(1), "before");
    EXPECT_EQ(site.Requests().at(1).target, "/zhaojianzhi/pn2?key=%B4%D9%CF%FA%D4%B1");
}

TEST_F(EndToEnd, EmptyPageCountRequestsNothing)
{
    w->Click("按钮_开始采集");
    ASSERT_TRUE(WaitForPane(1, "   采集简历完成共采集0份简历！"));
    EXPECT_TRUE(site.Requests().empty());
}

TEST_F(EndToEnd, TwoQuickPressesCollectTwice)
{
    w->SetText("编辑框_采集页数", "2");
    w->Click("按钮_开始采集");
    w->Click("按钮_开始采集");
    const auto expected = Expected(ResumeKind::FullTime, "cs", 2, "");
    ASSERT_TRUE(WaitFor(
        [&] { return w->controls->RowCount("超级列表框_全职") == 2 * static_cast<int>(expected.size()); }, 20000));
    WaitIdle();
    EXPECT_EQ(site.Requests().size(), 4u);
    EXPECT_EQ(w->controls->RowCount("超级列表框_全职"), 2 * static_cast<int>(expected.size()));
}

TEST_F(EndToEnd, KeywordIsReadAgainForEveryPage)
{
    site.SetOverride([this](const sample::Request& r) -> std::optional<std::string> {
        if (r.target.find("pn1/") != std::string::npos)
            QMetaObject::invokeMethod(w->Find<QLineEdit>("编辑框_职位"), [this] { w->SetText("编辑框_职位", "司机"); });
        return std::nullopt;
    });
    w->SetText("编辑框_职位", "会计");
    w->SetText("编辑框_采集页数", "2");
    w->Click("按钮_开始采集");
    ASSERT_TRUE(WaitFor([&] { return w->Pane(1).contains("完成"); }, 20000));
    ASSERT_EQ(site.Requests().size(), 2u);
    EXPECT_EQ(site.Requests()[1].target, "/searchjob/pn2/?complex=0&key=%CB%BE%BB%FA");
}

TEST_F(EndToEnd, ExportWritesOneFilePerRowByteForByte)
{
    w->Find<CityComboBox>("组合框_城市")->Select(2);
    w->SetText("编辑框_职位", "会计");
    w->SetText("编辑框_采集页数", "2");
    w->Click("按钮_开始采集");
    const auto expected = Expected(ResumeKind::FullTime, "bj", 2, "会计");
    ASSERT_TRUE(WaitForPane(1, "   采集简历完成共采集" + QString::number(expected.size()) + "份简历！"));

    w->Click("按钮_一键下载");
    EXPECT_EQ(w->Pane(3), "   正在下载简历,请稍等...");
    // The keyword box changes at once: the files of this download stay in its folder.
    w->SetText("编辑框_职位", "司机");
    ASSERT_TRUE(WaitForPane(3, "   下载简历完成,共下载了" + QString::number(expected.size()) + "份简历！"));
    const fs::path folder = dir / "已下载简历" / "会计";
    std::vector<std::string> stems;
    for (const auto& row : expected)
        stems.push_back(row[0]);
    const std::vector<std::string> names = UniqueFileNames(stems);
    ASSERT_TRUE(WaitFor(
        [&] {
            std::size_t n = 0;
            for ([[maybe_unused]] const auto& e : fs::directory_iterator(folder))
                ++n;
            return n == expected.size();
        },
        10000));
    for (std::size_t i = 0; i < expected.size(); ++i)
        EXPECT_EQ(ReadFile(folder / names[i]), ResumeFileContent(ResumeKind::FullTime, expected[i])) << names[i];
    EXPECT_FALSE(fs::exists(dir / "已下载简历" / "司机"));
}

TEST_F(EndToEnd, ExportWhileCollectionStillAppends)
{
    site.SetOverride([](const sample::Request& r) -> std::optional<std::string> {
        if (r.target.find("pn3/") != std::string::npos)
            std::this_thread::sleep_for(std::chrono::milliseconds(300));
        return std::nullopt;
    });
    w->SetText("编辑框_采集页数", "3");
    w->Click("按钮_开始采集");
    ASSERT_TRUE(WaitFor([&] { return w->controls->RowCount("超级列表框_全职") >= 30; }, 20000));
    const int present = w->controls->RowCount("超级列表框_全职");
    w->Click("按钮_一键下载");
    ASSERT_TRUE(WaitFor([&] { return w->Pane(3).contains("完成"); }, 20000));
    ASSERT_TRUE(WaitFor([&] { return w->Pane(1).contains("完成"); }, 20000));
    std::size_t files = 0;
    for ([[maybe_unused]] const auto& e : fs::directory_iterator(dir / "已下载简历"))
        ++files;
    EXPECT_EQ(files, static_cast<std::size_t>(present)) << "workers only for the rows present at the press";
}

TEST_F(EndToEnd, PartTimeDownloadUsesItsOwnFolder)
{
    w->SetText("编辑框_职位_兼职", "家教");
    w->SetText("编辑框_采集页数_兼职", "1");
    w->Click("按钮_开始采集_兼职");
    const auto expected = Expected(ResumeKind::PartTime, "cs", 1, "家教");
    ASSERT_TRUE(
        WaitFor([&] { return w->controls->RowCount("超级列表框_兼职") == static_cast<int>(expected.size()); }, 20000));
    WaitIdle();
    w->Click("按钮_一键下载_兼职");
    ASSERT_TRUE(WaitForPane(3, "   下载简历完成,共下载了" + QString::number(expected.size()) + "份简历！"));
    std::vector<std::string> stems;
    for (const auto& row : expected)
        stems.push_back(row[0]);
    const fs::path file = dir / "已下载兼职简历" / "家教" / UniqueFileNames(stems)[0];
    ASSERT_TRUE(WaitFor([&] { return fs::exists(file) && fs::file_size(file) > 0; }, 10000));
    EXPECT_EQ(ReadFile(file), ResumeFileContent(ResumeKind::PartTime, expected[0]));
}

} // namespace
