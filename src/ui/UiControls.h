#pragma once

#include "collect/Controls.h"

#include <QPointer>

namespace quillmarsh {

class Dispatcher;
class MainWindow;

// The control operations of the window for any thread. On the window's thread they run at once;
// from a worker each one is a request that the window's thread carries out between events while
// the worker waits, so no operation ever runs inside a handler, and a worker started by a handler
// sees every change that handler made.
//
// Create it on the window's thread. Workers may hold it until the process ends: once the window
// is gone the operations do nothing and give empty results.
class UiControls final : public Controls {
public:
    explicit UiControls(MainWindow* window);
    ~UiControls() override;
    UiControls(const UiControls&) = delete;
    UiControls& operator=(const UiControls&) = delete;

    int SelectedIndex(std::string_view control) override;
    std::string Text(std::string_view control) override;
    void DeleteAllRows(std::string_view list) override;
    int AppendRow(std::string_view list, int position = -1, std::string_view text = {}) override;
    int RowCount(std::string_view list) override;
    void SetCellText(std::string_view list, int row, int column, std::string_view text) override;
    std::string GetCellText(std::string_view list, int row, int column = 0) override;
    void SetPaneText(std::string_view statusBar, int pane, std::string_view text = {}) override;

private:
    template <typename Result, typename Operation> Result Run(Result fallback, Operation operation);

    Dispatcher* dispatcher_;      // lives on the window's thread
    QPointer<MainWindow> window_; // read on the window's thread only
};

} // namespace quillmarsh
