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

LiteralSearch::LiteralSearch(std::string literal, bool ignoreCase) : literal_(std::move(literal)) {
    for (std::size_t byte = 0; byte < fold_.size(); ++byte) {
        fold_[byte] = static_cast<unsigned char>(
            ignoreCase && byte >= 'A' && byte <= 'Z' ? byte + ('a' - 'A') : byte);
    }
    for (char& c : literal_) {
        c = static_cast<char>(fold_[static_cast<unsigned char>(c)]);
    }
    const std::size_t size = literal_.size();
    skip_.fill(size);
    // By folded bytes: an upper case letter skips as its lower case does.
    for (std::size_t at = 0; at + 1 < size; ++at) {
        skip_[static_cast<unsigned char>(literal_[at])] = size - 1 - at;
    }
}

std::size_t LiteralSearch::find(std::string_view text, std::size_t from) const {
    const std::size_t size = literal_.size();
    if (size == 0) {
        return from <= text.size() ? from : std::string_view::npos;
    }
    const auto* bytes = reinterpret_cast<const unsigned char*>(text.data());
    const auto last = static_cast<unsigned char>(literal_[size - 1]);
    for (std::size_t at = from; at + size <= text.size();) {
        const unsigned char end = bytes[at + size - 1];
        if (fold_[end] == last) {
            std::size_t same = 0;
            while (same + 1 < size &&
                   fold_[bytes[at + same]] == static_cast<unsigned char>(literal_[same])) {
                ++same;
            }
            if (same + 1 == size) {
                return at;
            }
        }
        at += skip_[fold_[end]];
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
