#include "engine/SnapshotRows.h"

#include "fakes/FakeRowTexts.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace kestrava::engine {
namespace {

// Keeps its own count of the rows from the notifications alone, as a view would, and
// checks every notification against it.
class CountingObserver : public SnapshotRowsObserver {
public:
    explicit CountingObserver(const SnapshotRows& rows) : rows_(rows) {}

    void willAppendRows(std::size_t first, std::size_t last) override {
        EXPECT_EQ(first, count);
        EXPECT_GE(last, first);
        EXPECT_EQ(rows_.rowCount(), count) << "rows changed before they were announced";
        pending = last - first + 1;
        ++appends;
    }
    void didAppendRows() override {
        count += pending;
        EXPECT_EQ(rows_.rowCount(), count);
    }
    void willRemoveRows(std::size_t first, std::size_t last) override {
        EXPECT_LE(last, count - 1);
        pending = last - first + 1;
        ++removals;
    }
    void didRemoveRows() override {
        count -= pending;
        EXPECT_EQ(rows_.rowCount(), count);
    }

    std::size_t count = 0;
    std::size_t pending = 0;
    int appends = 0;
    int removals = 0;

private:
    const SnapshotRows& rows_;
};

class SnapshotRowsTest : public ::testing::Test {
protected:
    void snapshot(const std::string& when, int files) {
        rows.beginSnapshot(when);
        rows.beginFolder("/watch/");
        for (int file = 0; file < files; ++file) {
            // Appending to the name, rather than "f" + a temporary, keeps GCC 12 at -O3
            // from seeing an overlapping copy in the inlined insert (a false -Wrestrict).
            std::string name = "f";
            name += std::to_string(file);
            rows.addFile(name, 1024, 0);
        }
        rows.endSnapshot();
    }

    std::vector<std::string> firstColumn() const {
        std::vector<std::string> texts;
        for (std::size_t row = 0; row < rows.rowCount(); ++row) {
            texts.push_back(rows.text(row, 0));
        }
        return texts;
    }

