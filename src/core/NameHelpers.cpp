#include "core/NameHelpers.h"

namespace kestrava::core {
namespace {

std::string_view TrimSpaces(std::string_view text) {
    const auto first = text.find_first_not_of(' ');
    if (first == std::string_view::npos) {
        return {};
    }
    return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

}  // namespace

std::string AppTitleFor(std::string_view productName) {
    constexpr std::size_t LongestTitle = 40;
    std::string_view title = productName;
    auto lastSpace = title.rfind(' ');
    if (lastSpace == std::string_view::npos) {
        return std::string(title);
    }
    do {
        title = title.substr(0, lastSpace);
        lastSpace = title.rfind(' ');
    } while (title.size() > LongestTitle && lastSpace != std::string_view::npos);
    return std::string(title);
}

std::string DropTrailingWord(std::string_view text, std::string_view word) {
    const auto lastSpace = text.rfind(' ');
    if (lastSpace == std::string_view::npos) {
        return std::string(text);
    }
    if (word.empty() || TrimSpaces(text.substr(lastSpace)) == word) {
        return std::string(TrimSpaces(text.substr(0, lastSpace)));
    }
    return std::string(text);
}

std::string StripSpecialCharacters(std::string_view text) {
    constexpr std::string_view Special = "$/\\*:?<>|#' .,\"()-+=%;}{\t";
    std::string kept;
    kept.reserve(text.size());
    for (const char c : text) {
        if (Special.find(c) == std::string_view::npos) {
            kept += c;
        }
    }
    return kept;
}

}  // namespace kestrava::core
