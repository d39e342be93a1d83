// The window under load, offscreen: worker round trips, a whole collection from the sample site,
// an export of 1,000 rows, memory with 10,000 rows; and (--startup) the time from process start to
// the window shown, with the resident memory once idle.
#include "BenchPages.h"
#include "LoopbackServer.h"

#include "SampleSite.h"
#include "collect/CollectResumes.h"
#include "collect/ResumeExport.h"
#include "ui/CityComboBox.h"
#include "ui/MainWindow.h"
#include "ui/Program.h"
#include "ui/StatusBar.h"
#include "ui/Text.h"
#include "ui/UiControls.h"
#include "web/HttpRequest.h"
#include "web/TextEncoding.h"

#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstring>
#include <filesystem>
#include <thread>

#include <sys/wait.h>
#include <unistd.h>

using namespace quillmarsh;
namespace fs = std::filesystem;

namespace {

MainWindow* gWindow = nullptr;
UiControls* gControls = nullptr;

// Runs `f` on the window's thread and waits for it.
template <typename F> void OnWindow(F f) { QMetaObject::invokeMethod(gWindow, f, Qt::BlockingQueuedConnection); }

QString Pane(int pane)
{
    QString text;
    OnWindow([&] { text = gWindow->findChild<StatusBar*>(Name("状态条1"))->PaneText(pane); });
    return text;
}

void BM_WorkerSetAndGetCell(benchmark::State& state)
{
    const std::string list = "超级列表框_兼职";
    if (state.thread_index() == 0) {
        gControls->DeleteAllRows(list);
        for (int r = 0; r < 64; ++r)
            gControls->AppendRow(list);
    }
    const std::string text = GbkFromUtf8("王女士");
    int row = state.thread_index();
    for (auto _ : state) {
        gControls->SetCellText(list, row, 2 + state.thread_index(), text);
        benchmark::DoNotOptimize(gControls->GetCellText(list, row, 2 + state.thread_index()));
        row = (row + 4) % 64;
    }
    state.counters["round trips/s"]
        = benchmark::Counter(2.0 * static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_WorkerSetAndGetCell)->Threads(1)->Threads(4)->UseRealTime();

// 100 pages of 30 resumes through the real window, from the sample site on loopback.
void BM_Collect100Pages(benchmark::State& state)
{
    sample::Server site;
    site.Start();
    std::atomic<long long> serverNanos {0};
    site.SetOverride([&serverNanos](const sample::Request& r) -> std::optional<std::string> {
        const auto start = std::chrono::steady_clock::now();
        ResumeKind kind;
        int page = 0;
        std::string keyword;
        sample::ParseSearchTarget(r.target, kind, page, keyword);
        const int last = sample::LastPage(kind, "wh", keyword);
        std::string body = sample::PageBytes(kind, "wh", (page - 1) % (last - 1) + 1, keyword, r.host);
        serverNanos
            += std::chrono::duration_cast<std::chrono::nanoseconds>(std::chrono::steady_clock::now() - start).count();
        return body;
    });
    double pages = 0, seconds = 0, serverSeconds = 0;
    for (auto _ : state) {
        serverNanos = 0;
        OnWindow([&] {
            gWindow->findChild<CityComboBox*>(Name("组合框_城市"))->Select(1);
            gWindow->findChild<QLineEdit*>(Name("编辑框_采集页数"))->setText("100");
        });
        const auto start = std::chrono::steady_clock::now();
        OnWindow([&] { StartCollection(ResumeKind::FullTime, *gControls, site.Domain()); });
        while (!Pane(1).contains(QStringLiteral("完成")))
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        seconds += std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        serverSeconds += static_cast<double>(serverNanos.load()) / 1e9;
        pages += 100;
        if (gControls->RowCount("超级列表框_全职") != 3000)
            state.SkipWithError("not 3000 rows");
    }
    state.counters["pages/s"] = pages / seconds;
    state.counters["own ms/page"] = 1000.0 * (seconds - serverSeconds) / pages;
}
BENCHMARK(BM_Collect100Pages)->Iterations(3)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_Export1000Rows(benchmark::State& state)
{
    const std::string list = "超级列表框_全职";
    const fs::path dir = fs::temp_directory_path() / ("quillmarsh-bench-export-" + std::to_string(getpid()));
    const auto resumes
        = sample::ExpectedCells(ResumeKind::FullTime, sample::PageResumes(ResumeKind::FullTime, "wh", 1, "", "wh.x"));
    OnWindow([&] {
        gControls->DeleteAllRows(list);
        for (int r = 0; r < 1000; ++r) {
            const auto& cells = resumes[static_cast<std::size_t>(r) % resumes.size()];
            gControls->AppendRow(list);
            for (std::size_t c = 0; c < cells.size(); ++c)
                gControls->SetCellText(list, r, static_cast<int>(c) + 2, cells[c]);
        }
        gWindow->findChild<QLineEdit*>(Name("编辑框_职位"))->setText("bench");
    });
    for (auto _ : state) {
        fs::remove_all(dir);
        const auto start = std::chrono::steady_clock::now();
        OnWindow([&] { StartExport(ResumeKind::FullTime, *gControls, dir); });
        const fs::path folder = dir / "已下载简历" / "bench";
        std::size_t files = 0;
        while (files < 1000) {
            files = 0;
            for (const auto& e : fs::directory_iterator(folder))
                files += e.file_size() > 0 ? 1 : 0;
            if (files < 1000)
                std::this_thread::sleep_for(std::chrono::microseconds(200));
        }
        state.SetIterationTime(std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
        while (!Pane(3).contains(QStringLiteral("1000")))
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    fs::remove_all(dir);
}
BENCHMARK(BM_Export1000Rows)->Iterations(5)->UseManualTime()->Unit(benchmark::kMillisecond);

void BM_Memory10000Rows(benchmark::State& state)
{
    const std::string list = "超级列表框_兼职";
    const auto resumes
        = sample::ExpectedCells(ResumeKind::PartTime, sample::PageResumes(ResumeKind::PartTime, "wh", 1, "", "wh.x"));
    long grew = 0;
    for (auto _ : state) {
        OnWindow([&] { gControls->DeleteAllRows(list); });
        const long before = bench::CurrentRss();
        OnWindow([&] {
            for (int r = 0; r < 10000; ++r) {
                const auto& cells = resumes[static_cast<std::size_t>(r) % resumes.size()];
                gControls->AppendRow(list);
                gControls->SetCellText(list, r, 1, std::to_string(r + 1));
                for (std::size_t c = 0; c < cells.size(); ++c)
                    gControls->SetCellText(list, r, static_cast<int>(c) + 2, cells[c] + std::to_string(r));
            }
        });
        grew = bench::CurrentRss() - before;
    }
    state.counters["MB for 10000 rows"] = static_cast<double>(grew) / (1 << 20);
    state.counters["process MB"] = static_cast<double>(bench::CurrentRss()) / (1 << 20);
}
BENCHMARK(BM_Memory10000Rows)->Iterations(1)->Unit(benchmark::kMillisecond);

// --startup: each round starts a child that runs the program and reports through a pipe.
int Startup(const char* self)
{
    std::vector<double> millis;
    std::vector<long> rss;
    for (int round = 0; round < 10; ++round) {
        int fds[2];
        if (pipe(fds) != 0)
            return 1;
        const auto start = std::chrono::steady_clock::now();
        pid_t pid = fork();
        if (pid == 0) {
            close(fds[0]);
            const std::string fd = std::to_string(fds[1]);
            execl(self, self, "--startup-child", fd.c_str(), static_cast<char*>(nullptr));
            _exit(127);
        }
        close(fds[1]);
        char shown = 0;
        if (read(fds[0], &shown, 1) != 1)
            return 1;
        millis.push_back(std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count());
        long idle = 0;
        if (read(fds[0], &idle, sizeof idle) == sizeof idle)
            rss.push_back(idle);
        close(fds[0]);
        waitpid(pid, nullptr, 0);
    }
    std::sort(millis.begin(), millis.end());
    std::sort(rss.begin(), rss.end());
    std::printf("start-up to window shown: median %.1f ms (min %.1f, max %.1f) over %zu runs\n",
        millis[millis.size() / 2], millis.front(), millis.back(), millis.size());
    if (!rss.empty())
        std::printf(
            "resident memory once idle: median %.1f MB\n", static_cast<double>(rss[rss.size() / 2]) / (1 << 20));
    return 0;
}

[[noreturn]] void StartupChild(int fd)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    static char name[] = "quillmarsh";
    static char* argv[] = {name, nullptr};
    static int argc = 1;
    ProgramOptions options;
    options.afterShow = [fd](MainWindow& w) {
        const char shown = 1;
        (void)!write(fd, &shown, 1);
        QTimer::singleShot(1000, &w, [fd, &w] {
            const long idle = bench::CurrentRss();
            (void)!write(fd, &idle, sizeof idle);
            w.close();
        });
    };
    RunProgram(argc, argv, options);
}

} // namespace

int main(int argc, char** argv)
{
    if (argc == 2 && std::strcmp(argv[1], "--startup") == 0)
        return Startup(argv[0]);
    if (argc == 3 && std::strcmp(argv[1], "--startup-child") == 0)
        StartupChild(std::atoi(argv[2]));

    qputenv("QT_QPA_PLATFORM", "offscreen");
    InitWebClient();
    QApplication app(argc, argv);
    MainWindow window;
    UiControls controls(&window);
    gWindow = &window;
    gControls = &controls;
    window.RaiseStartupEvents();
    window.ShowCentred();
    benchmark::Initialize(&argc, argv);
    // The benchmarks run on a thread of their own, as workers do; this thread serves the window.
    std::thread runner([&app] {
        benchmark::RunSpecifiedBenchmarks();
        benchmark::Shutdown();
        QMetaObject::invokeMethod(&app, &QCoreApplication::quit, Qt::QueuedConnection);
    });
    app.exec();
    runner.join();
    return 0;
}
