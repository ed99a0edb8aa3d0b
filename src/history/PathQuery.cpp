#include "history/PathQuery.h"

#include <algorithm>
#include <cstring>

#include "history/LoggedPaths.h"

namespace kestrava::history {
namespace {

bool EndsRun(char c, const PatternRules& rules) {
    return c == '*' || c == '?' || c == '[' || c == ']' || c == '\\' || c == '/' ||
           (rules.ignoreCase && static_cast<unsigned char>(c) >= 0x80);
}

// Where a class that opens at `open` ends: past the "]" that closes it ("]" right after
// "[", "[!" or "[^" belongs to the class).
std::size_t PastClass(std::string_view pattern, std::size_t open) {
    std::size_t at = open + 1;
    if (at < pattern.size() && (pattern[at] == '!' || pattern[at] == '^')) {
        ++at;
    }
    const std::size_t close = pattern.find(']', at + 1);
    return close == std::string_view::npos ? pattern.size() : close + 1;
}

}  // namespace

LiteralSearch::LiteralSearch(std::string literal, bool ignoreCase) {
    for (std::size_t byte = 0; byte < fold_.size(); ++byte) {
        fold_[byte] = static_cast<unsigned char>(
            ignoreCase && byte >= 'A' && byte <= 'Z' ? byte + ('a' - 'A') : byte);
    }
    // A line that holds the literal holds its beginning: a longer one skips no further.
    literal.resize(std::min(literal.size(), MostBytes));
    for (const char c : literal) {
        literal_.push_back(fold_[static_cast<unsigned char>(c)]);
    }
    if (literal_.size() < 2) {
        return;
    }
    const auto size = static_cast<unsigned char>(literal_.size());
    const auto spellings = [&](unsigned char folded) {
        std::vector<unsigned char> bytes = {folded};
        if (ignoreCase && folded >= 'a' && folded <= 'z') {
            bytes.push_back(static_cast<unsigned char>(folded - ('a' - 'A')));
        }
        return bytes;
    };
    // A window whose last two bytes are the literal's at j and j + 1 may hold it
    // size - 2 - j further on; where they are none of its pairs, a match may only begin
    // at the window's last byte.
    shift_.assign(std::size_t{1} << 16, static_cast<unsigned char>(size - 1));
    for (std::size_t j = 0; j + 1 < size; ++j) {
        const auto shift = static_cast<unsigned char>(size - 2 - j);
        const std::size_t pairAt = PairAt(literal_[j], literal_[j + 1]);
        if (shift == 0) {
            lastShift_ = shift_[pairAt];
        }
        for (const unsigned char first : spellings(literal_[j])) {
            for (const unsigned char second : spellings(literal_[j + 1])) {
                shift_[PairAt(first, second)] = shift;
            }
        }
    }
}

std::size_t LiteralSearch::find(std::string_view text, std::size_t from) const {
    const std::size_t size = literal_.size();
    const auto* bytes = reinterpret_cast<const unsigned char*>(text.data());
    const auto same = [&](std::size_t at) {
        for (std::size_t offset = 0; offset < size; ++offset) {
            if (fold_[bytes[at + offset]] != literal_[offset]) {
                return false;
            }
        }
        return true;
    };
    if (size < 2) {
        for (std::size_t at = from; at + size <= text.size(); ++at) {
            if (same(at)) {
                return at;
            }
        }
        return std::string_view::npos;
    }
    for (std::size_t at = from; at + size <= text.size();) {
        const unsigned char shift = shift_[PairAt(bytes[at + size - 2], bytes[at + size - 1])];
        if (shift != 0) {
            at += shift;
        } else if (same(at)) {
            return at;
        } else {
            at += lastShift_;
        }
    }
    return std::string_view::npos;
}

std::string LongestLiteral(std::string_view pattern, const PatternRules& rules) {
    std::string_view longest;
    std::size_t runStart = 0;
    for (std::size_t at = 0; at <= pattern.size();) {
        if (at < pattern.size() && !EndsRun(pattern[at], rules)) {
            ++at;
            continue;
        }
        if (at - runStart > longest.size()) {
            longest = pattern.substr(runStart, at - runStart);
        }
        if (at == pattern.size()) {
            break;
        }
        // What follows an escape is itself, but a run that holds it would have to be
        // unescaped: it ends the run too.
        at = pattern[at] == '['                                 ? PastClass(pattern, at)
             : pattern[at] == '\\' && !rules.backslashSeparates ? at + 2
                                                                : at + 1;
        runStart = std::min(at, pattern.size());
    }
    return std::string(longest);
}

PathQuery::PathQuery(const std::vector<std::string>& asked, const PathFilter& filter)
    : asked_(filter.rules()), filter_(filter) {
    bool everyOneHasLiteral = true;
    for (const std::string& pattern : asked) {
        asked_.add(PatternKind::Include, pattern);
        std::string literal = LongestLiteral(pattern, filter.rules());
        everyOneHasLiteral = everyOneHasLiteral && !literal.empty();
        literals_.emplace_back(std::move(literal), filter.rules().ignoreCase);
    }
    if (!everyOneHasLiteral) {
        literals_.clear();
    }
}

bool PathQuery::asks(std::string_view loggedPath) const {
    return KeepsLoggedPath(asked_, loggedPath) && KeepsLoggedPath(filter_, loggedPath);
}

bool PathQuery::mayAsk(std::string_view line) const {
    return literals_.empty() ||
           std::any_of(literals_.begin(), literals_.end(), [&](const LiteralSearch& literal) {
               return literal.find(line, 0) != std::string_view::npos;
           });
}

}  // namespace kestrava::history
