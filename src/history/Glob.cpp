#include "history/Glob.h"

#include <algorithm>
#include <array>
#include <utility>

#include "platform/PathRules.h"
#include "platform/RuntimeError.h"
#include "platform/Utf8.h"

namespace kestrava::history {
namespace {

using platform::RuntimeError;

[[noreturn]] void Refuse(std::string_view pattern, std::string_view why) {
    throw RuntimeError(
        platform::error_number::InvalidProcedureCall,
        "not a pattern: \"" + std::string(pattern) + "\" (" + std::string(why) + ")");
}

// One character at the start of the text and its length: a stray byte counts as one.
std::pair<char32_t, std::size_t> FirstCharacter(std::string_view text) {
    const std::size_t length = platform::Utf8CharacterLength(text);
    const auto lead = static_cast<unsigned char>(text[0]);
    if (length <= 1) {
        return {lead, 1};
    }
    constexpr std::array<unsigned, 5> LeadBits{0, 0, 0x1F, 0x0F, 0x07};
    char32_t code = lead & LeadBits[length];
    for (std::size_t at = 1; at < length; ++at) {
        code = (code << 6) | (static_cast<unsigned char>(text[at]) & 0x3F);
    }
    return {code, length};
}

bool IsLower(int c) {
    return c >= 'a' && c <= 'z';
}
bool IsUpper(int c) {
    return c >= 'A' && c <= 'Z';
}
bool IsDigit(int c) {
    return c >= '0' && c <= '9';
}
bool IsAlpha(int c) {
    return IsLower(c) || IsUpper(c);
}
bool IsPrint(int c) {
    return c >= ' ' && c < 127;
}
bool IsPunct(int c) {
    return IsPrint(c) && c != ' ' && !IsAlpha(c) && !IsDigit(c);
}

// The POSIX classes, ASCII only: a file name's bytes, not the locale, decide.
bool InNamedClass(std::string_view name, int c, bool& known) {
    known = true;
    if (name == "alnum")
        return IsAlpha(c) || IsDigit(c);
    if (name == "alpha")
        return IsAlpha(c);
    if (name == "blank")
        return c == ' ' || c == '\t';
    if (name == "cntrl")
        return c < ' ' || c == 127;
    if (name == "digit")
        return IsDigit(c);
    if (name == "graph")
        return IsPrint(c) && c != ' ';
    if (name == "lower")
        return IsLower(c);
    if (name == "print")
        return IsPrint(c);
    if (name == "punct")
        return IsPunct(c);
    if (name == "space")
        return c == ' ' || (c >= '\t' && c <= '\r');
    if (name == "upper")
        return IsUpper(c);
    if (name == "xdigit")
        return IsDigit(c) || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
    known = false;
    return false;
}

std::size_t CharacterLength(std::string_view text, std::size_t at) {
    return static_cast<unsigned char>(text[at]) < 0x80 ? 1 : FirstCharacter(text.substr(at)).second;
}

}  // namespace

PatternRules PatternRules::Platform() {
    return {platform::NamesIgnoreCase,
            platform::PathSeparators.find('\\') != std::string_view::npos};
}

bool Glob::Class::has(char32_t character) const {
    bool in = false;
    if (character < 128) {
        in = ascii[character];
    } else {
        in = std::any_of(beyondAscii.begin(), beyondAscii.end(), [&](const auto& range) {
            return character >= range.first && character <= range.second;
        });
    }
    return in != negated;
}

Glob::Glob(std::string_view pattern, PatternRules rules) : text_(pattern), rules_(rules) {
    read(pattern);
    findShape();
}

void Glob::read(std::string_view pattern) {
    for (std::size_t at = 0; at < pattern.size(); ++at) {
        const char c = pattern[at];
        if (c == '*') {
            const std::size_t first = at;
            while (at + 1 < pattern.size() && pattern[at + 1] == '*') {
                ++at;
            }
            const bool twoOrMore = at > first;
            const bool afterSeparator = first == 0 || isSeparator(pattern[first - 1]);
            const bool atEnd = at + 1 == pattern.size();
            if (twoOrMore && afterSeparator && atEnd) {
                steps_.push_back({Op::AnyRest});
            } else if (twoOrMore && afterSeparator && isSeparator(pattern[at + 1])) {
                steps_.push_back({Op::AnyFolders});
                ++at;  // its separator
            } else {
                steps_.push_back({Op::Star});
            }
        } else if (c == '?') {
            steps_.push_back({Op::AnyCharacter});
        } else if (c == '[') {
            at = readClass(pattern, at);
        } else if (isSeparator(c)) {
            steps_.push_back({Op::Separator});
        } else if (c == '\\') {
            if (++at == pattern.size()) {
                Refuse(pattern, "a \"\\\" that escapes nothing at its end");
            }
            steps_.push_back({Op::Character, fold(pattern[at])});
        } else {
            steps_.push_back({Op::Character, fold(c)});
        }
    }
}

// Reads the class that opens at the "[", and gives where it closes.
std::size_t Glob::readClass(std::string_view pattern, std::size_t open) {
    Class added;
    std::size_t at = open + 1;
    if (at < pattern.size() && (pattern[at] == '!' || pattern[at] == '^')) {
        added.negated = true;
        ++at;
    }
    auto addRange = [&](char32_t from, char32_t to) {
        for (char32_t c = from; c <= std::min<char32_t>(to, 127); ++c) {
            added.ascii.set(c);
        }
        if (to >= 128) {
            added.beyondAscii.emplace_back(std::max<char32_t>(from, 128), to);
        }
    };
    auto member = [&]() {
        if (pattern[at] == '\\' && !rules_.backslashSeparates) {
            ++at;
        }
        if (at == pattern.size()) {
            Refuse(pattern, "a \"[\" that is never closed");
        }
        const auto [character, length] = FirstCharacter(pattern.substr(at));
        at += length;
        return character;
    };
    constexpr char32_t None = 0xFFFFFFFF;
    char32_t previous = None;  // a member that may begin a range
    for (bool first = true;; first = false) {
        if (at == pattern.size()) {
            Refuse(pattern, "a \"[\" that is never closed");
        }
        const char c = pattern[at];
        if (c == ']' && !first) {
            break;
        }
        if (c == '-' && previous != None && at + 1 < pattern.size() && pattern[at + 1] != ']') {
            ++at;
            addRange(previous, member());
            previous = None;
        } else if (c == '[' && at + 1 < pattern.size() && pattern[at + 1] == ':') {
            const std::size_t close = pattern.find(']', at + 2);
            if (close == std::string_view::npos) {
                Refuse(pattern, "a \"[\" that is never closed");
            }
            if (close == at + 2 || pattern[close - 1] != ':') {
                previous = member();  // no ":]": the "[" is a member like any other
                addRange(previous, previous);
                continue;
            }
            const std::string_view name = pattern.substr(at + 2, close - at - 3);
            for (int code = 0; code < 128; ++code) {
                bool known = false;
                if (InNamedClass(name, code, known)) {
                    added.ascii.set(code);
                }
                if (!known) {
                    Refuse(pattern, "there is no class \"[:" + std::string(name) + ":]\"");
                }
            }
            at = close + 1;
            previous = None;
        } else {
            previous = member();
            addRange(previous, previous);
        }
    }
    if (rules_.ignoreCase) {
        for (char c = 'a'; c <= 'z'; ++c) {
            if (added.ascii[c] || added.ascii[c - 32]) {
                added.ascii.set(c);
                added.ascii.set(c - 32);
            }
        }
    }
    steps_.push_back({Op::Class, 0, static_cast<std::uint32_t>(classes_.size())});
    classes_.push_back(std::move(added));
    return at;
}

void Glob::findShape() {
    const auto literal = [](const Step& step) {
        return step.op == Op::Character || step.op == Op::Separator;
    };
    const auto text = [](auto first, auto last) {
        std::string bytes;
        for (auto step = first; step != last; ++step) {
            bytes += step->op == Op::Separator ? '/' : step->byte;
        }
        return bytes;
    };
    if (std::all_of(steps_.begin(), steps_.end(), literal)) {
        shape_ = Shape::Exact;
        literal_ = text(steps_.begin(), steps_.end());
    } else if (steps_.size() == 1 && steps_[0].op == Op::AnyRest) {
        shape_ = Shape::Everything;
    } else if (steps_[0].op == Op::Star &&
               std::all_of(steps_.begin() + 1, steps_.end(),
                           [](const Step& step) { return step.op == Op::Character; })) {
        shape_ = Shape::StarThenLiteral;
        literal_ = text(steps_.begin() + 1, steps_.end());
    } else {
        const auto prefixEnd = std::find_if_not(steps_.begin(), steps_.end(), literal);
        prefix_ = text(steps_.begin(), prefixEnd);
        const auto suffixBegin = std::find_if_not(steps_.rbegin(), steps_.rend(), literal).base();
        suffix_ = text(suffixBegin, steps_.end());
    }
}

bool Glob::sameLiteral(std::string_view literal, std::string_view path) const {
    if (literal.size() != path.size()) {
        return false;
    }
    for (std::size_t at = 0; at < literal.size(); ++at) {
        const bool same =
            literal[at] == '/' ? isSeparator(path[at]) : literal[at] == fold(path[at]);
        if (!same) {
            return false;
        }
    }
    return true;
}

bool Glob::matches(std::string_view path) const {
    switch (shape_) {
        case Shape::Exact:
            return sameLiteral(literal_, path);
        case Shape::Everything:
            return true;
        case Shape::StarThenLiteral:
            return path.size() >= literal_.size() &&
                   sameLiteral(literal_, path.substr(path.size() - literal_.size())) &&
                   std::none_of(path.begin(), path.end(),
                                [this](char c) { return isSeparator(c); });
        case Shape::General:
            break;
    }
    if (path.size() < prefix_.size() + suffix_.size() ||
        !sameLiteral(prefix_, path.substr(0, prefix_.size())) ||
        !sameLiteral(suffix_, path.substr(path.size() - suffix_.size()))) {
        return false;
    }
    return matchFrom(path, 0, 0) == Outcome::Match;
}

// NothingLeft: the path ran out before the pattern did, so no star before this point can
// help by taking more. PastSeparator: a star within one name reached a separator, so only
// a "**" before it can help.
Glob::Outcome Glob::matchFrom(std::string_view path, std::size_t step, std::size_t at) const {
    for (; step < steps_.size(); ++step) {
        const Step& now = steps_[step];
        switch (now.op) {
            case Op::Star:
                return matchStar(path, step, at);
            case Op::AnyFolders:
                return matchAnyFolders(path, step, at);
            case Op::AnyRest:
                return Outcome::Match;
            default:
                break;
        }
        if (at == path.size()) {
            return Outcome::NothingLeft;
        }
        const char c = path[at];
        switch (now.op) {
            case Op::Character:
                if (fold(c) != now.byte) {
                    return Outcome::NoMatch;
                }
                ++at;
                break;
            case Op::Separator:
                if (!isSeparator(c)) {
                    return Outcome::NoMatch;
                }
                ++at;
                break;
            default: {
                if (isSeparator(c)) {
                    return Outcome::NoMatch;
                }
                const auto [character, length] =
                    static_cast<unsigned char>(c) < 0x80
                        ? std::pair<char32_t, std::size_t>(static_cast<unsigned char>(c), 1)
                        : FirstCharacter(path.substr(at));
                if (now.op == Op::Class && !classes_[now.index].has(character)) {
                    return Outcome::NoMatch;
                }
                at += length;
            }
        }
    }
    return at == path.size() ? Outcome::Match : Outcome::NoMatch;
}

Glob::Outcome Glob::matchStar(std::string_view path, std::size_t step, std::size_t at) const {
    const auto separatorFrom = [&](std::size_t from) {
        const auto found = std::find_if(path.begin() + static_cast<std::ptrdiff_t>(from),
                                        path.end(), [this](char c) { return isSeparator(c); });
        return static_cast<std::size_t>(found - path.begin());
    };
    if (step + 1 == steps_.size()) {
        return separatorFrom(at) == path.size() ? Outcome::Match : Outcome::NoMatch;
    }
    const Step& after = steps_[step + 1];
    if (after.op == Op::Separator) {
        // The star takes the rest of this name, no more and no less.
        const std::size_t separator = separatorFrom(at);
        return separator == path.size() ? Outcome::NoMatch : matchFrom(path, step + 1, separator);
    }
    // A character at a time, never from the middle of one.
    for (; at < path.size(); at += CharacterLength(path, at)) {
        const char c = path[at];
        if (after.op == Op::Character && fold(c) != after.byte && !isSeparator(c)) {
            continue;
        }
        const Outcome rest = matchFrom(path, step + 1, at);
        if (rest != Outcome::NoMatch) {
            return rest;
        }
        if (isSeparator(c)) {
            return Outcome::PastSeparator;
        }
    }
    return Outcome::NothingLeft;
}

Glob::Outcome Glob::matchAnyFolders(std::string_view path, std::size_t step, std::size_t at) const {
    if (matchFrom(path, step + 1, at) == Outcome::Match) {
        return Outcome::Match;
    }
    for (; at < path.size(); ++at) {
        if (!isSeparator(path[at])) {
            continue;
        }
        const Outcome rest = matchFrom(path, step + 1, at + 1);
        if (rest == Outcome::Match || rest == Outcome::NothingLeft) {
            return rest;
        }
    }
    return Outcome::NothingLeft;
}

}  // namespace kestrava::history