    fakes::FakeRowTexts texts;
    SnapshotRows rows{texts, 10};
    CountingObserver observer{rows};
};

TEST_F(SnapshotRowsTest, ShowsNewRowsOnlyWhenPublishedAndInOneBatch) {
    rows.setObserver(&observer);
    rows.beginSnapshot("12/7/2026 3:17:16 AM");
    rows.beginFolder("/watch/");
    rows.addFile("notes.txt", 1536, 1796551200);
    EXPECT_EQ(rows.rowCount(), 0u);
    rows.publish();
    EXPECT_EQ(rows.rowCount(), 2u);
    rows.addFile("more.txt", 2097152, 1796428800);
    rows.endSnapshot();
    EXPECT_EQ(observer.appends, 2);
    EXPECT_EQ(rows.rowCount(), 4u);
    EXPECT_EQ(rows.text(0, 0), "12/7/2026 3:17:16 AM");
    EXPECT_EQ(rows.text(0, 1), "");
    EXPECT_EQ(rows.text(1, 0), "/watch/notes.txt");
    EXPECT_EQ(rows.text(1, 1), "1536 B");
    EXPECT_EQ(rows.text(1, 2), "at 1796551200");
    EXPECT_EQ(rows.text(2, 1), "2097152 B");
    EXPECT_EQ(rows.text(2, 2), "at 1796428800");
    EXPECT_EQ(rows.text(0, 2), "") << "a date row has a first column only";
    EXPECT_EQ(rows.text(3, 0), "");
    EXPECT_EQ(rows.text(4, 0), "");  // out of range
}

TEST_F(SnapshotRowsTest, DropsWholeOldestSnapshotsBeyondTheCapacity) {
    rows.setObserver(&observer);
    snapshot("first", 3);   // 5 rows
    snapshot("second", 3);  // 10 rows: full
    EXPECT_EQ(rows.rowCount(), 10u);
    snapshot("third", 1);  // 3 more rows: the first snapshot goes, whole
    EXPECT_EQ(firstColumn(), (std::vector<std::string>{"second", "/watch/f0", "/watch/f1",
                                                       "/watch/f2", "", "third", "/watch/f0", ""}));
    EXPECT_EQ(observer.count, 8u);
    EXPECT_EQ(observer.removals, 1);
}

TEST_F(SnapshotRowsTest, ASnapshotLargerThanTheCapacityKeepsItsNewestRows) {
    rows.setObserver(&observer);
    snapshot("old", 1);
    snapshot("huge", 50);
    const auto texts = firstColumn();
    ASSERT_EQ(texts.size(), 10u);
    EXPECT_EQ(texts.front(), "/watch/f41");
    EXPECT_EQ(texts[8], "/watch/f49");
    EXPECT_EQ(texts.back(), "");
    EXPECT_EQ(observer.count, 10u);
}

// Rows live in blocks; a large snapshot spans several, and the rows it drops take their
// blocks with them while the texts of the rows it keeps stay whole.
TEST(SnapshotRowsBlocks, AFolderSpanningBlocksKeepsItsPathInEach) {
    fakes::FakeRowTexts texts;
    SnapshotRows rows(texts, 7, 3);
    rows.beginSnapshot("now");
    rows.beginFolder("/watch/a/");
    for (const char* name : {"1", "2", "3", "4"}) {
        rows.addFile(name, 1, 100);
    }
    rows.publish();
    rows.beginFolder("/watch/b/");
    for (const char* name : {"5", "6", "7", "8", "9"}) {
        rows.addFile(name, 2, 200);
    }
    rows.endSnapshot();

    ASSERT_EQ(rows.rowCount(), 7u);
    std::vector<std::string> paths;
    for (std::size_t row = 0; row < rows.rowCount(); ++row) {
        paths.push_back(rows.text(row, 0));
    }
    EXPECT_EQ(paths, (std::vector<std::string>{"/watch/a/4", "/watch/b/5", "/watch/b/6",
                                               "/watch/b/7", "/watch/b/8", "/watch/b/9", ""}));
    EXPECT_EQ(rows.text(0, 1), "1 B");
    EXPECT_EQ(rows.text(5, 2), "at 200");
}

// A row keeps its size and time in 48 bits each where they fit, and whole where they
// don't; what it shows is the same either way.
TEST_F(SnapshotRowsTest, KeepsEverySizeAndTimeExactly) {
    const std::vector<std::pair<std::uint64_t, std::int64_t>> files{
        {0, 0},
        {1536, -1},                           // a second before 1970
        {(1ull << 40) + 7, 1796551200},       // 1 TB and a bit
        {(1ull << 48) - 1, (1ll << 47) - 1},  // the largest that fit
        {1ull << 50, -(1ll << 47)},           // a size that doesn't
        {UINT64_MAX, INT64_MIN},              // nor these
        {12, INT64_MAX}};
    rows.beginSnapshot("now");
    rows.beginFolder("/watch/");
    for (const auto& [size, time] : files) {
        rows.addFile("f", size, time);
    }
    rows.publish();
    for (std::size_t file = 0; file < files.size(); ++file) {
        EXPECT_EQ(rows.text(file + 1, 1), std::to_string(files[file].first) + " B") << file;
        EXPECT_EQ(rows.text(file + 1, 2), "at " + std::to_string(files[file].second)) << file;
    }
}

// Each folder's path is kept once per block, most of them as what they add to the path
// before them: every path reads whole, across a block's restarts and a new block.
TEST(SnapshotRowsFolders, EveryFilesPathReadsWhole) {
    fakes::FakeRowTexts texts;
    SnapshotRows rows(texts, 1000, 100);
    std::vector<std::string> paths;
    rows.beginSnapshot("now");
    for (int folder = 0; folder < 60; ++folder) {
        const std::string path = "/watch/" + std::to_string(folder % 7) + "/deeper/" +
                                 (folder % 3 == 0 ? "" : "and deeper/") + std::to_string(folder) +
                                 "/";
        rows.beginFolder(path);
        for (int file = 0; file < 3; ++file) {
            rows.addFile("file " + std::to_string(file), 1, 1);
            paths.push_back(path + "file " + std::to_string(file));
        }
    }
    rows.endSnapshot();

    ASSERT_EQ(rows.rowCount(), paths.size() + 2);
    for (std::size_t file = 0; file < paths.size(); ++file) {
        EXPECT_EQ(rows.text(file + 1, 0), paths[file]);
    }
}

// The list starts over as the history log does: the interrupted snapshot's further
// rows, which would come without their date-and-time row, are left out.
TEST_F(SnapshotRowsTest, ClearingInTheMiddleOfASnapshotLeavesItsFurtherRowsOut) {
    rows.setObserver(&observer);
    snapshot("earlier", 1);
    rows.beginSnapshot("now");
    rows.beginFolder("/watch/sub/");
    rows.addFile("before.txt", 1, 0);
    rows.publish();

    rows.clear();
    EXPECT_EQ(rows.rowCount(), 0u);
    EXPECT_EQ(observer.count, 0u);

    rows.addFile("after.txt", 1, 0);
    rows.endSnapshot();
    rows.publish();
    EXPECT_EQ(rows.rowCount(), 0u);
    snapshot("next", 0);
    EXPECT_EQ(firstColumn(), (std::vector<std::string>{"next", ""}));
}

}  // namespace
}  // namespace kestrava::engine
