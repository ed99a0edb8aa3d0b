#pragma once

#include <QAbstractTableModel>
#include <QElapsedTimer>
#include <QStringList>
#include <QTimer>
#include <chrono>

#include "engine/SnapshotRows.h"

namespace kestrava::ui::qt {

// What the snapshot list (ListView1) shows: its columns, and the rows of the engine's
// snapshot store, which tells the model of every batch it adds or drops.
//
// While a snapshot runs, rows arrive thousands a second, faster than anyone can read
// them, and every batch the view learns of costs it a layout and a repaint. So the
// model tells its view of new rows at most every BatchGap, and of the rest the moment
// the snapshot ends; rows dropped are told at once. The view thus shows a prefix of
// the store's rows, in the store's order.
class SnapshotListModel : public QAbstractTableModel, private engine::SnapshotRowsObserver {
    Q_OBJECT

public:
    static constexpr std::chrono::milliseconds BatchGap{150};

    explicit SnapshotListModel(QObject* parent = nullptr);
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
    // Tells the view of the rows the store added since it last did.
    void announceNewRows();

    QStringList columns_;
    engine::SnapshotRows* rows_ = nullptr;
    std::size_t announced_ = 0;  // the store's first rows, as many as the view knows of
    std::size_t removing_ = 0;   // of them, as many as a removal under way takes
    QTimer batchTimer_;          // tells the view of the rows that came since
    QElapsedTimer announcedLast_;
};

}  // namespace kestrava::ui::qt
