#include "history/EntryIndex.h"

namespace kestrava::history {

bool EntryIndex::findFromNewest(std::uint64_t count) {
    while (fromNewest_.size() < count && !allFromNewest_) {
        if (auto span = backward_.next()) {
            fromNewest_.push_back(std::move(*span));
        } else {
            allFromNewest_ = true;
        }
    }
    return fromNewest_.size() >= count;
}

bool EntryIndex::findFromOldest(std::uint64_t count) {
    while (fromOldest_.size() < count && !allFromOldest_) {
        if (auto span = forward_.next()) {
            fromOldest_.push_back(std::move(*span));
        } else {
            allFromOldest_ = true;
        }
    }
    return fromOldest_.size() >= count;
}

std::optional<EntrySpan> EntryIndex::entry(std::int64_t number) {
    if (number == 0) {
        return std::nullopt;
    }
    // Once one direction has seen every entry, it answers for both.
    const bool fromNewest = number < 0;
    const std::uint64_t position =
        fromNewest ? 0 - static_cast<std::uint64_t>(number) : static_cast<std::uint64_t>(number);
    if (allFromNewest_ || allFromOldest_) {
        const std::vector<EntrySpan>& all = allFromNewest_ ? fromNewest_ : fromOldest_;
        if (position > all.size()) {
            return std::nullopt;
        }
        const bool sameOrder = fromNewest == allFromNewest_;
        return all[sameOrder ? position - 1 : all.size() - position];
    }
    if (fromNewest) {
        return findFromNewest(position) ? std::optional(fromNewest_[position - 1]) : std::nullopt;
    }
    return findFromOldest(position) ? std::optional(fromOldest_[position - 1]) : std::nullopt;
}

std::uint64_t EntryIndex::count() {
    if (allFromOldest_) {
        return fromOldest_.size();
    }
    findFromNewest(UINT64_MAX);
    return fromNewest_.size();
}

}  // namespace kestrava::history
