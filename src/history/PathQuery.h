#pragma once

#include <array>
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "history/PathFilter.h"

namespace kestrava::history {

// A run of bytes searched for in a log's text, case-insensitively for ASCII letters when
// asked: Horspool's search over pairs of bytes, so that a window is skipped at once
// unless its last two bytes are two of the literal's, which few pairs of a path are.
class LiteralSearch {
public:
    LiteralSearch(std::string literal, bool ignoreCase);

    // Where the literal next begins in the text, from `from` on; npos when nowhere.
    std::size_t find(std::string_view text, std::size_t from) const;

private:
    static constexpr std::size_t MostBytes = 255;  // of the literal searched for
    static std::size_t PairAt(unsigned char first, unsigned char second) {
        return std::size_t{first} << 8 | second;
    }

    std::basic_string<unsigned char> literal_;  // folded
    std::array<unsigned char, 256> fold_{};
    std::vector<unsigned char> shift_;  // by the window's last two bytes
    unsigned char lastShift_ = 1;       // past a window that ends as the literal does
};

// The longest run of bytes that every path a pattern matches holds, by the pattern's
// text: what lies between wildcards, classes, escapes and separators (ASCII alone where
// case is ignored). Empty when the pattern has none.
std::string LongestLiteral(std::string_view pattern, const PatternRules& rules);

// Which logged paths a question is about: those that one of the patterns asked for
// matches (the path, or a folder above it), and that the filter keeps.
class PathQuery {
public:
    // Throws RuntimeError naming a pattern that can't be read.
    PathQuery(const std::vector<std::string>& asked, const PathFilter& filter);

    bool asks(std::string_view loggedPath) const;

    // Runs every path asked about holds one of (one a pattern); empty when some pattern
    // has none, and so every line must be looked at.
    const std::vector<LiteralSearch>& literals() const { return literals_; }

    // Whether the line may name a path asked about: it holds one of the literals.
    bool mayAsk(std::string_view line) const;

private:
    PathFilter asked_;
    const PathFilter& filter_;
    std::vector<LiteralSearch> literals_;
};

}  // namespace kestrava::history
