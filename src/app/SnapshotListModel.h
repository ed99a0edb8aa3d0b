#pragma once

#include <QAbstractTableModel>
#include <QStringList>

namespace kestrava::app {

// What the snapshot list (ListView1) shows: its columns, and the snapshots' rows.
class SnapshotListModel : public QAbstractTableModel {
    Q_OBJECT

public:
    using QAbstractTableModel::QAbstractTableModel;

    void addColumn(const QString& caption);

    // Removes every row; the columns stay.
    void clear();

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

private:
    QStringList columns_;
};

}  // namespace kestrava::app
