// The pattern files that --exclude-from reads, and the patterns and paths they are
// matched against, on any bytes. The input's first byte picks the rules (bit 0: case
// ignored, bit 1: "\" separates); up to the first NUL is a pattern file, and the rest
// is paths, one a line, a folder where the line ends with "/". Beyond not crashing,
// what must hold:
// - a pattern file either reads whole or is refused with a RuntimeError;
// - nothing below a folder the filter leaves unwalked is kept;
// - a walk that asks keepsInWalkedFolder() keeps what keeps() keeps;
// - where case is ignored, a path in ASCII upper case is kept as the path is;
// - every line of the pattern file, escaped character by character, matches that very
//   text as a name and nothing longer;
// - the literal search that `history` skips lines with finds each line's longest
//   literal in the paths' text where a plain search does.
// The time per input and the memory are bounded by the fuzzing command (scripts/fuzz.sh).

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "FuzzInput.h"
#include "history/Glob.h"
#include "history/PathFilter.h"
#include "history/PathQuery.h"
#include "history/PatternFile.h"
#include "platform/RuntimeError.h"

namespace kestrava::fuzz {
namespace {

using history::PathFilter;
using history::PatternRules;

struct Path {
    std::string text;
    bool folder = false;
};

bool IsSeparator(char c, const PatternRules& rules) {
    return c == '/' || (rules.backslashSeparates && c == '\\');
}

// A path as a walk gives it: no separator at either end, none doubled.
bool HasEveryName(std::string_view path, const PatternRules& rules) {
    bool nameStarts = true;
    for (const char c : path) {
        if (IsSeparator(c, rules) && nameStarts) {
            return false;
        }
        nameStarts = IsSeparator(c, rules);
    }
    return !nameStarts;
}

std::vector<Path> ReadPaths(std::string_view lines, const PatternRules& rules) {
    std::vector<Path> paths;
    while (!lines.empty()) {
        const std::size_t end = lines.find('\n');
        std::string line(lines.substr(0, end));
        lines = end == std::string_view::npos ? std::string_view() : lines.substr(end + 1);
        const bool folder = !line.empty() && (line.back() == '/' ||
                                              (rules.backslashSeparates && line.back() == '\\'));
        if (folder) {
            line.pop_back();
        }
        if (HasEveryName(line, rules)) {
            paths.push_back({line, folder});
        }
    }
    return paths;
}

void CheckWalk(const PathFilter& filter, const Path& path, const PatternRules& rules) {
    bool walked = true;
    for (std::size_t at = 0; at < path.text.size(); ++at) {
        if (IsSeparator(path.text[at], rules) &&
            !filter.goesInto(std::string_view(path.text).substr(0, at))) {
            walked = false;
            break;
        }
    }
    const bool kept = filter.keeps(path.text, path.folder);
    if (!walked) {
        Require(!kept, "nothing below a folder left unwalked is kept");
        return;
    }
    Require(filter.keepsInWalkedFolder(path.text, path.folder) == kept,
            "a walk keeps what the filter keeps");
}

void CheckCase(const PathFilter& filter, const Path& path) {
    std::string upper = path.text;
    for (char& c : upper) {
        if (c >= 'a' && c <= 'z') {
            c = static_cast<char>(c - 32);
        }
    }
    Require(filter.keeps(upper, path.folder) == filter.keeps(path.text, path.folder),
            "case ignored keeps a path in upper case as the path");
}

// Every ASCII character escaped (the others are never special): the text itself,
// whatever it holds, as a literal.
void CheckLiteral(std::string_view text, const PatternRules& rules) {
    if (rules.backslashSeparates || text.empty() || text.find('/') != std::string_view::npos) {
        return;  // "\" escapes nothing there, and a separator is no part of a name
    }
    std::string escaped;
    for (const char c : text) {
        if (static_cast<unsigned char>(c) < 0x80) {
            escaped += '\\';
        }
        escaped += c;
    }
    const history::Glob glob(escaped, rules);
    Require(glob.matches(text), "an escaped text matches itself");
    Require(!glob.matches(std::string(text) + "x"), "an escaped text matches nothing longer");
}

void CheckLines(std::string_view file, const PatternRules& rules) {
    while (!file.empty()) {
        const std::size_t end = file.find('\n');
        CheckLiteral(file.substr(0, end), rules);
        file = end == std::string_view::npos ? std::string_view() : file.substr(end + 1);
    }
}

// The literal search that `history` skips a log's lines with finds what a plain search
// finds, each pattern's longest literal in the paths' text.
void CheckLiteralSearch(std::string_view pattern, std::string_view text,
                        const PatternRules& rules) {
    // Of a longer literal, the search looks for its first 255 bytes: a line holding the
    // literal holds them, which is all a search that skips lines must know.
    constexpr std::size_t MostSearched = 255;
    const std::string literal = history::LongestLiteral(pattern, rules).substr(0, MostSearched);
    if (literal.empty()) {
        return;
    }
    const history::LiteralSearch search(literal, rules.ignoreCase);
    const auto folded = [&rules](std::string_view bytes) {
        std::string folding(bytes);
        for (char& c : folding) {
            if (rules.ignoreCase && c >= 'A' && c <= 'Z') {
                c = static_cast<char>(c + 32);
            }
        }
        return folding;
    };
    const std::string foldedText = folded(text);
    const std::string foldedLiteral = folded(literal);
    // Every match in turn, as a reader walks a log's text.
    std::size_t from = 0;
    while (from <= text.size()) {
        const std::size_t found = search.find(text, from);
        Require(found == foldedText.find(foldedLiteral, from),
                "the literal search finds what a plain search finds");
        if (found == std::string::npos) {
            break;
        }
        from = found + 1;
    }
}

void CheckLiteralSearches(std::string_view file, std::string_view text, const PatternRules& rules) {
    while (!file.empty()) {
        const std::size_t end = file.find('\n');
        CheckLiteralSearch(file.substr(0, end), text, rules);
        file = end == std::string_view::npos ? std::string_view() : file.substr(end + 1);
    }
}

std::optional<PathFilter> ReadFilter(std::string_view file, const PatternRules& rules) {
    PathFilter filter(rules);
    try {
        history::AddPatternLines(filter, file, "the fuzzed pattern file");
    } catch (const platform::RuntimeError&) {
        return std::nullopt;
    }
    return filter;
}

}  // namespace
}  // namespace kestrava::fuzz

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace kestrava::fuzz;
    if (size == 0) {
        return 0;
    }
    const PatternRules rules{(data[0] & 1) != 0, (data[0] & 2) != 0};
    const std::string_view rest = Bytes(data + 1, size - 1);
    const std::size_t split = rest.find('\0');
    const std::string_view file = rest.substr(0, split);
    const std::string_view paths =
        split == std::string_view::npos ? std::string_view() : rest.substr(split + 1);

    CheckLines(file, rules);
    CheckLiteralSearches(file, paths, rules);
    const auto filter = ReadFilter(file, rules);
    if (!filter) {
        return 0;
    }
    for (const Path& path : ReadPaths(paths, rules)) {
        CheckWalk(*filter, path, rules);
        if (rules.ignoreCase) {
            CheckCase(*filter, path);
        }
    }
    return 0;
}
