#include "history/EntryStream.h"

#include <algorithm>

#include "history/EntryHeader.h"
#include "history/FileLine.h"

namespace kestrava::history {
namespace {

// Small enough to stay in the processor's cache while it is searched.
constexpr std::uint64_t Piece = 256 * 1024;

// How far the bytes can be searched for an entry's beginning: one nearer to their end
// than a header's reach can't be told until more is read.
std::size_t Searchable(const std::string& bytes, bool moreToCome) {
    if (!moreToCome) {
        return bytes.size();
    }
    return bytes.size() > HeaderReach ? bytes.size() - HeaderReach : 0;
}

}  // namespace

bool EntryStream::readMore(std::string& buffer) {
    if (readTo_ >= end_) {
        return false;
    }
    const std::uint64_t pieceEnd = std::min(end_, readTo_ + Piece);
    log_.readAppending(readTo_, pieceEnd, buffer);
    readTo_ = pieceEnd;
    return true;
}

// Lines are counted piece by piece as they come, while the piece is in the cache.
bool EntryStream::readMoreFiles(StreamedEntry& entry) {
    const std::size_t start = entry.files.size();
    if (!readMore(entry.files)) {
        return false;
    }
    entry.lines += CountLines(std::string_view(entry.files).substr(start));
    return true;
}

// Leaves what lies before the first entry behind, however much that is: only the bytes
// still to be searched are kept.
bool EntryStream::findFirstEntry() {
    // Entries are looked for from where the stream begins, which is a line's start.
    const std::uint64_t begin = readTo_;
    std::uint64_t pendingStart = begin;
    std::size_t searched = 0;
    for (;;) {
        const std::size_t searchable = Searchable(pending_, readTo_ < end_);
        const auto header = FindHeader(pending_, searched, searchable, pendingStart == begin);
        if (header) {
            firstEntryStart_ = pendingStart + header->start;
            pending_.erase(0, header->start);
            return true;
        }
        // The byte before the bytes still to search tells whether they start a line.
        const std::size_t dropped = std::max(searched, searchable);
        if (dropped > 1) {
            pending_.erase(0, dropped - 1);
            pendingStart += dropped - 1;
            searched = 1;
        }
        if (!readMore(pending_)) {
            firstEntryStart_ = end_;
            pending_.clear();
            return false;
        }
    }
}

bool EntryStream::next(StreamedEntry& entry) {
    if (!started_) {
        started_ = true;
        if (!findFirstEntry()) {
            return false;
        }
    }
    if (pending_.empty()) {
        return false;
    }
    const auto header = FindHeader(pending_, 0, 1, true);
    if (!header) {
        return false;
    }
    entry.head.assign(pending_, 0, header->filesStart);
    entry.date.assign(header->date);
    // The entries of one tree are about as large as each other: room for the last one's
    // size and some spares the growing buffer copies of itself.
    entry.files.reserve(lastSize_ + lastSize_ / 8);
    entry.files.assign(pending_, header->filesStart);
    entry.lines = CountLines(entry.files);
    pending_.clear();
    for (std::size_t searched = 0;;) {
        const bool moreToCome = readTo_ < end_;
        const std::size_t searchable = Searchable(entry.files, moreToCome);
        if (const auto following = FindHeader(entry.files, searched, searchable, true)) {
            pending_.assign(entry.files, following->start);
            entry.lines -= CountLines(pending_);
            entry.files.resize(following->start);
            lastSize_ = entry.files.size();
            return true;
        }
        searched = std::max(searched, searchable);
        if (!readMoreFiles(entry)) {
            return true;
        }
    }
}

}  // namespace kestrava::history
