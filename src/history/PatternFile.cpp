#include "history/PatternFile.h"

#include "platform/RuntimeError.h"

namespace kestrava::history {
namespace {

using platform::RuntimeError;

constexpr std::string_view ByteOrderMark = "\xEF\xBB\xBF";

// The line without the spaces at its end; a space escaped with "\" stays, the "\" goes.
std::string WithoutTrailingSpaces(std::string_view line, bool backslashEscapes) {
    std::size_t end = line.size();
    while (end > 0 && line[end - 1] == ' ') {
        --end;
    }
    std::string kept(line.substr(0, end));
    if (backslashEscapes && end < line.size() && end > 0 && line[end - 1] == '\\') {
        kept.back() = ' ';
    }
    return kept;
}

void AddLine(PathFilter& filter, std::string_view line) {
    const bool backslashEscapes = !filter.rules().backslashSeparates;
    if (line.empty() || line.starts_with('#')) {
        return;
    }
    std::string pattern = WithoutTrailingSpaces(line, backslashEscapes);
    if (pattern.empty()) {
        return;
    }
    PatternKind kind = PatternKind::Exclude;
    if (pattern.starts_with('!')) {
        kind = PatternKind::Include;
        pattern.erase(0, 1);
    } else if (backslashEscapes && (pattern.starts_with("\\#") || pattern.starts_with("\\!"))) {
        pattern.erase(0, 1);
    }
    filter.add(kind, pattern);
}

}  // namespace

void AddPatternLines(PathFilter& filter, std::string_view text, std::string_view source) {
    if (text.starts_with(ByteOrderMark)) {
        text.remove_prefix(ByteOrderMark.size());
    }
    for (std::size_t number = 1; !text.empty(); ++number) {
        const std::size_t end = text.find('\n');
        std::string_view line = text.substr(0, end);
        text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
        if (line.ends_with('\r')) {
            line.remove_suffix(1);
        }
        try {
            AddLine(filter, line);
        } catch (const RuntimeError& error) {
            throw RuntimeError(error.number(), std::string(source) + ", line " +
                                                   std::to_string(number) + ": " +
                                                   error.description());
        }
    }
}

void AddPatternFile(PathFilter& filter, const platform::FileSystem& fileSystem,
                    const std::string& path) {
    std::string text;
    try {
        const auto file = fileSystem.openForReading(path);
        text.resize(file->size());
        text.resize(file->readAt(0, text));
    } catch (const RuntimeError& error) {
        throw RuntimeError(error.number(), "the pattern file " + path + " can't be read (" +
                                               error.description() + ")");
    }
    AddPatternLines(filter, text, path);
}

}  // namespace kestrava::history
