#include "app/SnapshotListModel.h"

namespace kestrava::app {

void SnapshotListModel::addColumn(const QString& caption) {
    const int column = static_cast<int>(columns_.size());
    beginInsertColumns({}, column, column);
    columns_ << caption;
    endInsertColumns();
}

void SnapshotListModel::clear() {
    beginResetModel();
    endResetModel();
}

int SnapshotListModel::rowCount(const QModelIndex&) const {
    return 0;
}

int SnapshotListModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(columns_.size());
}

QVariant SnapshotListModel::data(const QModelIndex&, int) const {
    return {};
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

}  // namespace kestrava::app
