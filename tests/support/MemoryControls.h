#pragma once

#include "collect/Controls.h"

#include <condition_variable>
#include <map>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace testing_support {

// Controls kept in memory, for tests of the parsers and routines that need no window: lists of
// rows, texts and selections by control name, and a log of every operation in call order.
class MemoryControls final : public quillmarsh::Controls {
public:
    int SelectedIndex(std::string_view control) override;
    std::string Text(std::string_view control) override;
    void DeleteAllRows(std::string_view list) override;
    int AppendRow(std::string_view list, int position = -1, std::string_view text = {}) override;
    int RowCount(std::string_view list) override;
    void SetCellText(std::string_view list, int row, int column, std::string_view text) override;
    std::string GetCellText(std::string_view list, int row, int column = 0) override;
    void SetPaneText(std::string_view statusBar, int pane, std::string_view text = {}) override;

    void SetText(const std::string& control, const std::string& text);
    void SetSelectedIndex(const std::string& control, int index);
    std::vector<std::vector<std::string>> Rows(const std::string& list);
    std::string Pane(int pane);
    std::vector<std::string> Log();

    static constexpr int kColumns = 13;

    // Runs `handler` the way the window runs a bound routine: operations that other threads ask
    // for meanwhile wait until it has returned.
    template <typename F> void AsHandler(F handler)
    {
        {
            std::lock_guard lock(mutex_);
            handlerThread_ = std::this_thread::get_id();
        }
        handler();
        {
            std::lock_guard lock(mutex_);
            handlerThread_ = std::thread::id();
        }
        handlerDone_.notify_all();
    }

private:
    std::unique_lock<std::mutex> Lock();

    std::mutex mutex_;
    std::condition_variable handlerDone_;
    std::thread::id handlerThread_;
    std::map<std::string, std::string, std::less<>> texts_;
    std::map<std::string, int, std::less<>> selections_;
    std::map<std::string, std::vector<std::vector<std::string>>, std::less<>> lists_;
    std::map<int, std::string> panes_;
    std::vector<std::string> log_;
};

} // namespace testing_support
