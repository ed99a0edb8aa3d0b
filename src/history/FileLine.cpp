#include "history/FileLine.h"

namespace kestrava::history {

std::optional<FileLine> ParseFileLine(std::string_view line) {
    const std::size_t dateBar = line.rfind('|');
    if (dateBar == std::string_view::npos || dateBar == 0) {
        return std::nullopt;
    }
    const std::size_t sizeBar = line.rfind('|', dateBar - 1);
    if (sizeBar == std::string_view::npos) {
        return std::nullopt;
    }
    return FileLine{line.substr(0, sizeBar), line.substr(sizeBar + 1, dateBar - sizeBar - 1),
                    line.substr(dateBar + 1)};
}

std::string_view NextLine(std::string_view text, std::size_t& at) {
    const std::size_t start = at;
    std::size_t end = text.find('\n', start);
    if (end == std::string_view::npos) {
        end = text.size();
        at = end;
    } else {
        at = end + 1;
    }
    if (end > start && text[end - 1] == '\r') {
        --end;
    }
    return text.substr(start, end - start);
}

// Counted a block at a time, the compiler turns the inner loop into vector compares: a
// log's gigabytes are counted about as fast as memory is read.
std::size_t CountLines(std::string_view text) {
    constexpr std::size_t Block = 64;
    const auto* bytes = reinterpret_cast<const unsigned char*>(text.data());
    std::size_t count = 0;
    std::size_t at = 0;
    for (; at + Block <= text.size(); at += Block) {
        unsigned char inBlock = 0;
        for (std::size_t offset = 0; offset < Block; ++offset) {
            inBlock += bytes[at + offset] == '\n';
        }
        count += inBlock;
    }
    for (; at < text.size(); ++at) {
        count += bytes[at] == '\n';
    }
    return count;
}

std::size_t CountUnreadableLines(std::string_view text) {
    std::size_t unreadable = 0;
    for (std::size_t at = 0; at < text.size();) {
        if (!ParseFileLine(NextLine(text, at))) {
            ++unreadable;
        }
    }
    return unreadable;
}

std::string_view WithoutLineEnd(std::string_view line) {
    if (line.ends_with('\n')) {
        line.remove_suffix(1);
    }
    if (line.ends_with('\r')) {
        line.remove_suffix(1);
    }
    return line;
}

}  // namespace kestrava::history
