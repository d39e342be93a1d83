#include "Window.h"

#include "support/Gbk.h"
#include "support/Worker.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>

using namespace quillmarsh;

namespace {

TEST(WorkerControls, OperationsFromAWorkerAreCarriedOutByTheWindow)
{
    Window w;
    w.SetText("编辑框_职位", "会计");
    std::atomic<bool> done {false};
    std::string keyword, cell, missing;
    int row = -2, count = -2, city = -2;
    std::thread worker([&] {
        keyword = w.controls->Text("编辑框_职位");
        city = w.controls->SelectedIndex("组合框_城市");
        row = w.controls->AppendRow("超级列表框_全职");
        w.controls->SetCellText("超级列表框_全职", row, 2, G("王女士"));
        count = w.controls->RowCount("超级列表框_全职");
        cell = w.controls->GetCellText("超级列表框_全职", row, 2);
        missing = w.controls->GetCellText("超级列表框_全职", 7, 2);
        w.controls->SetPaneText("状态条1", 3, G("   完成"));
        done = true;
    });
    EXPECT_TRUE(WaitFor([&] { return done.load(); }, 5000));
    worker.join();
    EXPECT_EQ(keyword, G("会计"));
    EXPECT_EQ(city, 0);
    EXPECT_EQ(row, 0);
    EXPECT_EQ(count, 1);
    EXPECT_EQ(cell, G("王女士"));
    EXPECT_EQ(missing, "");
    EXPECT_EQ(w.Pane(3), "   完成");
}

// A handler that starts a worker and then changes a control: the worker's first operation is
// carried out only after the handler has returned, so it sees the change.
TEST(WorkerControls, AWorkerSeesEveryChangeOfTheHandlerThatStartedIt)
{
    Window w;
    for (int round = 0; round < 50; ++round) {
        std::atomic<bool> done {false};
        std::string seen;
        std::thread worker;
        // The "handler": runs on the window thread without returning to the event loop.
        w.SetText("编辑框_职位", "before");
        StartWorker(
            [&] {
                seen = w.controls->Text("编辑框_职位");
                done = true;
            },
            &worker);
        std::this_thread::sleep_for(std::chrono::milliseconds(round % 3));
        w.SetText("编辑框_职位", "after");
        EXPECT_TRUE(WaitFor([&] { return done.load(); }, 5000));
        worker.join();
        EXPECT_EQ(seen, "after") << round;
    }
}

TEST(WorkerControls, FourWorkersAtOnceNeverInterleaveOneOperation)
{
    Window w;
    constexpr int kRows = 200;
    for (int r = 0; r < kRows; ++r)
        w.controls->AppendRow("超级列表框_全职");
    std::atomic<int> finished {0};
    std::atomic<int> mismatches {0};
    std::vector<std::thread> workers;
    for (int t = 0; t < 4; ++t) {
        workers.emplace_back([&, t] {
            for (int r = 0; r < kRows; ++r) {
                const std::string text = std::to_string(t) + ":" + std::to_string(r);
                w.controls->SetCellText("超级列表框_全职", r, 2 + t, text);
                if (w.controls->GetCellText("超级列表框_全职", r, 2 + t) != text)
                    ++mismatches;
            }
            ++finished;
        });
    }
    EXPECT_TRUE(WaitFor([&] { return finished.load() == 4; }, 20000));
    for (std::thread& t : workers)
        t.join();
    EXPECT_EQ(mismatches.load(), 0);
    EXPECT_EQ(w.controls->GetCellText("超级列表框_全职", kRows - 1, 5), "3:" + std::to_string(kRows - 1));
}

TEST(WorkerControls, OperationsAfterTheWindowIsGoneGiveEmptyResults)
{
    auto window = std::make_unique<MainWindow>();
    UiControls controls(window.get());
    window.reset();
    std::string text = "unset";
    int rows = -2;
    std::thread worker([&] {
        text = controls.Text("编辑框_职位");
        rows = controls.AppendRow("超级列表框_全职");
    });
    EXPECT_TRUE(WaitFor([&] { return rows != -2; }, 5000));
    worker.join();
    EXPECT_EQ(text, "");
    EXPECT_EQ(rows, -1);
}

} // namespace
