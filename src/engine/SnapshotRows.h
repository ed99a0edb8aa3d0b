#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "engine/PagedArray.h"
#include "engine/TextPages.h"

namespace kestrava::engine {

// Told about every change of the rows that a view shows, before and after it, with
// the rows' numbers as they are at that moment (as Qt's item models want them).
class SnapshotRowsObserver {
public:
    virtual ~SnapshotRowsObserver() = default;

    virtual void willAppendRows(std::size_t first, std::size_t last) = 0;
    virtual void didAppendRows() = 0;
    virtual void willRemoveRows(std::size_t first, std::size_t last) = 0;
    virtual void didRemoveRows() = 0;
};

// How a file row writes its size and last-modified time: as the history log does.
class FileRowTexts {
public:
    virtual ~FileRowTexts() = default;

    virtual std::string sizeText(std::uint64_t bytes) = 0;
    virtual std::string dateText(std::int64_t utcSeconds) = 0;
};

// The rows of the snapshot list: for every snapshot a date-and-time row, a row per
// file (full path, size text, date text) and an empty separator row.
//
// Compact: rows live in blocks of at most `blockRows`, each with its names in one
// buffer, each folder's path once, and a small fixed-size record per row that keeps a
// file's size and time as numbers; the texts are formed when a row is shown. A
// snapshot adds rows out of sight; publish() shows them in one batch (the snapshot
// calls it before letting events run), so a view sees whole rows only. Only the newest
// rows are kept, at most `capacity`: whole oldest snapshots leave the list to make room
// (the history log keeps them), and a snapshot too large to fit alone loses its oldest
// rows, a block's memory going as soon as none of its rows is left.
//
// Nothing outside holds row numbers across events: clear() may come at any time,
// even in the middle of a snapshot, whose further rows are then left out: the list
// starts over with the next snapshot, as the history log does.
class SnapshotRows {
public:
    static constexpr std::size_t DefaultCapacity = 1'000'000;
    // A block's folders are numbered in 16 bits, one number kept for "no folder".
    static constexpr std::size_t DefaultBlockRows = 65'535;

    explicit SnapshotRows(FileRowTexts& texts, std::size_t capacity = DefaultCapacity,
                          std::size_t blockRows = DefaultBlockRows)
        : texts_(texts), capacity_(capacity), blockRows_(std::min(blockRows, DefaultBlockRows)) {}

    void setObserver(SnapshotRowsObserver* observer) { observer_ = observer; }

    // The rows a view shows, and their texts (column 0: the date-time or the path;
    // 1: the size; 2: the date). Rows and columns out of range give "".
    std::size_t rowCount() const { return shown_; }
    // A snapshot is adding rows: more are on their way.
    bool takingSnapshot() const { return open_; }
    std::string text(std::size_t row, int column) const;

    // Writing: by the snapshot only.
    void beginSnapshot(std::string_view dateTime);
    // The text that the paths of the following files start with ("/watch/").
    void beginFolder(std::string_view pathStart);
    void addFile(std::string_view name, std::uint64_t size, std::int64_t modifiedSeconds);
    void endSnapshot();
    void publish();

    // Empties the list.
    void clear();

private:
    static constexpr std::uint16_t NoFolder = UINT16_MAX;
    // Every this many folders of a block, one is kept whole; the others keep what
    // their path adds to the one before (siblings share all but their last name).
    static constexpr std::size_t FoldersPerWholePath = 16;

    // A file row, or (without a folder) a date-and-time row or a separator row. The
    // size and the time keep 48 bits each (256 TB; millions of years either way); a
    // file beyond that keeps them in its block's `outsized`, and its size's high bits
    // say so.
    struct Row {
        std::uint32_t text;  // offset of the name, or of the date-and-time row's text
        std::uint32_t sizeLow;
        std::uint32_t timeLow;
        std::uint16_t sizeHigh;
        std::int16_t timeHigh;
        std::uint16_t length;  // of that text
        std::uint16_t folder;  // NoFolder: no file row
    };
    static_assert(sizeof(Row) == 20);
    static constexpr std::uint16_t Outsized = UINT16_MAX;

    struct SizeAndTime {
        std::uint64_t size;
        std::int64_t modifiedSeconds;
    };

    // A folder's path: the first `shared` bytes of the path before it in the block,
    // then its own text.
    struct FolderText {
        std::uint32_t offset;  // in the block's texts
        std::uint16_t shared;
        std::uint16_t length;
    };

    struct Block {
        std::uint64_t firstRow;  // counted since the program started
        bool startsSnapshot;
        TextPages texts;
        std::vector<FolderText> folders;
        PagedArray<Row, 4096> rows;
        std::vector<SizeAndTime> outsized;
    };

    static SizeAndTime SizeAndTimeOf(const Block& block, const Row& row);
    static Row FileRow(Block& block, std::uint32_t text, std::string_view name, std::uint64_t size,
                       std::int64_t modifiedSeconds);
    static Row TextRow(std::uint32_t text, std::string_view rowText);
    static std::string FolderPath(const Block& block, std::size_t folder);
    void storeFolder(Block& block);
    Block& writableBlock();
    void startBlock(bool startsSnapshot);
    std::uint32_t store(Block& block, std::string_view text);
    void addRow(Block& block, Row row);
    std::optional<std::uint64_t> nextSnapshotStartAfter(std::uint64_t row) const;
    void dropRowsBefore(std::uint64_t row);
    const Row* find(std::size_t row, const Block** block) const;

    FileRowTexts& texts_;
    std::size_t capacity_;
    std::size_t blockRows_;
    SnapshotRowsObserver* observer_ = nullptr;
    std::deque<Block> blocks_;
    bool open_ = false;  // a snapshot is still being taken
    // The folder of the files being added; stored with the first of them in each block,
    // so that folders without files cost nothing.
    std::string folder_;
    bool folderStored_ = false;
    std::string lastFolderStored_;     // the block's last folder's path, whole
    std::uint64_t firstShownRow_ = 0;  // the oldest kept row, counted since the start
    std::uint64_t nextRow_ = 0;        // the next row to be added, counted the same way
    std::size_t shown_ = 0;            // kept rows that a view may see
};

}  // namespace kestrava::engine
