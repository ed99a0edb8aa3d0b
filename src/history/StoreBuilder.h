#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "history/StoreContent.h"

namespace kestrava::history {

// Builds a store's content entry by entry. An entry's lines are walked beside the entry
// before's: a line that stays the same is one version whose range grows, and only the
// lines that differ are kept anew, each placed in the order of versions right after the
// line before it in its entry, so that every entry's lines keep their exact order. A
// line that moved is simply kept anew: nothing depends on the lines lining up.
class StoreBuilder {
public:
    // Goes on from a store's content (its newest entry is the one before the next added).
    explicit StoreBuilder(StoreContent content = {});

    // One whole entry: its head (date line and header line), its file lines (each with
    // its line end), and its facts.
    void add(const StoredEntryFacts& facts, std::string_view files);

    // The content, with the versions in their order; the builder is spent.
    StoreContent finish();

    std::size_t entries() const { return content_.entries.size(); }

private:
    static constexpr std::uint32_t Open = UINT32_MAX;
    static constexpr std::uint32_t None = UINT32_MAX;

    std::string_view lineOf(std::uint32_t version) const {
        return content_.text(content_.versions[version]);
    }
    std::uint32_t keep(std::string_view line, std::uint32_t after);
    void carryOver(const std::vector<std::string_view>& lines);
    bool findNextMatch(const std::vector<std::string_view>& lines, std::size_t i, std::size_t j,
                       std::size_t& skipOld, std::size_t& skipNew);

    StoreContent content_;
    std::vector<std::uint32_t> next_;  // the order of versions, as links
    std::uint32_t firstVersion_ = None;
    std::vector<std::uint32_t> alive_;  // the newest entry's versions, in order
    std::unordered_map<std::string_view, std::size_t> oldLines_;  // alive_'s, by line
};

// Splits an entry's files into lines, each with its line end (the last one may lack it).
std::vector<std::string_view> SplitLines(std::string_view files);

}  // namespace kestrava::history
