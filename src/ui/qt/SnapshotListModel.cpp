#include "ui/qt/SnapshotListModel.h"

#include "platform/qt/QtText.h"

namespace kestrava::ui::qt {

SnapshotListModel::~SnapshotListModel() {
    if (rows_ != nullptr) {
        rows_->setObserver(nullptr);
    }
}

void SnapshotListModel::showRows(engine::SnapshotRows* rows) {
    beginResetModel();
    if (rows_ != nullptr) {
        rows_->setObserver(nullptr);
    }
    rows_ = rows;
    if (rows_ != nullptr) {
        rows_->setObserver(this);
    }
    endResetModel();
}

void SnapshotListModel::addColumn(const QString& caption) {
    const int column = static_cast<int>(columns_.size());
    beginInsertColumns({}, column, column);
    columns_ << caption;
    endInsertColumns();
}

int SnapshotListModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() || rows_ == nullptr ? 0 : static_cast<int>(rows_->rowCount());
}

int SnapshotListModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(columns_.size());
}

QVariant SnapshotListModel::data(const QModelIndex& index, int role) const {
    if (role != Qt::DisplayRole || !index.isValid() || rows_ == nullptr) {
        return {};
    }
    return platform::ToQString(rows_->text(static_cast<std::size_t>(index.row()), index.column()));
}

QVariant SnapshotListModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || section < 0 || section >= columns_.size()) {
        return {};
    }
    if (role == Qt::DisplayRole) {
        return columns_[section];
    }
    if (role == Qt::TextAlignmentRole) {
        return QVariant::fromValue(Qt::AlignLeft | Qt::AlignVCenter);
    }
    return {};
}

void SnapshotListModel::willAppendRows(std::size_t first, std::size_t last) {
    beginInsertRows({}, static_cast<int>(first), static_cast<int>(last));
}

void SnapshotListModel::didAppendRows() {
    endInsertRows();
}

void SnapshotListModel::willRemoveRows(std::size_t first, std::size_t last) {
    beginRemoveRows({}, static_cast<int>(first), static_cast<int>(last));
}

void SnapshotListModel::didRemoveRows() {
    endRemoveRows();
}

}  // namespace kestrava::ui::qt
