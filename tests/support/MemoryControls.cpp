#include "support/MemoryControls.h"

namespace testing_support {

std::unique_lock<std::mutex> MemoryControls::Lock()
{
    std::unique_lock lock(mutex_);
    handlerDone_.wait(
        lock, [this] { return handlerThread_ == std::thread::id() || handlerThread_ == std::this_thread::get_id(); });
    return lock;
}

int MemoryControls::SelectedIndex(std::string_view control)
{
    auto lock = Lock();
    log_.push_back("SelectedIndex");
    auto it = selections_.find(control);
    return it == selections_.end() ? -1 : it->second;
}

std::string MemoryControls::Text(std::string_view control)
{
    auto lock = Lock();
    log_.push_back("Text");
    auto it = texts_.find(control);
    return it == texts_.end() ? std::string() : it->second;
}

void MemoryControls::DeleteAllRows(std::string_view list)
{
    auto lock = Lock();
    log_.push_back("DeleteAllRows");
    lists_[std::string(list)].clear();
}

int MemoryControls::AppendRow(std::string_view list, int position, std::string_view text)
{
    auto lock = Lock();
    log_.push_back("AppendRow");
    auto& rows = lists_[std::string(list)];
    std::vector<std::string> row(kColumns);
    row[0] = std::string(text);
    int at = position < 0 || position > static_cast<int>(rows.size()) ? static_cast<int>(rows.size()) : position;
    rows.insert(rows.begin() + at, std::move(row));
    return at;
}

int MemoryControls::RowCount(std::string_view list)
{
    auto lock = Lock();
    log_.push_back("RowCount");
    auto it = lists_.find(list);
    return it == lists_.end() ? 0 : static_cast<int>(it->second.size());
}

void MemoryControls::SetCellText(std::string_view list, int row, int column, std::string_view text)
{
    auto lock = Lock();
    log_.push_back("SetCellText " + std::to_string(column));
    auto it = lists_.find(list);
    if (it == lists_.end() || row < 0 || row >= static_cast<int>(it->second.size()) || column < 0 || column >= kColumns)
        return;
    it->second[static_cast<std::size_t>(row)][static_cast<std::size_t>(column)] = std::string(text);
}

std::string MemoryControls::GetCellText(std::string_view list, int row, int column)
{
    auto lock = Lock();
    log_.push_back("GetCellText");
    auto it = lists_.find(list);
    if (it == lists_.end() || row < 0 || row >= static_cast<int>(it->second.size()) || column < 0 || column >= kColumns)
        return {};
    return it->second[static_cast<std::size_t>(row)][static_cast<std::size_t>(column)];
}

void MemoryControls::SetPaneText(std::string_view, int pane, std::string_view text)
{
    auto lock = Lock();
    log_.push_back("SetPaneText");
    if (pane >= 0 && pane <= 4)
        panes_[pane] = std::string(text);
}

void MemoryControls::SetText(const std::string& control, const std::string& text)
{
    std::lock_guard lock(mutex_);
    texts_[control] = text;
}

void MemoryControls::SetSelectedIndex(const std::string& control, int index)
{
    std::lock_guard lock(mutex_);
    selections_[control] = index;
}

std::vector<std::vector<std::string>> MemoryControls::Rows(const std::string& list)
{
    std::lock_guard lock(mutex_);
    return lists_[list];
}

std::string MemoryControls::Pane(int pane)
{
    std::lock_guard lock(mutex_);
    return panes_[pane];
}

std::vector<std::string> MemoryControls::Log()
{
    std::lock_guard lock(mutex_);
    return log_;
}

} // namespace testing_support
