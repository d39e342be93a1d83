// Closing the window while collection and export workers run ends the process at once, with exit
// code 0 and no crash, whatever the workers are doing: waiting for a page, blocked in a control
// operation, or writing a file. Each round is a child process running the real program.
#include "ui/MainWindow.h"
#include "ui/Program.h"
#include "ui/Text.h"

#include "SampleSite.h"

#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <chrono>
#include <cstring>
#include <filesystem>
#include <string>

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace quillmarsh;

namespace {

std::string gSelf;

// The child: starts both collections and a download, then closes the window after `delay` ms,
// by the close button or by Esc.
[[noreturn]] void Child(const std::string& domain, const std::string& dir, int delay, bool esc)
{
    char name[] = "quillmarsh";
    char* argv[] = {name, nullptr};
    ProgramOptions options;
    options.domain = domain;
    options.programDir = dir;
    options.afterShow = [delay, esc](MainWindow& w) {
        auto find = [&w](const char* n) { return w.findChild<QWidget*>(Name(n)); };
        for (const char* box : {"编辑框_采集页数", "编辑框_采集页数_兼职"})
            static_cast<QLineEdit*>(find(box))->setText("40");
        static_cast<QLineEdit*>(find("编辑框_职位"))->setText("x");
        static_cast<QPushButton*>(find("按钮_开始采集"))->click();
        static_cast<QPushButton*>(find("按钮_开始采集_兼职"))->click();
        QTimer::singleShot(delay / 2, &w, [find] { static_cast<QPushButton*>(find("按钮_一键下载"))->click(); });
        QTimer::singleShot(delay, &w, [&w, esc, find] {
            if (esc)
                QTest::keyClick(find("编辑框_职位"), Qt::Key_Escape);
            else
                w.close();
        });
    };
    static int argc = 1;
    RunProgram(argc, argv, options);
}

TEST(CloseWhileRunning, EndsAtOnceWithExitCodeZeroEveryTime)
{
    sample::Server site;
    ASSERT_TRUE(site.Start());
    const std::filesystem::path dir
        = std::filesystem::temp_directory_path() / ("quillmarsh-close-" + std::to_string(getpid()));
    std::filesystem::create_directories(dir);
    for (int round = 0; round < 30; ++round) {
        const int delay = (round * 37) % 400;
        const bool esc = round % 2 == 1;
        const auto start = std::chrono::steady_clock::now();
        pid_t pid = fork();
        ASSERT_GE(pid, 0);
        if (pid == 0) {
            const std::string delayText = std::to_string(delay);
            execl(gSelf.c_str(), gSelf.c_str(), "--child", site.Domain().c_str(), dir.c_str(), delayText.c_str(),
                esc ? "esc" : "close", static_cast<char*>(nullptr));
            _exit(127);
        }
        int status = 0;
        bool ended = false;
        while (std::chrono::steady_clock::now() - start < std::chrono::seconds(20)) {
            if (waitpid(pid, &status, WNOHANG) == pid) {
                ended = true;
                break;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
        if (!ended) {
            kill(pid, SIGKILL);
            waitpid(pid, &status, 0);
        }
        ASSERT_TRUE(ended) << "round " << round << ": the program did not end";
        ASSERT_TRUE(WIFEXITED(status)) << "round " << round << ": killed by signal " << WTERMSIG(status);
        EXPECT_EQ(WEXITSTATUS(status), 0) << "round " << round;
    }
    std::filesystem::remove_all(dir);
}

} // namespace

int main(int argc, char** argv)
{
    gSelf = argv[0];
    if (argc == 6 && std::strcmp(argv[1], "--child") == 0) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
        Child(argv[2], argv[3], std::atoi(argv[4]), std::strcmp(argv[5], "esc") == 0);
    }
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
