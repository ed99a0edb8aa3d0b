#pragma once

#include <bitset>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace kestrava::history {

// How patterns and paths are read.
struct PatternRules {
    bool ignoreCase = false;          // upper and lower case alike
    bool backslashSeparates = false;  // "\" separates folders as "/" does, and escapes nothing

    // The platform's own: on Windows case is ignored and "\" separates; elsewhere case
    // counts and "\" escapes the character after it.
    static PatternRules Platform();
};

// A wildcard pattern over a path, read once and matched many times, from several
// threads at once:
//   "*"    any run of characters within one name (never a separator)
//   "?"    one character, not a separator
//   "[..]" one character of a class, not a separator: "a-z" ranges, "!" or "^" first
//          to negate, "]" first to include it, "[:alpha:]" and the other POSIX classes
//   "**"   between separators (or at an end), any run of folders: "a/**/b" matches
//          "a/b" and "a/x/y/b", "**/b" matches "b" anywhere, "a/**" everything in "a";
//          elsewhere it is a plain "*"
//   "\x"   the character x itself (unless "\" separates)
// A character is a UTF-8 sequence; a byte that begins none counts as one. Case, where
// it is ignored, is ignored for ASCII, Latin-1, Latin Extended-A, Greek and Cyrillic
// letters.
class Glob {
public:
    // Throws RuntimeError naming the pattern when it can't be read: a "[" never closed,
    // a class name that doesn't exist, a "\" at the end.
    Glob(std::string_view pattern, PatternRules rules);

    bool matches(std::string_view path) const;

private:
    enum class Op : std::uint8_t {
        Character,  // the byte in `byte`, of a character in lower case when case is ignored
        Separator,  // any separator
        AnyCharacter,
        Star,        // within one name
        AnyFolders,  // "**/": nothing, or whole names each with its separator
        AnyRest,     // "**" at the end: everything left
        Class,       // classes_[index]
    };
    struct Step {
        Op op;
        char byte = 0;
        std::uint32_t index = 0;
    };
    struct Class {
        std::bitset<128> ascii;  // folded both ways when case is ignored
        std::vector<std::pair<char32_t, char32_t>> beyondAscii;
        bool negated = false;
        bool ignoreCase = false;  // the ranges beyond ASCII hold either case

        bool has(char32_t character) const;
    };
    // Whole-pattern shapes that need no stepping: most patterns people write.
    enum class Shape : std::uint8_t { General, Exact, StarThenLiteral, Everything };
    enum class Outcome : std::uint8_t { Match, NoMatch, NothingLeft, PastSeparator };

    void read(std::string_view pattern);
    std::size_t addCharacter(std::string_view pattern, std::size_t at);
    std::size_t readClass(std::string_view pattern, std::size_t open);
    void findShape();

    Outcome matchFrom(std::string_view path, std::size_t step, std::size_t at) const;
    Outcome matchStar(std::string_view path, std::size_t step, std::size_t at) const;
    Outcome matchAnyFolders(std::string_view path, std::size_t step, std::size_t at) const;
    bool sameLiteral(std::string_view literal, std::string_view path) const;
    std::size_t sameCharacter(std::string_view pattern, std::size_t patternAt,
                              std::string_view path, std::size_t pathAt) const;
    bool isSeparator(char c) const { return c == '/' || (rules_.backslashSeparates && c == '\\'); }
    char fold(char c) const {
        return rules_.ignoreCase && c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c;
    }

    std::string text_;
    PatternRules rules_;
    std::vector<Step> steps_;
    std::vector<Class> classes_;
    Shape shape_ = Shape::General;
    std::string literal_;  // Exact: the whole pattern; StarThenLiteral: what follows "*"
    // General: what every match begins and ends with, looked at before any stepping.
    std::string prefix_;
    std::string suffix_;
};

}  // namespace kestrava::history
