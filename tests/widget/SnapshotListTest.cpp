#include <QAbstractItemModelTester>
#include <QMouseEvent>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTableView>
#include <QTest>
#include <chrono>
#include <filesystem>
#include <functional>
#include <optional>
#include <thread>

#include "fakes/FakeRowTexts.h"
#include "ui/qt/SnapshotListModel.h"
#include "widget/Form1Fixture.h"

namespace kestrava::testing {
namespace {

class SnapshotList : public Form1Fixture {
protected:
    SnapshotList() {
        clock.currentTime = std::chrono::system_clock::from_time_t(1796613436);
        store(settings::Setting::StartStopState, "Off");
    }

    // The window on the tree, and its snapshot list's model.
    QAbstractItemModel* windowOnTree() {
        loadedForm();
        view->setFolderText(tree.string());
        return list();
    }

    QAbstractItemModel* list() const {
        return view->widget<QTableView>(app::Control::ListView1)->model();
    }

    QString cell(int row, int column) const {
        return list()->data(list()->index(row, column), Qt::DisplayRole).toString();
    }

    TemporaryFolder tree;
};

TEST_F(SnapshotList, ASnapshotFillsListView1) {
    tree.writeFile("notes.txt", std::string(1536, 'x'));
    tree.writeFile("Archive/Über.txt", "x");
    auto* model = windowOnTree();
    QAbstractItemModelTester tester(model, QAbstractItemModelTester::FailureReportingMode::Fatal);

    form->PushButton6_Click();

    ASSERT_EQ(model->rowCount(), 4);
    EXPECT_EQ(cell(0, 0), "12/7/2026 3:17:16 AM");
    EXPECT_EQ(cell(1, 0), QString::fromStdString(tree.string() + "/notes.txt"));
    EXPECT_EQ(cell(1, 1), "1.5 KB");
    EXPECT_EQ(cell(2, 0),
              QString::fromStdString(tree.string()) + QStringLiteral("/Archive/Über.txt"));
    EXPECT_EQ(cell(3, 0), "");
    EXPECT_TRUE(std::filesystem::exists(form->HistoryLogPath));
    EXPECT_TRUE(dialogs.shown.empty());
}

TEST_F(SnapshotList, RowsArriveInBatchesAndAreWholeWheneverEventsRun) {
    for (int file = 0; file < 3000; ++file) {
        tree.writeFile("many/file " + std::to_string(file));
    }
    auto* model = windowOnTree();
    QAbstractItemModelTester tester(model, QAbstractItemModelTester::FailureReportingMode::Fatal);
    QSignalSpy batches(model, &QAbstractItemModel::rowsInserted);
    int pumpsSeen = 0;
    events.onPump = [&] {
        ++pumpsSeen;
        const int shown = model->rowCount();
        for (int row = 1; row < shown; ++row) {
            ASSERT_TRUE(cell(row, 0).startsWith(QString::fromStdString(tree.string())) &&
                        cell(row, 1) == "0 Bytes")
                << "row " << row << " of " << shown;
        }
    };

    form->PushButton6_Click();

    EXPECT_EQ(model->rowCount(), 3002);
    EXPECT_GT(pumpsSeen, 10);
    EXPECT_GE(batches.count(), 1);
    EXPECT_LT(batches.count(), pumpsSeen);
}

// A snapshot slow enough for the list to take its rows in several batches, with the
// window shown and its events running at every pump, as a user's would.
class SnapshotListInBatches : public SnapshotList {
protected:
    SnapshotListInBatches() {
        for (int folder = 0; folder < 30; ++folder) {
            for (int file = 0; file < 100; ++file) {
                tree.writeFile("folder " + std::to_string(folder) + "/file " +
                               std::to_string(file));
            }
        }
    }

    QTableView* shownList() {
        windowOnTree();
        auto* table = view->widget<QTableView>(app::Control::ListView1);
        view->show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(view.get()));
        return table;
    }

