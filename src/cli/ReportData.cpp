#include "cli/ReportData.h"

#include <cmath>
#include <optional>
#include <vector>

#include "cli/SizeText.h"
#include "history/EntryStream.h"
#include "history/FileLine.h"
#include "history/LoggedPaths.h"
#include "history/StoreContent.h"
#include "platform/Utf8.h"

namespace kestrava::cli {
namespace {

using history::FileLine;

std::string Whole(double bytes) {
    return std::to_string(static_cast<std::uint64_t>(std::llround(std::max(bytes, 0.0))));
}

void AppendValidUtf8(std::string& out, std::string_view text) {
    constexpr std::string_view ReplacementCharacter = "\xEF\xBF\xBD";
    while (!text.empty()) {
        const std::size_t length = platform::Utf8CharacterLength(text);
        if (length == 0) {
            out += ReplacementCharacter;
            text.remove_prefix(1);
        } else {
            out += text.substr(0, length);
            text.remove_prefix(length);
        }
    }
}

// Appends the line (without its end) with a line feed when it names a file that the
// filter keeps.
void AppendKept(std::string& out, std::string_view line, const history::PathFilter& filter) {
    const std::optional<FileLine> file = history::ParseFileLine(line);
    if (!file || !history::KeepsLoggedPath(filter, file->path)) {
        return;
    }
    out += line;
    out += '\n';
}

std::string KeptLines(std::string_view files, const history::PathFilter& filter) {
    std::string kept;
    kept.reserve(files.size());
    for (std::size_t at = 0; at < files.size();) {
        AppendKept(kept, history::NextLine(files, at), filter);
    }
    return kept;
}

history::ChangeCounts Counts(const history::EntryChanges& changes) {
    return {changes.added.size(), changes.removed.size(), changes.modified.size()};
}

// The stored entries' lines by the entries where they came and went.
class StoredLines {
public:
    StoredLines(const history::StoreContent& content, const history::PathFilter& filter)
        : content_(content),
          filter_(filter),
          came_(content.entries.size()),
          gone_(content.entries.size() + 1) {
        for (std::size_t at = 0; at < content.versions.size(); ++at) {
            const history::LineVersion& version = content.versions[at];
            if (version.first < came_.size()) {
                came_[version.first].push_back(at);
            }
            if (version.last + std::size_t{1} < gone_.size()) {
                gone_[version.last + std::size_t{1}].push_back(at);
            }
        }
    }

    // The kept lines of an entry (numbered from 0), in its order.
    std::string listing(std::uint32_t entry) const {
        std::string lines;
        for (const history::LineVersion& version : content_.versions) {
            if (version.first <= entry && entry <= version.last) {
                append(lines, version);
            }
        }
        return lines;
    }

    // The kept lines that the entry lists and the one before it didn't, and those the
    // entry before listed and it doesn't.
    std::string came(std::size_t entry) const { return lines(came_[entry]); }
    std::string gone(std::size_t entry) const { return lines(gone_[entry]); }

private:
    std::string lines(const std::vector<std::size_t>& versions) const {
        std::string text;
        for (const std::size_t at : versions) {
            append(text, content_.versions[at]);
        }
        return text;
    }

    void append(std::string& lines, const history::LineVersion& version) const {
        AppendKept(lines, history::WithoutLineEnd(content_.text(version)), filter_);
    }

