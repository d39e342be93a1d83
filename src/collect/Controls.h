#pragma once

#include <string>
#include <string_view>

namespace quillmarsh {

// The window's control operations that collection and export use, by control name. Texts are
// program text (GBK). Any thread may call them: the window carries each one out on its own thread
// while the caller waits. Rows, columns or panes that do not exist are ignored by setters and give
// empty text or -1 from getters.
class Controls {
public:
    virtual ~Controls() = default;

    // Combo box: index of the selected item, -1 when none (also for a control that is no combo).
    virtual int SelectedIndex(std::string_view control) = 0;
    // Edit or combo box: the current text.
    virtual std::string Text(std::string_view control) = 0;

    // Lists.
    virtual void DeleteAllRows(std::string_view list) = 0;
    // Adds a row at `position` (after the last row when negative or past the end) with `text` in
    // column 0; returns its index, -1 when adding fails.
    virtual int AppendRow(std::string_view list, int position = -1, std::string_view text = {}) = 0;
    virtual int RowCount(std::string_view list) = 0;
    virtual void SetCellText(std::string_view list, int row, int column, std::string_view text) = 0;
    virtual std::string GetCellText(std::string_view list, int row, int column = 0) = 0;

    // Status bar: the text of pane 0 to 4.
    virtual void SetPaneText(std::string_view statusBar, int pane, std::string_view text = {}) = 0;
};

} // namespace quillmarsh
