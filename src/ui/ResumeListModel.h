#pragma once

#include <QAbstractTableModel>
#include <QStringList>

#include <string>
#include <string_view>
#include <vector>

namespace quillmarsh {

// The rows of one result list. Cells hold program text (GBK) exactly as set, so what is read back
// is byte for byte what was written; the view sees it converted.
class ResumeListModel final : public QAbstractTableModel {
    Q_OBJECT
public:
    explicit ResumeListModel(QStringList titles, QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

    void DeleteAllRows();
    int AppendRow(int position, std::string_view text);
    void SetCellText(int row, int column, std::string_view text);
    std::string GetCellText(int row, int column) const;

private:
    QStringList titles_;
    std::vector<std::vector<std::string>> rows_;
};

} // namespace quillmarsh
