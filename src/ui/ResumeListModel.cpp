#include "ui/ResumeListModel.h"

#include "ui/Text.h"

namespace quillmarsh {

ResumeListModel::ResumeListModel(QStringList titles, QObject* parent)
    : QAbstractTableModel(parent), titles_(std::move(titles))
{
}

int ResumeListModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(rows_.size());
}

int ResumeListModel::columnCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : static_cast<int>(titles_.size()); }

QVariant ResumeListModel::data(const QModelIndex& index, int role) const
{
    if (role != Qt::DisplayRole || !index.isValid())
        return {};
    return ToQString(rows_[static_cast<std::size_t>(index.row())][static_cast<std::size_t>(index.column())]);
}

QVariant ResumeListModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation == Qt::Horizontal && role == Qt::DisplayRole && section >= 0 && section < titles_.size())
        return titles_[section];
    if (orientation == Qt::Horizontal && role == Qt::TextAlignmentRole)
        return QVariant::fromValue(Qt::AlignLeft | Qt::AlignVCenter);
    return {};
}

void ResumeListModel::DeleteAllRows()
{
    beginResetModel();
    rows_.clear();
    rows_.shrink_to_fit();
    endResetModel();
}

int ResumeListModel::AppendRow(int position, std::string_view text)
{
    const int count = static_cast<int>(rows_.size());
    const int at = (position < 0 || position > count) ? count : position;
    beginInsertRows({}, at, at);
    std::vector<std::string> row(static_cast<std::size_t>(titles_.size()));
    row[0] = std::string(text);
    rows_.insert(rows_.begin() + at, std::move(row));
    endInsertRows();
    return at;
}

void ResumeListModel::SetCellText(int row, int column, std::string_view text)
{
    if (row < 0 || row >= static_cast<int>(rows_.size()) || column < 0 || column >= titles_.size())
        return;
    rows_[static_cast<std::size_t>(row)][static_cast<std::size_t>(column)] = std::string(text);
    const QModelIndex cell = index(row, column);
    emit dataChanged(cell, cell, {Qt::DisplayRole});
}

std::string ResumeListModel::GetCellText(int row, int column) const
{
    if (row < 0 || row >= static_cast<int>(rows_.size()) || column < 0 || column >= titles_.size())
        return {};
    return rows_[static_cast<std::size_t>(row)][static_cast<std::size_t>(column)];
}

} // namespace quillmarsh