    // Lets the window's events run between a few milliseconds of walking.
    void slowPumps(const std::function<void()>& atPump = {}) {
        events.onPump = [atPump] {
            std::this_thread::sleep_for(std::chrono::milliseconds(8));
            if (atPump) {
                atPump();
            }
            QCoreApplication::processEvents();
        };
    }

    static constexpr int Rows = 3002;
};

TEST_F(SnapshotListInBatches, ShowsEveryRowInTheStoresOrderOnceTheSnapshotEnds) {
    QTableView* table = shownList();
    QAbstractItemModelTester tester(table->model(),
                                    QAbstractItemModelTester::FailureReportingMode::Fatal);
    QSignalSpy batches(table->model(), &QAbstractItemModel::rowsInserted);
    slowPumps();

    const auto started = std::chrono::steady_clock::now();
    form->PushButton6_Click();
    const auto took = std::chrono::steady_clock::now() - started;

    // Every row at once, with no wait for a batch to come due.
    ASSERT_EQ(table->model()->rowCount(), Rows);
    EXPECT_GE(batches.count(), 3);
    // At most one batch a gap, and the last rows when the snapshot ends: however slowly
    // a loaded machine runs the pumps, the view is never told row by row.
    EXPECT_LE(batches.count(), took / ui::qt::SnapshotListModel::BatchGap + 2);
    int nextRow = 0;
    for (const QList<QVariant>& batch : batches) {
        EXPECT_EQ(batch.at(1).toInt(), nextRow) << "batches follow on from each other";
        nextRow = batch.at(2).toInt() + 1;
    }
    EXPECT_EQ(nextRow, Rows);
    const engine::SnapshotRows& rows = form->snapshotRows();
    for (int row = 0; row < Rows; ++row) {
        for (int column = 0; column < 3; ++column) {
            ASSERT_EQ(cell(row, column).toStdString(), rows.text(row, column))
                << "row " << row << ", column " << column;
        }
    }
    const std::string log = ReadWholeFile(form->HistoryLogPath);
    EXPECT_EQ(std::count(log.begin(), log.end(), '\n'), Rows);
    // The list reaches its last row, and nothing scrolled it there by itself.
    EXPECT_EQ(table->verticalScrollBar()->value(), 0);
    table->scrollToBottom();
    QCoreApplication::processEvents();
    const QModelIndex last = table->indexAt(QPoint(1, table->viewport()->height() - 2));
    EXPECT_GE(last.row(), Rows - 2);
}

TEST_F(SnapshotListInBatches, AClickDuringASnapshotIsHandledBeforeTheNextBatch) {
    QTableView* table = shownList();
    QSignalSpy batches(table->model(), &QAbstractItemModel::rowsInserted);
    std::optional<qsizetype> batchesAtClick;
    std::optional<qsizetype> batchesWhenHandled;
    QObject::connect(table, &QAbstractItemView::clicked, [&](const QModelIndex& clicked) {
        batchesWhenHandled = batches.count();
        EXPECT_EQ(clicked.row(), 1);
    });
    slowPumps([&] {
        if (!batchesAtClick && batches.count() >= 2) {
            batchesAtClick = batches.count();
            // Queued as the window system's clicks are, to be handled when events run.
            const QPoint onRow = table->visualRect(table->model()->index(1, 0)).center();
            const QPoint global = table->viewport()->mapToGlobal(onRow);
            for (const QEvent::Type type : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease}) {
                QCoreApplication::postEvent(
                    table->viewport(),
                    new QMouseEvent(
                        type, onRow, global, Qt::LeftButton,
                        type == QEvent::MouseButtonPress ? Qt::LeftButton : Qt::NoButton,
                        Qt::NoModifier));
            }
        }
    });

    form->PushButton6_Click();

