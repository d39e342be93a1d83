#include "ui/ResumeListModel.h"

#include "ui/Text.h"

#include <algorithm>

namespace quillmarsh {

namespace {
constexpr int kFlushMilliseconds = 40;
}

ResumeListModel::ResumeListModel(QStringList titles, QObject* parent)
    : QAbstractTableModel(parent), titles_(std::move(titles))
{
    flush_.setSingleShot(true);
    flush_.setInterval(kFlushMilliseconds);
    connect(&flush_, &QTimer::timeout, this, &ResumeListModel::Flush);
}

int ResumeListModel::rowCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : shown_; }

int ResumeListModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(titles_.size());
}

QVariant ResumeListModel::data(const QModelIndex& index, int role) const
{
    if (role != Qt::DisplayRole || !index.isValid() || index.row() >= shown_)
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

void ResumeListModel::Flush()
{
    flush_.stop();
    if (Rows() > shown_) {
        beginInsertRows({}, shown_, Rows() - 1);
        shown_ = Rows();
        endInsertRows();
    }
    if (dirtyFirst_ >= 0) {
        emit dataChanged(index(dirtyFirst_, 0), index(dirtyLast_, columnCount() - 1), {Qt::DisplayRole});
        dirtyFirst_ = dirtyLast_ = -1;
    }
}

void ResumeListModel::Touch(int row)
{
    if (row < shown_) {
        dirtyFirst_ = dirtyFirst_ < 0 ? row : std::min(dirtyFirst_, row);
        dirtyLast_ = std::max(dirtyLast_, row);
    }
    if (!flush_.isActive())
        flush_.start();
}

void ResumeListModel::DeleteAllRows()
{
    flush_.stop();
    beginResetModel();
    rows_.clear();
    rows_.shrink_to_fit();
    shown_ = 0;
    dirtyFirst_ = dirtyLast_ = -1;
    endResetModel();
}

int ResumeListModel::AppendRow(int position, std::string_view text)
{
    std::vector<std::string> row(static_cast<std::size_t>(titles_.size()));
    row[0] = std::string(text);
    if (position < 0 || position >= Rows()) {
        rows_.push_back(std::move(row));
        Touch(Rows() - 1);
        return Rows() - 1;
    }
    // An insertion before existing rows: the view must hear of it in order.
    Flush();
    beginInsertRows({}, position, position);
    rows_.insert(rows_.begin() + position, std::move(row));
    shown_ = Rows();
    endInsertRows();
    return position;
}

void ResumeListModel::SetCellText(int row, int column, std::string_view text)
{
    if (row < 0 || row >= Rows() || column < 0 || column >= titles_.size())
        return;
    rows_[static_cast<std::size_t>(row)][static_cast<std::size_t>(column)] = std::string(text);
    Touch(row);
}

std::string ResumeListModel::GetCellText(int row, int column) const
{
    if (row < 0 || row >= Rows() || column < 0 || column >= titles_.size())
        return {};
    return rows_[static_cast<std::size_t>(row)][static_cast<std::size_t>(column)];
}

} // namespace quillmarsh
