#include "engine/SnapshotRows.h"

#include <algorithm>
#include <limits>

namespace kestrava::engine {
namespace {

std::uint16_t Length(std::string_view text) {
    return static_cast<std::uint16_t>(
        std::min<std::size_t>(text.size(), std::numeric_limits<std::uint16_t>::max()));
}

// What a long run keeps should not carry the slack of growing buffers. A block is
// trimmed once it is written whole.
template <typename Block>
void Trim(Block& block) {
    block.texts.shrinkToFit();
    block.rows.shrinkToFit();
    block.folders.shrink_to_fit();
    block.outsized.shrink_to_fit();
}

std::size_t SharedPrefix(std::string_view a, std::string_view b) {
    const auto [inA, inB] = std::mismatch(a.begin(), a.end(), b.begin(), b.end());
    return static_cast<std::size_t>(inA - a.begin());
}

}  // namespace

SnapshotRows::Row SnapshotRows::FileRow(Block& block, std::uint32_t text, std::string_view name,
                                        std::uint64_t size, std::int64_t modifiedSeconds) {
    const auto folder = static_cast<std::uint16_t>(block.folders.size() - 1);
    const std::uint64_t sizeHigh = size >> 32;
    const std::int64_t timeHigh = modifiedSeconds >> 32;  // arithmetic: keeps the sign
    if (sizeHigh >= Outsized || timeHigh < INT16_MIN || timeHigh > INT16_MAX) {
        block.outsized.push_back({size, modifiedSeconds});
        return {text,  static_cast<std::uint32_t>(block.outsized.size() - 1),
                0,     Outsized,
                0,     Length(name),
                folder};
    }
    return {text,
            static_cast<std::uint32_t>(size),
            static_cast<std::uint32_t>(static_cast<std::uint64_t>(modifiedSeconds)),
            static_cast<std::uint16_t>(sizeHigh),
            static_cast<std::int16_t>(timeHigh),
            Length(name),
            folder};
}

SnapshotRows::SizeAndTime SnapshotRows::SizeAndTimeOf(const Block& block, const Row& row) {
    if (row.sizeHigh == Outsized) {
        return block.outsized[row.sizeLow];
    }
    return {
        (std::uint64_t{row.sizeHigh} << 32) | row.sizeLow,
        static_cast<std::int64_t>(std::uint64_t(std::int64_t{row.timeHigh}) << 32 | row.timeLow)};
}

SnapshotRows::Row SnapshotRows::TextRow(std::uint32_t text, std::string_view rowText) {
    return {text, 0, 0, 0, 0, Length(rowText), NoFolder};
}

void SnapshotRows::startBlock(bool startsSnapshot) {
    if (!blocks_.empty()) {
        Trim(blocks_.back());
    }
    blocks_.push_back({nextRow_, startsSnapshot, {}, {}, {}, {}});
    folderStored_ = false;
    lastFolderStored_.clear();
}

SnapshotRows::Block& SnapshotRows::writableBlock() {
    if (blocks_.empty() || blocks_.back().rows.size() >= blockRows_) {
        startBlock(false);
    }
    return blocks_.back();
}

std::uint32_t SnapshotRows::store(Block& block, std::string_view text) {
    return block.texts.store(text.substr(0, Length(text)));
}

void SnapshotRows::addRow(Block& block, Row row) {
    block.rows.push_back(row);
    ++nextRow_;
}

void SnapshotRows::storeFolder(Block& block) {
    const bool whole = block.folders.size() % FoldersPerWholePath == 0;
    const std::size_t shared =
        whole ? 0 : std::min<std::size_t>(SharedPrefix(lastFolderStored_, folder_), UINT16_MAX);
    const std::string_view own = std::string_view(folder_).substr(shared);
    block.folders.push_back({store(block, own), static_cast<std::uint16_t>(shared), Length(own)});
    lastFolderStored_ = folder_;
    folderStored_ = true;
}

std::string SnapshotRows::FolderPath(const Block& block, std::size_t folder) {
    std::string path;
    for (std::size_t index = folder - folder % FoldersPerWholePath; index <= folder; ++index) {
        const FolderText& text = block.folders[index];
        path.resize(text.shared);
        path += block.texts.at(text.offset, text.length);
    }
    return path;
}

void SnapshotRows::beginSnapshot(std::string_view dateTime) {
    if (open_) {
        endSnapshot();
    }
    startBlock(true);
    open_ = true;
    folder_.clear();
    Block& block = blocks_.back();
    addRow(block, TextRow(store(block, dateTime), dateTime));
}

void SnapshotRows::beginFolder(std::string_view pathStart) {
    folder_.assign(pathStart);
    folderStored_ = false;
}

void SnapshotRows::addFile(std::string_view name, std::uint64_t size,
                           std::int64_t modifiedSeconds) {
    if (!open_) {
        return;
    }
    Block& block = writableBlock();
    if (!folderStored_) {
        storeFolder(block);
    }
    addRow(block, FileRow(block, store(block, name), name, size, modifiedSeconds));
}

void SnapshotRows::endSnapshot() {
    if (!open_) {
        return;
    }
    Block& block = writableBlock();
    addRow(block, TextRow(0, {}));
    Trim(block);
    open_ = false;
    publish();
}

std::optional<std::uint64_t> SnapshotRows::nextSnapshotStartAfter(std::uint64_t row) const {
    for (const Block& block : blocks_) {
        if (block.startsSnapshot && block.firstRow > row) {
            return block.firstRow;
        }
    }
    return std::nullopt;
}

void SnapshotRows::dropRowsBefore(std::uint64_t row) {
    while (!blocks_.empty() && blocks_.front().firstRow + blocks_.front().rows.size() <= row) {
        blocks_.pop_front();
    }
}

void SnapshotRows::publish() {
    if (nextRow_ - firstShownRow_ == shown_) {
        return;
    }
    // Make room: whole oldest snapshots first; a snapshot that is too large alone keeps
    // its newest rows.
    std::uint64_t keepFrom = firstShownRow_;
    while (nextRow_ - keepFrom > capacity_) {
        keepFrom = nextSnapshotStartAfter(keepFrom).value_or(nextRow_ - capacity_);
    }
    if (keepFrom > firstShownRow_) {
        const std::size_t removedShown =
            static_cast<std::size_t>(std::min<std::uint64_t>(keepFrom - firstShownRow_, shown_));
        if (removedShown > 0 && observer_ != nullptr) {
            observer_->willRemoveRows(0, removedShown - 1);
        }
        firstShownRow_ = keepFrom;
        shown_ -= removedShown;
        dropRowsBefore(firstShownRow_);
        if (removedShown > 0 && observer_ != nullptr) {
            observer_->didRemoveRows();
        }
    }
    const auto kept = static_cast<std::size_t>(nextRow_ - firstShownRow_);
    if (kept == shown_) {
        return;
    }
    if (observer_ != nullptr) {
        observer_->willAppendRows(shown_, kept - 1);
    }
    shown_ = kept;
    if (observer_ != nullptr) {
        observer_->didAppendRows();
    }
}

void SnapshotRows::clear() {
    if (shown_ > 0 && observer_ != nullptr) {
        observer_->willRemoveRows(0, shown_ - 1);
    }
    blocks_.clear();
    firstShownRow_ = nextRow_;
    const std::size_t wasShown = shown_;
    shown_ = 0;
    // A snapshot being taken adds nothing more: the list starts over with the next one.
    open_ = false;
    folderStored_ = false;
    if (wasShown > 0 && observer_ != nullptr) {
        observer_->didRemoveRows();
    }
}

const SnapshotRows::Row* SnapshotRows::find(std::size_t row, const Block** block) const {
    if (row >= shown_) {
        return nullptr;
    }
    const std::uint64_t wanted = firstShownRow_ + row;
    // The last block that starts at or before the row holds it.
    const auto after = std::upper_bound(
        blocks_.begin(), blocks_.end(), wanted,
        [](std::uint64_t value, const Block& candidate) { return value < candidate.firstRow; });
    if (after == blocks_.begin()) {
        return nullptr;
    }
    const Block& holder = *std::prev(after);
    const std::uint64_t index = wanted - holder.firstRow;
    if (index >= holder.rows.size()) {
        return nullptr;
    }
    *block = &holder;
    return &holder.rows[static_cast<std::size_t>(index)];
}

std::string SnapshotRows::text(std::size_t row, int column) const {
    const Block* block = nullptr;
    const Row* found = find(row, &block);
    if (found == nullptr) {
        return {};
    }
    const bool isFile = found->folder != NoFolder;
    switch (column) {
        case 0: {
            std::string first;
            if (isFile) {
                first = FolderPath(*block, found->folder);
            }
            first += block->texts.at(found->text, found->length);
            return first;
        }
        case 1:
            return isFile ? texts_.sizeText(SizeAndTimeOf(*block, *found).size) : std::string();
        case 2:
            return isFile ? texts_.dateText(SizeAndTimeOf(*block, *found).modifiedSeconds)
                          : std::string();
        default:
            return {};
    }
}

}  // namespace kestrava::engine
