#include "history/PathPattern.h"

#include <algorithm>

#include "platform/RuntimeError.h"

namespace kestrava::history {
namespace {

bool IsSeparator(char c, const PatternRules& rules) {
    return c == '/' || (rules.backslashSeparates && c == '\\');
}

std::string_view WithoutTrailingSeparators(std::string_view text, const PatternRules& rules) {
    while (!text.empty() && IsSeparator(text.back(), rules)) {
        text.remove_suffix(1);
    }
    return text;
}

bool HasSeparator(std::string_view text, const PatternRules& rules) {
    return std::any_of(text.begin(), text.end(), [&](char c) { return IsSeparator(c, rules); });
}

// The pattern's glob: without the separators at its ends, which say how it matches
// rather than what.
std::string_view GlobPart(std::string_view text, const PatternRules& rules) {
    std::string_view part = WithoutTrailingSeparators(text, rules);
    while (!part.empty() && IsSeparator(part.front(), rules)) {
        part.remove_prefix(1);
    }
    if (part.empty()) {
        throw platform::RuntimeError(
            platform::error_number::InvalidProcedureCall,
            "not a pattern: \"" + std::string(text) + "\" (it names no file)");
    }
    return part;
}

}  // namespace

PathPattern::PathPattern(std::string_view text, PatternRules rules)
    : text_(text),
      rules_(rules),
      anchored_(HasSeparator(WithoutTrailingSeparators(text, rules), rules)),
      foldersOnly_(!text.empty() && IsSeparator(text.back(), rules)),
      glob_(GlobPart(text, rules), rules) {}

std::size_t PathPattern::NameStart(std::string_view path, const PatternRules& rules) {
    std::size_t name = path.size();
    while (name > 0 && !IsSeparator(path[name - 1], rules)) {
        --name;
    }
    return name;
}

bool PathPattern::matches(std::string_view path, std::size_t nameStart, bool folder) const {
    if (foldersOnly_ && !folder) {
        return false;
    }
    return glob_.matches(anchored_ ? path : path.substr(nameStart));
}

}  // namespace kestrava::history
