#include "cli/DiffCommand.h"

#include <algorithm>

#include "cli/JsonText.h"
#include "history/EntryComparison.h"
#include "history/FileLine.h"
#include "history/LoggedPaths.h"

namespace kestrava::cli {
namespace {

struct ComparedEntry {
    const LoggedEntry& entry;
    std::uint64_t files;
};

std::string Label(const ComparedEntry& compared) {
    return "entry " + std::to_string(compared.entry.number) + " [" + compared.entry.date + "]";
}

std::string Summary(const ComparedEntry& from, const ComparedEntry& to,
                    const history::EntryChanges& changes) {
    std::string summary = Label(from) + " to " + Label(to) + ": ";
    if (changes.empty()) {
        return summary + "no changes\n";
    }
    return summary + std::to_string(changes.added.size()) + " added, " +
           std::to_string(changes.removed.size()) + " removed, " +
           std::to_string(changes.modified.size()) + " modified\n";
}

void WriteText(const ComparedEntry& from, const ComparedEntry& to,
               const history::EntryChanges& changes, std::ostream& out) {
    struct Marked {
        std::string_view path;
        char mark;
    };
    std::vector<Marked> lines;
    lines.reserve(changes.added.size() + changes.removed.size() + changes.modified.size());
    for (const history::FileLine& file : changes.removed) {
        lines.push_back({file.path, '-'});
    }
    for (const history::FileLine& file : changes.added) {
        lines.push_back({file.path, '+'});
    }
    for (const history::ModifiedFile& file : changes.modified) {
        lines.push_back({file.after.path, 'M'});
    }
    std::stable_sort(lines.begin(), lines.end(),
                     [](const Marked& a, const Marked& b) { return a.path < b.path; });
    std::string text;
    for (const Marked& line : lines) {
        text += line.mark;
        text += ' ';
        text += line.path;
        text += '\n';
    }
    text += Summary(from, to, changes);
    out << text;
}

void AppendEntryJson(std::string& out, const ComparedEntry& compared, const JsonText& json) {
    out += "{\"entry\": " + std::to_string(compared.entry.number) + ", \"date\": ";
    json.append(out, compared.entry.date);
    out += ", \"files\": " + std::to_string(compared.files) + "}";
}

template <typename Item, typename AppendItem>
void AppendList(std::string& out, std::string_view name, const std::vector<Item>& items,
                AppendItem appendItem) {
    out += ",\n  \"";
    out += name;
    out += "\": [";
    for (std::size_t index = 0; index < items.size(); ++index) {
        out += index == 0 ? "\n    {" : ",\n    {";
        appendItem(items[index]);
        out += '}';
    }
    out += items.empty() ? "]" : "\n  ]";
}

void WriteJson(const ComparedEntry& from, const ComparedEntry& to,
               const history::EntryChanges& changes, const JsonText& json, std::ostream& out) {
    std::string text = "{\n  \"from\": ";
    AppendEntryJson(text, from, json);
    text += ",\n  \"to\": ";
    AppendEntryJson(text, to, json);
    const auto appendFile = [&](const history::FileLine& file) {
        text += "\"path\": ";
        json.append(text, file.path);
        text += ", ";
        json.appendSizeAndDate(text, file.size, file.modified);
    };
    AppendList(text, "added", changes.added, appendFile);
    AppendList(text, "removed", changes.removed, appendFile);
    AppendList(text, "modified", changes.modified, [&](const history::ModifiedFile& file) {
        text += "\"path\": ";
        json.append(text, file.after.path);
        text += ", ";
        json.appendChange(text, {file.before.size, file.before.modified},
                          {file.after.size, file.after.modified});
    });
    text += "\n}\n";
    out << text;
}

}  // namespace

int DiffEntries(HistoryLog& log, const std::vector<std::int64_t>& numbers, Format format,
                const history::PathFilter& filter, Console& console) {
    const std::int64_t fromNumber = numbers.empty() ? -2 : numbers[0];
    const std::int64_t toNumber = numbers.size() < 2 ? -1 : numbers[1];
    history::EntryIndex index(log.file, log.end);
    LoggedEntry from = ReadEntry(log, index, fromNumber, console);
    LoggedEntry to = ReadEntry(log, index, toNumber, console);
    history::LeaveOutExcluded(from.files, filter);
    history::LeaveOutExcluded(to.files, filter);
    history::EntryChanges changes = history::CompareEntries(from.files, to.files);
    history::SortByPath(changes);
    const ComparedEntry before{from,
                               CountFiles(from.number, history::CountLines(from.files),
                                          history::CountUnreadableLines(from.files), console)};
    const ComparedEntry after{to, CountFiles(to.number, history::CountLines(to.files),
                                             history::CountUnreadableLines(to.files), console)};
    if (format == Format::Json) {
        WriteJson(before, after, changes, JsonText(console.locale()), console.out());
    } else {
        WriteText(before, after, changes, console.out());
    }
    return changes.empty() ? 0 : 1;
}

}  // namespace kestrava::cli