    ASSERT_TRUE(batchesAtClick.has_value()) << "the snapshot ended before its second batch";
    ASSERT_TRUE(batchesWhenHandled.has_value());
    EXPECT_EQ(*batchesWhenHandled, *batchesAtClick);
    EXPECT_GT(batches.count(), *batchesAtClick) << "batches went on after the click";
    // The batches after it kept the row the user chose, and the list where it was.
    EXPECT_EQ(table->selectionModel()->selectedRows().value(0).row(), 1);
    EXPECT_EQ(table->verticalScrollBar()->value(), 0);
    EXPECT_EQ(table->model()->rowCount(), Rows);
}

// The rows emptied in the middle of a snapshot: the snapshot's further rows are left
// out, the model stays consistent and keeps its columns; the log is not the list's.
TEST_F(SnapshotList, ClearingDuringASnapshotKeepsTheColumnsAndTheLog) {
    for (int file = 0; file < 1000; ++file) {
        tree.writeFile("many/file " + std::to_string(file));
    }
    auto* model = windowOnTree();
    QAbstractItemModelTester tester(model, QAbstractItemModelTester::FailureReportingMode::Fatal);
    events.onPump = [&] {
        if (events.pumps == 3) {
            form->snapshotRows().clear();
        }
    };

    form->PushButton6_Click();

    EXPECT_EQ(model->columnCount(), 3);
    EXPECT_EQ(model->headerData(2, Qt::Horizontal), " Date Modified");
    EXPECT_EQ(model->rowCount(), 0);
    const std::string log = ReadWholeFile(form->HistoryLogPath);
    EXPECT_EQ(std::count(log.begin(), log.end(), '\n'), 1002);
}

// A store of ten rows at most, shown by the model in a view, checked by Qt's tester.
class SnapshotListModelInAView : public ::testing::Test {
protected:
    SnapshotListModelInAView() {
        model.showRows(&rows);
        model.addColumn(" Files Status");
        view.setModel(&model);
    }

    fakes::FakeRowTexts texts;
    engine::SnapshotRows rows{texts, 10};
    ui::qt::SnapshotListModel model;
    QTableView view;
    QAbstractItemModelTester tester{&model, QAbstractItemModelTester::FailureReportingMode::Fatal};
};

TEST_F(SnapshotListModelInAView, KeepsItsCapacityDroppingWholeSnapshots) {
    for (const char* when : {"first", "second", "third"}) {
        rows.beginSnapshot(when);
        rows.beginFolder("/watch/");
        for (const char* name : {"a", "b", "c"}) {
            rows.addFile(name, 1, 0);
        }
        rows.endSnapshot();
    }
    EXPECT_EQ(model.rowCount(), 10);
    EXPECT_EQ(model.data(model.index(0, 0), Qt::DisplayRole), "second");
    EXPECT_EQ(model.data(model.index(7, 0), Qt::DisplayRole), "/watch/b");

    rows.clear();
    EXPECT_EQ(model.rowCount(), 0);
    EXPECT_EQ(model.columnCount(), 1);
}

TEST_F(SnapshotListModelInAView, ASnapshotLargerThanTheCapacityShowsItsNewestRows) {
    rows.beginSnapshot("now");
    rows.beginFolder("/watch/");
    for (int file = 0; file < 25; ++file) {
        std::string name = "f";  // appended to: "f" + a temporary trips GCC 12's -Wrestrict
        name += std::to_string(file);
        rows.addFile(name, 1, 0);
        if (file % 4 == 0) {
            rows.publish();  // as the snapshot does before letting events run
        }
    }
    rows.endSnapshot();

    ASSERT_EQ(model.rowCount(), 10);
    EXPECT_EQ(model.data(model.index(0, 0), Qt::DisplayRole), "/watch/f16");
    EXPECT_EQ(model.data(model.index(8, 0), Qt::DisplayRole), "/watch/f24");
    EXPECT_EQ(model.data(model.index(9, 0), Qt::DisplayRole), "");
}

}  // namespace
}  // namespace kestrava::testing