    const history::StoreContent& content_;
    const history::PathFilter& filter_;
    std::vector<std::vector<std::size_t>> came_;
    std::vector<std::vector<std::size_t>> gone_;
};

// Adds the stored entries of the range; gives the kept lines of the store's newest entry
// when the text log's entries follow, for the first of them to be compared with.
std::string AddStoredEntries(ReportData& data, HistoryLog& log, std::uint64_t first,
                             std::uint64_t last, const history::PathFilter& filter) {
    const std::uint64_t stored = log.stored();
    const history::StoreContent content = log.store->content();
    const StoredLines lines(content, filter);
    if (first <= stored) {
        const auto dateOf = [&](std::uint64_t number) {
            return history::DateOfHead(content.entries[number - 1].head);
        };
        std::optional<history::ChangeCounts> changes;
        if (first > 1) {
            changes = Counts(history::CompareEntries(lines.gone(first - 1), lines.came(first - 1)));
        }
        data.addFirst(first, dateOf(first), lines.listing(static_cast<std::uint32_t>(first - 1)),
                      changes);
        for (std::uint64_t number = first + 1; number <= std::min(last, stored); ++number) {
            const std::string gone = lines.gone(number - 1);
            const std::string came = lines.came(number - 1);
            data.addNext(number, dateOf(number), history::CompareEntries(gone, came));
        }
    }
    return last > stored ? lines.listing(static_cast<std::uint32_t>(stored - 1)) : std::string();
}

// Adds the text log's entries of the range, comparing each with the one before
// (`previous`: the kept lines of the entry before the text log's first, if any).
void AddTextEntries(ReportData& data, HistoryLog& log, std::uint64_t first, std::uint64_t last,
                    const history::PathFilter& filter, std::string previous) {
    history::EntryStream entries(log.file, log.end.entriesEnd, log.end.entriesBegin);
    history::StreamedEntry entry;
    for (std::uint64_t number = log.stored() + 1; number <= last && entries.next(entry); ++number) {
        if (number + 1 < first) {
            continue;
        }
        std::string kept = KeptLines(entry.files, filter);
        if (number == first) {
            std::optional<history::ChangeCounts> changes;
            if (number > 1) {
                changes = Counts(history::CompareEntries(previous, kept));
            }
            data.addFirst(number, entry.date, kept, changes);
        } else if (number > first) {
            data.addNext(number, entry.date, history::CompareEntries(previous, kept));
        }
        previous.swap(kept);
    }
}

}  // namespace

ReportData::ReportData() : text_("KESTRAVA REPORT 1\n") {}

void ReportData::addFirst(std::uint64_t number, std::string_view date, std::string_view files,
                          const std::optional<history::ChangeCounts>& changes) {
    std::vector<FileLine> lines;
    for (std::size_t at = 0; at < files.size();) {
        if (const auto file = history::ParseFileLine(history::NextLine(files, at))) {
            lines.push_back(*file);
        }
    }
    files_ = lines.size();
    bytes_ = 0;
    for (const FileLine& file : lines) {
        bytes_ += bytesOf(file.size);
    }
    addHeader(number, date,
              changes ? std::to_string(changes->added) + '|' + std::to_string(changes->removed) +
                            '|' + std::to_string(changes->modified)
                      : "||",
              0, lines.size());
    for (const FileLine& file : lines) {
        addLine(file);
    }
}

void ReportData::addNext(std::uint64_t number, std::string_view date,
                         const history::EntryChanges& changes) {
    files_ += changes.added.size();
    files_ -= changes.removed.size();
    for (const FileLine& file : changes.added) {
        bytes_ += bytesOf(file.size);
    }
    for (const FileLine& file : changes.removed) {
        bytes_ -= bytesOf(file.size);
    }
    for (const history::ModifiedFile& file : changes.modified) {
        bytes_ += bytesOf(file.after.size) - bytesOf(file.before.size);
    }
    const std::size_t modified = changes.modified.size();
    addHeader(number, date,
              std::to_string(changes.added.size()) + '|' + std::to_string(changes.removed.size()) +
                  '|' + std::to_string(modified),
              changes.removed.size() + modified, changes.added.size() + modified);
    for (const FileLine& file : changes.removed) {
        addLine(file);
    }
    for (const history::ModifiedFile& file : changes.modified) {
        addLine(file.before);
    }
    for (const FileLine& file : changes.added) {
        addLine(file);
    }
    for (const history::ModifiedFile& file : changes.modified) {
        addLine(file.after);
    }
}

std::string ReportData::finish(const platform::Locale& locale) {
    for (const auto& [text, bytes] : sizes_) {
        text_ += "S|" + Whole(bytes) + '|' + text + '\n';
    }
    const std::string converted = locale.fromSystemEncoding(std::move(text_));
    std::string data;
    data.reserve(converted.size());
    AppendValidUtf8(data, converted);
    return data;
}

void ReportData::addHeader(std::uint64_t number, std::string_view date, const std::string& counts,
                           std::size_t gone, std::size_t came) {
    text_ += "E|" + std::to_string(number) + '|' + std::to_string(files_) + '|' + Whole(bytes_) +
             '|' + counts + '|' + std::to_string(gone) + '|' + std::to_string(came) + '|';
    text_ += date;
    text_ += '\n';
}

void ReportData::addLine(const FileLine& file) {
    text_ += file.path;
    text_ += '|';
    text_ += file.size;
    text_ += '|';
    text_ += file.modified;
    text_ += '\n';
}

double ReportData::bytesOf(std::string_view sizeText) {
    const auto known = sizes_.find(sizeText);
    if (known != sizes_.end()) {
        return known->second;
    }
    const double bytes = BytesOfSizeText(sizeText).value_or(0);
    sizes_.emplace(sizeText, bytes);
    return bytes;
}

std::string CollectReportData(HistoryLog& log, std::uint64_t first, std::uint64_t last,
                              const history::PathFilter& filter, const platform::Locale& locale) {
    ReportData data;
    const std::uint64_t stored = log.stored();
    // Every entry is compared with the one before it, the range's first too, so that
    // every entry's counts are those of `entries`.
    std::string previous;
    if (stored > 0 && first <= stored + 1) {
        previous = AddStoredEntries(data, log, first, last, filter);
    }
    if (last > stored) {
        AddTextEntries(data, log, first, last, filter, std::move(previous));
    }
    return data.finish(locale);
}

}  // namespace kestrava::cli
