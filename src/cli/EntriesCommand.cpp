#include "cli/EntriesCommand.h"

#include <optional>

#include "cli/JsonText.h"
#include "history/EntryComparison.h"
#include "history/EntryStream.h"
#include "history/FileLine.h"
#include "history/LoggedPaths.h"
#include "history/StoreContent.h"

namespace kestrava::cli {
namespace {

using history::ChangeCounts;

struct EntryFacts {
    std::uint64_t number;
    std::string_view date;
    std::uint64_t files;
    std::optional<ChangeCounts> changes;  // none for the oldest entry
};

void AppendText(std::string& line, const EntryFacts& facts) {
    line += std::to_string(facts.number);
    line += "  ";
    line += facts.date;
    line += "  ";
    line += std::to_string(facts.files);
    line += facts.files == 1 ? " file" : " files";
    if (facts.changes) {
        line += "  +" + std::to_string(facts.changes->added) + " -" +
                std::to_string(facts.changes->removed) + " M" +
                std::to_string(facts.changes->modified);
    }
    line += '\n';
}

void AppendJson(std::string& line, const EntryFacts& facts, const JsonText& json) {
    line += facts.number == 1 ? "[\n  " : ",\n  ";
    line += "{\"entry\": " + std::to_string(facts.number) + ", \"date\": ";
    json.append(line, facts.date);
    line += ", \"files\": " + std::to_string(facts.files) + ", \"changes\": ";
    if (facts.changes) {
        line += "{\"added\": " + std::to_string(facts.changes->added) +
                ", \"removed\": " + std::to_string(facts.changes->removed) +
                ", \"modified\": " + std::to_string(facts.changes->modified) + "}";
    } else {
        line += "null";
    }
    line += '}';
}

// Entries are listed as they are read, so that a long log shows its first ones at once.
class EntryLister {
public:
    EntryLister(Format format, Console& console)
        : format_(format), console_(console), json_(console.locale()) {}

    // A stored entry, as its index tells it.
    void list(const history::StoredEntryFacts& stored) {
        ++number_;
        const EntryFacts facts{number_, history::DateOfHead(stored.head),
                               CountFiles(static_cast<std::int64_t>(number_), stored.lines,
                                          stored.unreadableLines, console_),
                               stored.changes};
        write(facts);
    }

    // The entry the text log's first is compared with: the store's newest.
    void follow(std::string files) {
        previous_ = std::move(files);
        previousUnreadable_ = history::CountUnreadableLines(previous_);
    }

    // Keeps the entry's files, to compare the next entry with; the entry is left with a
    // buffer to read the next one into.
    void list(history::StreamedEntry& entry) {
        const std::string_view current = entry.files;
        ++number_;
        const auto number = static_cast<std::int64_t>(number_);
        std::optional<ChangeCounts> changes;
        std::uint64_t unreadable = 0;
        if (number_ == 1) {
            unreadable = history::CountUnreadableLines(current);
        } else {
            const history::EntryChanges found = history::CompareEntries(previous_, current);
            changes = ChangeCounts{found.added.size(), found.removed.size(), found.modified.size()};
            // Lines that are the same in both entries were read in the entry before; where
            // it held unreadable ones, they may be among them.
            unreadable = previousUnreadable_ == 0 ? found.unreadableAfter
                                                  : history::CountUnreadableLines(current);
        }
        write(
            {number_, entry.date, CountFiles(number, entry.lines, unreadable, console_), changes});
        previous_.swap(entry.files);
        previousUnreadable_ = unreadable;
    }

    void write(const EntryFacts& facts) {
        line_.clear();
        if (format_ == Format::Json) {
            AppendJson(line_, facts, json_);
        } else {
            AppendText(line_, facts);
        }
        console_.out() << line_;
    }

    void finish() {
        if (format_ == Format::Json) {
            console_.out() << "\n]\n";
        }
    }

private:
    Format format_;
    Console& console_;
    JsonText json_;
    std::uint64_t number_ = 0;
    std::string previous_;  // the files of the entry listed last
    std::uint64_t previousUnreadable_ = 0;
    std::string line_;
};

// A filtered entry's counts can't be the index's: they are counted from its lines.
void ListFilteredEntries(HistoryLog& log, history::EntryStream& entries,
                         history::StreamedEntry& entry, bool anyInText,
                         const history::PathFilter& filter, EntryLister& lister) {
    const auto listFiltered = [&](history::StreamedEntry& listed) {
        history::LeaveOutExcluded(listed.files, filter);
        listed.lines = history::CountLines(listed.files);
        lister.list(listed);
    };
    history::StreamedEntry stored;
    for (std::size_t at = 0; at < log.stored(); ++at) {
        const auto number = static_cast<std::int64_t>(at + 1);
        stored.head = log.store->facts(at, number).head;
        stored.date = history::DateOfHead(stored.head);
        stored.files = log.store->files(at, number);
        listFiltered(stored);
    }
    if (anyInText) {
        do {
            listFiltered(entry);
        } while (entries.next(entry));
    }
}

}  // namespace

int ListEntries(HistoryLog& log, Format format, const history::PathFilter& filter,
                Console& console) {
    history::EntryStream entries(log.file, log.end.entriesEnd, log.end.entriesBegin);
    history::StreamedEntry entry;
    const bool anyInText = entries.next(entry);
    if (!anyInText && log.stored() == 0) {
        throw NoWholeEntry(log.file, console);
    }
    if (anyInText && entries.firstEntryStart() > log.end.entriesBegin) {
        console.complain("the first " + std::to_string(entries.firstEntryStart()) +
                         " bytes of the log are no entry; left out");
    }
    EntryLister lister(format, console);
    if (!filter.empty()) {
        ListFilteredEntries(log, entries, entry, anyInText, filter, lister);
        lister.finish();
        return 0;
    }
    for (std::size_t at = 0; at < log.stored(); ++at) {
        lister.list(log.store->facts(at, static_cast<std::int64_t>(at + 1)));
    }
    if (anyInText && log.stored() > 0) {
        const auto newest = static_cast<std::int64_t>(log.stored());
        lister.follow(log.store->files(log.stored() - 1, newest));
    }
    if (anyInText) {
        do {
            lister.list(entry);
        } while (entries.next(entry));
    }
    lister.finish();
    return 0;
}

}  // namespace kestrava::cli
