#include "cli/ShowCommand.h"

#include <functional>

#include "cli/CsvText.h"
#include "cli/JsonText.h"
#include "history/FileLine.h"
#include "history/LoggedPaths.h"

namespace kestrava::cli {
namespace {

// Output goes out in pieces of about this size: a large entry is never held twice.
constexpr std::size_t OutputPiece = 256 * 1024;

void AppendLine(std::string& out, std::string_view line) {
    out += line;
    out += '\n';
}

void AppendCsv(std::string& out, const history::FileLine& file) {
    AppendCsvField(out, file.path);
    out += ',';
    AppendCsvField(out, file.size);
    out += ',';
    AppendCsvField(out, file.modified);
    out += CsvRecordEnd;
}

void AppendJson(std::string& out, const history::FileLine& file, bool first, const JsonText& json) {
    out += first ? "\n  {\"path\": " : ",\n  {\"path\": ";
    json.append(out, file.path);
    out += ", \"size\": ";
    json.append(out, file.size);
    out += ", \"modified\": ";
    json.append(out, file.modified);
    out += '}';
}

}  // namespace

int ShowEntry(HistoryLog& log, const std::vector<std::int64_t>& numbers, Format format,
              const history::PathFilter& filter, Console& console) {
    history::EntryIndex index(log.file, log.end);
    // Filtered, the entry's text is cut; unfiltered, a stored entry's lines are written
    // from where the store keeps them, as it hands them over.
    LoggedEntry entry = ReadEntry(log, index, numbers.empty() ? -1 : numbers[0], console,
                                  filter.empty() ? StoredLines::Streamed : StoredLines::Joined);
    history::LeaveOutExcluded(entry.files, filter);
    const auto forEachPiece = [&](const std::function<void(std::string_view)>& take) {
        if (entry.storedAt) {
            log.store->forEachLine(*entry.storedAt, entry.number, take);
        } else {
            take(entry.files);
        }
    };
    std::string out;
    const auto sendWhenFull = [&] {
        if (out.size() >= OutputPiece) {
            console.out() << out;
            out.clear();
        }
    };
    if (format == Format::Raw) {
        // The text log's entry is one piece, written as it is; the store's lines are
        // gathered into pieces of the output's size.
        out = entry.head;
        forEachPiece([&](std::string_view piece) {
            if (piece.size() >= OutputPiece) {
                console.out() << out << piece;
                out.clear();
                return;
            }
            out += piece;
            sendWhenFull();
        });
        console.out() << out;
        return 0;
    }
    std::uint64_t lines = 0;
    std::uint64_t unreadable = 0;
    if (format == Format::Text && entry.allNameFiles && entry.storedAt) {
        // A stored entry's lines are known to name files: they are written without being
        // read again, which took as long as rebuilding them.
        log.store->forEachLine(*entry.storedAt, entry.number, [&](std::string_view line) {
            lines += line.ends_with('\n') ? 1 : 0;
            AppendLine(out, history::WithoutLineEnd(line));
            sendWhenFull();
        });
        console.out() << out;
        CountFiles(entry.number, lines, unreadable, console);
        return 0;
    }
    const JsonText json(console.locale());
    if (format == Format::Csv) {
        out = "path,size,modified";
        out += CsvRecordEnd;
    } else if (format == Format::Json) {
        out = "[";
    }
    bool first = true;
    forEachPiece([&](std::string_view piece) {
        for (std::size_t at = 0; at < piece.size();) {
            const std::string_view line = history::NextLine(piece, at);
            lines += piece[at - 1] == '\n' ? 1 : 0;  // the last may be unended
            const auto file = history::ParseFileLine(line);
            if (!file) {
                ++unreadable;
                continue;
            }
            if (format == Format::Csv) {
                AppendCsv(out, *file);
            } else if (format == Format::Json) {
                AppendJson(out, *file, first, json);
            } else {
                AppendLine(out, line);
            }
            first = false;
            sendWhenFull();
        }
    });
    if (format == Format::Json) {
        out += first ? "]\n" : "\n]\n";
    }
    console.out() << out;
    CountFiles(entry.number, lines, unreadable, console);
    return 0;
}

}  // namespace kestrava::cli
