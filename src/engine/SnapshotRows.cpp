#include "engine/SnapshotRows.h"

#include <algorithm>
#include <limits>

namespace kestrava::engine {
namespace {

std::uint16_t Length(std::string_view text) {
    return static_cast<std::uint16_t>(
        std::min<std::size_t>(text.size(), std::numeric_limits<std::uint16_t>::max()));
}

}  // namespace

std::uint32_t SnapshotRows::store(Snapshot& snapshot, std::string_view text) {
    const auto offset = static_cast<std::uint32_t>(snapshot.texts.size());
    snapshot.texts.append(text.substr(0, Length(text)));
    return offset;
}

void SnapshotRows::addRow(Row row) {
    snapshots_.back().rows.push_back(row);
    ++nextRow_;
}

bool SnapshotRows::full() const {
    // Room is always left for the separator that ends the snapshot.
    return snapshots_.back().rows.size() + 1 >= capacity_;
}

void SnapshotRows::beginSnapshot(std::string_view dateTime) {
    if (open_) {
        endSnapshot();
    }
    snapshots_.push_back({nextRow_, {}, {}, {}});
    open_ = true;
    folder_.clear();
    folderStored_ = false;
    Snapshot& snapshot = snapshots_.back();
    const std::uint32_t offset = store(snapshot, dateTime);
    addRow({NoFolder, offset, Length(dateTime), 0, 0});
}

void SnapshotRows::beginFolder(std::string_view pathStart) {
    folder_.assign(pathStart);
    folderStored_ = false;
}

void SnapshotRows::addFile(std::string_view name, std::string_view size,
                           std::string_view modified) {
    if (!open_ || full()) {
        return;
    }
    Snapshot& snapshot = snapshots_.back();
    if (!folderStored_) {
        const std::uint32_t folderOffset = store(snapshot, folder_);
        snapshot.folders.push_back({folderOffset, Length(folder_)});
        folderStored_ = true;
    }
    const std::uint32_t offset = store(snapshot, name);
    store(snapshot, size);
    store(snapshot, modified);
    addRow({static_cast<std::uint32_t>(snapshot.folders.size() - 1), offset, Length(name),
            Length(size), Length(modified)});
}

void SnapshotRows::endSnapshot() {
    if (!open_) {
        return;
    }
    Snapshot& snapshot = snapshots_.back();
    addRow({NoFolder, static_cast<std::uint32_t>(snapshot.texts.size()), 0, 0, 0});
    // What a long run keeps should not carry the slack of growing buffers.
    snapshot.texts.shrink_to_fit();
    snapshot.folders.shrink_to_fit();
    snapshot.rows.shrink_to_fit();
    open_ = false;
    publish();
}

void SnapshotRows::publish() {
    const std::size_t kept = static_cast<std::size_t>(nextRow_ - firstShownRow_);
    if (kept == shown_) {
        return;
    }
    // Make room first, whole snapshots at a time, never the one being taken.
    std::size_t dropped = 0;
    std::size_t snapshotsDropped = 0;
    while (kept - dropped > capacity_ && snapshotsDropped + 1 < snapshots_.size()) {
        dropped += snapshots_[snapshotsDropped].rows.size();
        ++snapshotsDropped;
    }
    if (dropped > 0) {
        if (observer_ != nullptr) {
            observer_->willRemoveRows(0, dropped - 1);
        }
        snapshots_.erase(snapshots_.begin(),
                         snapshots_.begin() + static_cast<std::ptrdiff_t>(snapshotsDropped));
        firstShownRow_ += dropped;
        shown_ -= dropped;
        if (observer_ != nullptr) {
            observer_->didRemoveRows();
        }
    }
    const std::size_t first = shown_;
    const std::size_t last = kept - dropped - 1;
    if (observer_ != nullptr) {
        observer_->willAppendRows(first, last);
    }
    shown_ = kept - dropped;
    if (observer_ != nullptr) {
        observer_->didAppendRows();
    }
}

void SnapshotRows::clear() {
    if (shown_ > 0 && observer_ != nullptr) {
        observer_->willRemoveRows(0, shown_ - 1);
    }
    snapshots_.clear();
    firstShownRow_ = nextRow_;
    const std::size_t wasShown = shown_;
    shown_ = 0;
    if (open_) {
        // The snapshot goes on; its next rows are the first of the new list.
        snapshots_.push_back({nextRow_, {}, {}, {}});
        folderStored_ = false;
    }
    if (wasShown > 0 && observer_ != nullptr) {
        observer_->didRemoveRows();
    }
}

const SnapshotRows::Row* SnapshotRows::find(std::size_t row, const Snapshot** snapshot) const {
    if (row >= shown_) {
        return nullptr;
    }
    const std::uint64_t wanted = firstShownRow_ + row;
    // The last snapshot that starts at or before the row holds it.
    const auto after = std::upper_bound(
        snapshots_.begin(), snapshots_.end(), wanted,
        [](std::uint64_t value, const Snapshot& candidate) { return value < candidate.firstRow; });
    if (after == snapshots_.begin()) {
        return nullptr;
    }
    const Snapshot& holder = *std::prev(after);
    const std::uint64_t index = wanted - holder.firstRow;
    if (index >= holder.rows.size()) {
        return nullptr;
    }
    *snapshot = &holder;
    return &holder.rows[static_cast<std::size_t>(index)];
}

std::string SnapshotRows::text(std::size_t row, int column) const {
    const Snapshot* snapshot = nullptr;
    const Row* found = find(row, &snapshot);
    if (found == nullptr) {
        return {};
    }
    const std::string_view texts = snapshot->texts;
    switch (column) {
        case 0: {
            std::string first;
            if (found->folder != NoFolder) {
                const FolderText folder = snapshot->folders[found->folder];
                first = texts.substr(folder.offset, folder.length);
            }
            first += texts.substr(found->text, found->firstLength);
            return first;
        }
        case 1:
            return std::string(texts.substr(found->text + found->firstLength, found->sizeLength));
        case 2:
            return std::string(texts.substr(found->text + found->firstLength + found->sizeLength,
                                            found->dateLength));
        default:
            return {};
    }
}

}  // namespace kestrava::engine
