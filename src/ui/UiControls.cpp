#include "ui/UiControls.h"

#include "ui/Dispatcher.h"
#include "ui/MainWindow.h"

#include <QThread>

namespace quillmarsh {

UiControls::UiControls(MainWindow* window) : dispatcher_(new Dispatcher), window_(window) { }

UiControls::~UiControls() { delete dispatcher_; }

template <typename Result, typename Operation> Result UiControls::Run(Result fallback, Operation operation)
{
    Result result = fallback;
    auto call = [&] {
        if (window_)
            result = operation(*window_);
    };
    if (QThread::currentThread() == dispatcher_->thread())
        call();
    else
        dispatcher_->Call(call);
    return result;
}

int UiControls::SelectedIndex(std::string_view control)
{
    return Run(-1, [&](MainWindow& w) { return w.SelectedIndex(control); });
}

std::string UiControls::Text(std::string_view control)
{
    return Run(std::string(), [&](MainWindow& w) { return w.Text(control); });
}

void UiControls::DeleteAllRows(std::string_view list)
{
    Run(0, [&](MainWindow& w) {
        w.DeleteAllRows(list);
        return 0;
    });
}

int UiControls::AppendRow(std::string_view list, int position, std::string_view text)
{
    return Run(-1, [&](MainWindow& w) { return w.AppendRow(list, position, text); });
}

int UiControls::RowCount(std::string_view list)
{
    return Run(0, [&](MainWindow& w) { return w.RowCount(list); });
}

void UiControls::SetCellText(std::string_view list, int row, int column, std::string_view text)
{
    Run(0, [&](MainWindow& w) {
        w.SetCellText(list, row, column, text);
        return 0;
    });
}

std::string UiControls::GetCellText(std::string_view list, int row, int column)
{
    return Run(std::string(), [&](MainWindow& w) { return w.GetCellText(list, row, column); });
}

void UiControls::SetPaneText(std::string_view statusBar, int pane, std::string_view text)
{
    Run(0, [&](MainWindow& w) {
        w.SetPaneText(statusBar, pane, text);
        return 0;
    });
}

} // namespace quillmarsh
