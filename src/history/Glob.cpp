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

// Letters beyond ASCII that have a partner in the other case: Latin-1, Latin
// Extended-A, Greek (with its accents) and Cyrillic, as Windows' file systems pair them. Both
// partners take two bytes in UTF-8, so folding a path never moves its characters.
char32_t LowerCase(char32_t c) {
    if ((c >= 0xC0 && c <= 0xDE && c != 0xD7) || (c >= 0x391 && c <= 0x3A9 && c != 0x3A2) ||
        (c >= 0x410 && c <= 0x42F)) {
        return c + 0x20;
    }
    if (c >= 0x400 && c <= 0x40F) {
        return c + 0x50;
    }
    if (c == 0x178) {
        return 0xFF;
    }
    switch (c) {  // Greek with an accent
        case 0x386:
            return 0x3AC;
        case 0x388:
        case 0x389:
        case 0x38A:
            return c + 0x25;
        case 0x38C:
            return 0x3CC;
        case 0x38E:
        case 0x38F:
            return c + 0x3F;
        default:
            break;
    }
    const bool evenUpper = (c >= 0x100 && c <= 0x137 && c != 0x130) || (c >= 0x14A && c <= 0x177);
    const bool oddUpper = (c >= 0x139 && c <= 0x148) || (c >= 0x179 && c <= 0x17E);
    return (evenUpper && c % 2 == 0) || (oddUpper && c % 2 == 1) ? c + 1 : c;
}

char32_t UpperCase(char32_t c) {
    if ((c >= 0xE0 && c <= 0xFE && c != 0xF7) || (c >= 0x3B1 && c <= 0x3C9 && c != 0x3C2) ||
        (c >= 0x430 && c <= 0x44F)) {
        return c - 0x20;
    }
    if (c >= 0x450 && c <= 0x45F) {
        return c - 0x50;
    }
    if (c == 0xFF) {
        return 0x178;
    }
    switch (c) {
        case 0x3AC:
            return 0x386;
        case 0x3AD:
        case 0x3AE:
        case 0x3AF:
            return c - 0x25;
        case 0x3CC:
            return 0x38C;
        case 0x3CD:
        case 0x3CE:
            return c - 0x3F;
        default:
            break;
    }
    return c > 0x100 && c < 0x180 && LowerCase(c - 1) == c ? c - 1 : c;
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

// The character at the offset in lower case, as UTF-8 bytes of the same length.
std::size_t FoldedCharacter(std::string_view text, std::size_t at, std::array<char, 4>& bytes) {
    const auto [character, length] = FirstCharacter(text.substr(at));
    const char32_t lower = LowerCase(character);
    std::copy_n(text.begin() + static_cast<std::ptrdiff_t>(at), length, bytes.begin());
    if (lower != character) {  // two bytes either way
        bytes[0] = static_cast<char>(0xC0 | (lower >> 6));
        bytes[1] = static_cast<char>(0x80 | (lower & 0x3F));
    }
    return length;
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
    if (character < 128) {
        return ascii[character] != negated;
    }
    const auto holds = [this](char32_t c) {
        return std::any_of(beyondAscii.begin(), beyondAscii.end(), [&](const auto& range) {
            return c >= range.first && c <= range.second;
        });
    };
    const bool in = holds(character) ||
                    (ignoreCase && (holds(LowerCase(character)) || holds(UpperCase(character))));
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
            at = addCharacter(pattern, at);
        } else {
            at = addCharacter(pattern, at);
        }
    }
}

// Adds the character at the offset as it is matched, and gives where it ends.
std::size_t Glob::addCharacter(std::string_view pattern, std::size_t at) {
    if (!rules_.ignoreCase || static_cast<unsigned char>(pattern[at]) < 0x80) {
        steps_.push_back({Op::Character, fold(pattern[at])});
        return at;
    }
    std::array<char, 4> folded{};
    const std::size_t length = FoldedCharacter(pattern, at, folded);
    for (std::size_t byte = 0; byte < length; ++byte) {
        steps_.push_back({Op::Character, folded[byte]});
    }
    return at + length - 1;
}

// Reads the class that opens at the "[", and gives where it closes.
std::size_t Glob::readClass(std::string_view pattern, std::size_t open) {
    Class added;
    added.ignoreCase = rules_.ignoreCase;
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
    if (!rules_.ignoreCase) {
        for (std::size_t at = 0; at < literal.size(); ++at) {
            if (literal[at] == '/' ? !isSeparator(path[at]) : literal[at] != path[at]) {
                return false;
            }
        }
        return true;
    }
    for (std::size_t at = 0; at < literal.size();) {
        const std::size_t length = sameCharacter(literal, at, path, at);
        if (length == 0) {
            return false;
        }
        at += length;
    }
    return true;
}

// Whether the path's character at pathAt is the pattern's at patternAt (lower case
// where case is ignored, a separator for "/"): its length in bytes, or 0.
std::size_t Glob::sameCharacter(std::string_view pattern, std::size_t patternAt,
                                std::string_view path, std::size_t pathAt) const {
    const char c = path[pathAt];
    if (pattern[patternAt] == '/') {
        return isSeparator(c) ? 1 : 0;
    }
    if (!rules_.ignoreCase || static_cast<unsigned char>(c) < 0x80) {
        return pattern[patternAt] == fold(c) ? 1 : 0;
    }
    std::array<char, 4> folded{};
    const std::size_t length = FoldedCharacter(path, pathAt, folded);
    if (pattern.size() - patternAt < length ||
        !std::equal(folded.begin(), folded.begin() + static_cast<std::ptrdiff_t>(length),
                    pattern.begin() + static_cast<std::ptrdiff_t>(patternAt))) {
        return 0;
    }
    return length;
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
            case Op::Character: {
                if (!rules_.ignoreCase || static_cast<unsigned char>(c) < 0x80) {
                    if (fold(c) != now.byte) {
                        return Outcome::NoMatch;
                    }
                    ++at;
                    break;
                }
                // A letter beyond ASCII: its lower case's bytes against as many steps.
                std::array<char, 4> folded{};
                const std::size_t length = FoldedCharacter(path, at, folded);
                for (std::size_t byte = 0; byte < length; ++byte) {
                    if (step + byte >= steps_.size() || steps_[step + byte].op != Op::Character ||
                        steps_[step + byte].byte != folded[byte]) {
                        return Outcome::NoMatch;
                    }
                }
                step += length - 1;
                at += length;
                break;
            }
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
        const bool ascii = static_cast<unsigned char>(c) < 0x80;
        if (after.op == Op::Character && (ascii || !rules_.ignoreCase) && fold(c) != after.byte &&
            !isSeparator(c)) {
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
