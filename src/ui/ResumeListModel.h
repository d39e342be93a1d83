#pragma once

#include <QAbstractTableModel>
#include <QStringList>
#include <QTimer>

#include <string>
#include <string_view>
#include <vector>

namespace quillmarsh {

// The rows of one result list. Cells hold program text (GBK) exactly as set, so what is read back
// is byte for byte what was written; the view sees it converted.
//
// A collection sets a dozen cells per resume, one operation at a time. The rows change at once,
// but the view hears of new rows and changed cells at most every few dozen milliseconds, so a
// fast collection does not repaint the list after every cell.
class ResumeListModel final : public QAbstractTableModel {
    Q_OBJECT
public:
    explicit ResumeListModel(QStringList titles, QObject* parent = nullptr);

    // What the view shows (rows it has been told of).
    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

    // The control operations, on the rows as they are now.
    int Rows() const { return static_cast<int>(rows_.size()); }
    void DeleteAllRows();
    int AppendRow(int position, std::string_view text);
    void SetCellText(int row, int column, std::string_view text);
    std::string GetCellText(int row, int column) const;

    // Tells the view of every change so far.
    void Flush();

private:
    void Touch(int row);

    QStringList titles_;
    std::vector<std::vector<std::string>> rows_;
    int shown_ = 0;                        // rows the view knows
    int dirtyFirst_ = -1, dirtyLast_ = -1; // known rows with changed cells
    QTimer flush_;
};

} // namespace quillmarsh
