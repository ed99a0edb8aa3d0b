#include "ui/qt/SnapshotListModel.h"

#include "platform/FreeMemory.h"
#include "platform/qt/QtText.h"

namespace kestrava::ui::qt {

SnapshotListModel::SnapshotListModel(QObject* parent) : QAbstractTableModel(parent) {
    batchTimer_.setSingleShot(true);
    connect(&batchTimer_, &QTimer::timeout, this, &SnapshotListModel::announceNewRows);
}

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
    batchTimer_.stop();
    announced_ = 0;
    if (rows_ != nullptr) {
        rows_->setObserver(this);
        announced_ = rows_->rowCount();
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
    return parent.isValid() ? 0 : static_cast<int>(announced_);
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

// The store's count changes between the two calls; the view learns of it later.
void SnapshotListModel::willAppendRows(std::size_t, std::size_t) {}

void SnapshotListModel::didAppendRows() {
    if (!rows_->takingSnapshot()) {
        announceNewRows();
        // The snapshot's walk is over: what its helpers held goes back.
        platform::GiveBackFreeMemory();
    } else if (!announcedLast_.isValid() || announcedLast_.elapsed() >= BatchGap.count()) {
        announceNewRows();
    } else if (!batchTimer_.isActive()) {
        batchTimer_.start(static_cast<int>(BatchGap.count() - announcedLast_.elapsed()));
    }
}

void SnapshotListModel::announceNewRows() {
    batchTimer_.stop();
    if (rows_ == nullptr || rows_->rowCount() <= announced_) {
        return;
    }
    beginInsertRows({}, static_cast<int>(announced_), static_cast<int>(rows_->rowCount() - 1));
    announced_ = rows_->rowCount();
    endInsertRows();
    announcedLast_.start();
}

// Of the rows removed, the view knows those it was told of; the others it never sees.
void SnapshotListModel::willRemoveRows(std::size_t first, std::size_t last) {
    removing_ = first < announced_ ? std::min(last + 1, announced_) - first : 0;
    if (removing_ > 0) {
        beginRemoveRows({}, static_cast<int>(first), static_cast<int>(first + removing_ - 1));
    }
}

void SnapshotListModel::didRemoveRows() {
    if (removing_ > 0) {
        announced_ -= removing_;
        removing_ = 0;
        endRemoveRows();
    }
}

}  // namespace kestrava::ui::qt
