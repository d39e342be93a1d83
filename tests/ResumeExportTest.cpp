#include "collect/ResumeExport.h"
#include "support/Files.h"
#include "support/Gbk.h"
#include "support/MemoryControls.h"

#include <gtest/gtest.h>

#include <chrono>
#include <fstream>
#include <sstream>
#include <thread>

#include <unistd.h>

using namespace quillmarsh;
using testing_support::MemoryControls;
namespace fs = std::filesystem;

namespace {

TEST(ResumeFileContent, TenLabelledLinesInGbk)
{
    std::vector<std::string> cells = {G("王女士"), G("女"), G("28岁"), G("会计"), G("本科"), G("3000元"), G("今天"),
        G("认真"), "", "http://x/1.html"};
    EXPECT_EQ(ResumeFileContent(ResumeKind::FullTime, cells),
        G("姓名：王女士\r\n性别：女\r\n年龄：28岁\r\n期望职位：会计\r\n学历：本科\r\n期望薪资：3000元\r\n"
          "更新时间：今天\r\n简介：认真\r\n手机号：暂无\r\n链接：http://x/1.html\r\n"));
    std::vector<std::string> empty(10);
    EXPECT_EQ(ResumeFileContent(ResumeKind::FullTime, empty),
        G("姓名：\r\n性别：\r\n年龄：\r\n期望职位：\r\n学历：\r\n期望薪资：\r\n更新时间：\r\n简介：暂无\r\n"
          "手机号：暂无\r\n链接：\r\n"));
    std::vector<std::string> part(11);
    part[0] = G("李先生");
    EXPECT_EQ(ResumeFileContent(ResumeKind::PartTime, part),
        G("姓名：李先生\r\n性别：\r\n年龄：\r\n期望职位：\r\n期望月薪：\r\n人才类型：\r\n求职地区：\r\n"
          "更新时间：\r\n简介：暂无\r\n手机号：暂无\r\n链接：\r\n"));
}

TEST(SafeNameComponent, NeverLeavesItsFolder)
{
    struct Case {
        std::string in, out;
    } cases[] = {
        {G("王女士"), "王女士"},
        {"../../etc/passwd", ".._.._etc_passwd"},
        {"..", "__"},
        {".", "_"},
        {"a\\b", "a_b"},
        {"a<b>c:d\"e|f?g*h", "a_b_c_d_e_f_g_h"},
        {std::string("a\0b\x01", 4), "a_b_"},
        {G("王😀"), "王_"}, // the character GBK could not hold arrived as "?"
        {"", ""},
    };
    for (const Case& c : cases)
        EXPECT_EQ(SafeNameComponent(c.in), c.out) << c.in;
    EXPECT_LE(SafeNameComponent(std::string(600, 'a')).size(), 200u);
    EXPECT_LE(SafeNameComponent(G(std::string(300, 'x') == "" ? "" : "名")).size(), 200u);
}

TEST(UniqueFileNames, LaterRowsOfTheSameStemGetASuffix)
{
    EXPECT_EQ(UniqueFileNames({G("王女士"), G("李先生"), G("王女士"), G("王女士"), ""}),
        (std::vector<std::string> {"王女士.txt", "李先生.txt", "王女士 (2).txt", "王女士 (3).txt", "_.txt"}));
    EXPECT_EQ(UniqueFileNames({"a", "a (2)", "a"}), (std::vector<std::string> {"a.txt", "a (2).txt", "a (3).txt"}));
}

TEST(ExportFolder, KeywordNamesOneFolderInside)
{
    const fs::path dir = "/opt/q";
    EXPECT_EQ(ExportFolder(ResumeKind::FullTime, dir, G("会计")), fs::path("/opt/q/已下载简历/会计"));
    EXPECT_EQ(ExportFolder(ResumeKind::FullTime, dir, ""), fs::path("/opt/q/已下载简历"));
    EXPECT_EQ(ExportFolder(ResumeKind::PartTime, dir, "x"), fs::path("/opt/q/已下载兼职简历/x"));
    EXPECT_EQ(ExportFolder(ResumeKind::FullTime, dir, "../.."), fs::path("/opt/q/已下载简历/.._.."));
}

class ExportToDisk : public ::testing::Test {
protected:
    void SetUp() override
    {
        dir = fs::temp_directory_path()
            / ("quillmarsh-export-" + std::to_string(getpid()) + "-"
                + ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(dir);
        fs::create_directories(dir);
    }
    void TearDown() override { fs::remove_all(dir); }

    void AddRow(const std::string& list, const std::vector<std::string>& cells)
    {
        int row = controls.AppendRow(list);
        for (std::size_t i = 0; i < cells.size(); ++i)
            controls.SetCellText(list, row, static_cast<int>(i) + 2, cells[i]);
    }

    // Waits for the download's last worker, which shows the completion text.
    void WaitForFiles(const fs::path& folder, std::size_t count)
    {
        for (int i = 0; i < 500; ++i) {
            std::size_t n = 0;
            if (fs::exists(folder))
                for ([[maybe_unused]] const auto& e : fs::directory_iterator(folder))
                    ++n;
            if (n >= count && controls.Pane(3).find(G("完成")) != std::string::npos)
                return;
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
        FAIL() << "files did not appear in " << folder;
    }

    fs::path dir;
    MemoryControls controls;
};

TEST_F(ExportToDisk, OneFilePerRowWithSameStemsKept)
{
    const std::string list = "超级列表框_全职";
    controls.SetText("编辑框_职位", G("会计"));
    AddRow(list, {G("王女士"), G("女"), G("28岁")});
    AddRow(list, {G("李先生"), G("男")});
    AddRow(list, {G("王女士"), G("女"), G("41岁")});
    AddRow(list, {"../../escape", G("男")});
    controls.AsHandler([&] { StartExport(ResumeKind::FullTime, controls, dir); });
    const fs::path folder = dir / "已下载简历" / "会计";
    WaitForFiles(folder, 4);
    const std::string head = G("姓名：王女士\r\n性别：女\r\n年龄：28岁\r\n");
    EXPECT_EQ(ReadFile(folder / "王女士.txt").substr(0, head.size()), head);
    EXPECT_NE(ReadFile(folder / "王女士 (2).txt").find(G("41岁")), std::string::npos);
    EXPECT_TRUE(fs::exists(folder / "李先生.txt"));
    EXPECT_TRUE(fs::exists(folder / ".._.._escape.txt"));
    EXPECT_FALSE(fs::exists(dir / "escape.txt"));
    EXPECT_EQ(controls.Pane(3), ExportDoneText(4));
}

TEST_F(ExportToDisk, EmptyListStillMakesTheFolderAndReportsZero)
{
    controls.SetText("编辑框_职位", "");
    controls.AsHandler([&] { StartExport(ResumeKind::FullTime, controls, dir); });
    EXPECT_TRUE(fs::is_directory(dir / "已下载简历"));
    EXPECT_EQ(controls.Pane(3), ExportDoneText(0));
}

TEST_F(ExportToDisk, HostileKeywordStaysInside)
{
    controls.SetText("编辑框_职位", "../../../tmp/outside");
    AddRow("超级列表框_全职", {"a"});
    controls.AsHandler([&] { StartExport(ResumeKind::FullTime, controls, dir); });
    WaitForFiles(dir / "已下载简历" / ".._.._.._tmp_outside", 1);
    EXPECT_TRUE(fs::exists(dir / "已下载简历" / ".._.._.._tmp_outside" / "a.txt"));
}

TEST_F(ExportToDisk, PartTimeListGoesToItsOwnFolder)
{
    controls.SetText("编辑框_职位_兼职", G("促销"));
    AddRow("超级列表框_兼职", {G("李先生"), G("男"), G("22岁")});
    controls.AsHandler([&] { StartExport(ResumeKind::PartTime, controls, dir); });
    WaitForFiles(dir / "已下载兼职简历" / "促销", 1);
    EXPECT_EQ(ReadFile(dir / "已下载兼职简历" / "促销" / "李先生.txt").substr(0, 14), G("姓名：李先生\r\n"));
}

TEST_F(ExportToDisk, AFolderThatCannotBeMadeLosesOnlyItsFiles)
{
    std::ofstream(dir / "已下载简历") << "a file where the folder should be";
    controls.SetText("编辑框_职位", "x");
    AddRow("超级列表框_全职", {"a"});
    controls.AsHandler([&] { StartExport(ResumeKind::FullTime, controls, dir); });
    for (int i = 0; i < 500 && controls.Pane(3) != ExportDoneText(1); ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    EXPECT_EQ(controls.Pane(3), ExportDoneText(1)) << "the row still counts";
}

} // namespace
