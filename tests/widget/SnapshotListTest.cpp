#include <QAbstractItemModelTester>
#include <QSignalSpy>
#include <QTableView>
#include <filesystem>

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
