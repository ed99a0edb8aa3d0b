#pragma once

#include <QAbstractTableModel>
#include <QStringList>

#include "engine/SnapshotRows.h"

namespace kestrava::ui::qt {

// What the snapshot list (ListView1) shows: its columns, and the rows of the engine's
// snapshot store, which tells the model of every batch it adds or drops.
class SnapshotListModel : public QAbstractTableModel, private engine::SnapshotRowsObserver {
    Q_OBJECT

public:
    explicit SnapshotListModel(QObject* parent = nullptr) : QAbstractTableModel(parent) {}
    ~SnapshotListModel() override;

    // Shows these rows from now on, or none once they are null: a store that goes must
    // be shown no more first.
    void showRows(engine::SnapshotRows* rows);

    void addColumn(const QString& caption);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

private:
    void willAppendRows(std::size_t first, std::size_t last) override;
    void didAppendRows() override;
    void willRemoveRows(std::size_t first, std::size_t last) override;
    void didRemoveRows() override;

    QStringList columns_;
    engine::SnapshotRows* rows_ = nullptr;
};

}  // namespace kestrava::ui::qt
