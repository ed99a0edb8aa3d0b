#include "engine/SnapshotRows.h"

#include <algorithm>
#include <limits>

namespace kestrava::engine {
namespace {

std::uint16_t Length(std::string_view text) {
    return static_cast<std::uint16_t>(
        std::min<std::size_t>(text.size(), std::numeric_limits<std::uint16_t>::max()));
}

// What a long run keeps should not carry the slack of growing buffers.
template <typename Block>
void Trim(Block& block) {
    block.texts.shrink_to_fit();
    block.folders.shrink_to_fit();
    block.rows.shrink_to_fit();
}

}  // namespace

void SnapshotRows::startBlock(bool startsSnapshot) {
    if (!blocks_.empty()) {
        Trim(blocks_.back());
    }
    blocks_.push_back({nextRow_, startsSnapshot, {}, {}, {}});
    folderStored_ = false;
}

SnapshotRows::Block& SnapshotRows::writableBlock() {
    if (blocks_.empty() || blocks_.back().rows.size() >= blockRows_) {
        startBlock(false);
    }
    return blocks_.back();
}

std::uint32_t SnapshotRows::store(Block& block, std::string_view text) {
    const auto offset = static_cast<std::uint32_t>(block.texts.size());
    block.texts.append(text.substr(0, Length(text)));
    return offset;
}

void SnapshotRows::addRow(Block& block, Row row) {
    block.rows.push_back(row);
    ++nextRow_;
}

void SnapshotRows::beginSnapshot(std::string_view dateTime) {
    if (open_) {
        endSnapshot();
    }
    startBlock(true);
    open_ = true;
    folder_.clear();
    Block& block = blocks_.back();
    const std::uint32_t offset = store(block, dateTime);
    addRow(block, {0, 0, offset, Length(dateTime), NoFolder});
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
        const std::uint32_t folderOffset = store(block, folder_);
        block.folders.push_back({folderOffset, Length(folder_)});
        folderStored_ = true;
    }
    const std::uint32_t offset = store(block, name);
    addRow(block, {size, modifiedSeconds, offset, Length(name),
                   static_cast<std::uint16_t>(block.folders.size() - 1)});
}

void SnapshotRows::endSnapshot() {
    if (!open_) {
        return;
    }
    Block& block = writableBlock();
    addRow(block, {0, 0, static_cast<std::uint32_t>(block.texts.size()), 0, NoFolder});
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
    const std::string_view texts = block->texts;
    const bool isFile = found->folder != NoFolder;
    switch (column) {
        case 0: {
            std::string first;
            if (isFile) {
                const FolderText folder = block->folders[found->folder];
                first = texts.substr(folder.offset, folder.length);
            }
            first += texts.substr(found->text, found->length);
            return first;
        }
        case 1:
            return isFile ? texts_.sizeText(found->size) : std::string();
        case 2:
            return isFile ? texts_.dateText(found->modifiedSeconds) : std::string();
        default:
            return {};
    }
}

}  // namespace kestrava::engine
