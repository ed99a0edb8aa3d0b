#include "history/TimelineReading.h"

#include <algorithm>
#include <set>

#include "history/EntryStream.h"
#include "history/FileLine.h"

namespace kestrava::history {
namespace {

// A line version of a path asked about.
struct AskedVersion {
    std::uint64_t rank;
    std::uint32_t first;
    std::uint32_t last;
    FileFacts facts;
};

// The entries where what the store lists of a path may change: where one of its versions
// begins, and the entry after one ends (within the store).
std::set<std::uint32_t> Turns(const std::vector<AskedVersion>& versions, std::size_t count) {
    std::set<std::uint32_t> turns;
    for (const AskedVersion& version : versions) {
        turns.insert(version.first);
        if (version.last + std::size_t{1} < count) {
            turns.insert(version.last + 1);
        }
    }
    return turns;
}

// The path's line in an entry: of its versions that hold it, the first in the entry's
// order, as the text log would list it.
const FileFacts* ListedIn(const std::vector<AskedVersion>& versions, std::uint32_t entry) {
    const AskedVersion* listed = nullptr;
    for (const AskedVersion& version : versions) {
        if (version.first <= entry && entry <= version.last &&
            (!listed || version.rank < listed->rank)) {
            listed = &version;
        }
    }
    return listed ? &listed->facts : nullptr;
}

void AddAsked(ListedFiles& listed, std::string_view line, const PathQuery& query) {
    const auto file = ParseFileLine(line);
    if (file && query.asks(file->path)) {
        listed.try_emplace(std::string(file->path),
                           FileFacts{std::string(file->size), std::string(file->modified)});
    }
}

// The lines of an entry's files that name a path asked about, in the entry's order.
void FindAsked(std::string_view files, const PathQuery& query, ListedFiles& listed) {
    if (query.literals().empty()) {
        for (std::size_t at = 0; at < files.size();) {
            AddAsked(listed, NextLine(files, at), query);
        }
        return;
    }
    std::vector<std::size_t> lineStarts;
    for (const LiteralSearch& literal : query.literals()) {
        for (std::size_t found = literal.find(files, 0); found != std::string_view::npos;) {
            const std::size_t lineStart = files.rfind('\n', found);
            lineStarts.push_back(lineStart == std::string_view::npos ? 0 : lineStart + 1);
            const std::size_t lineEnd = files.find('\n', found);
            if (lineEnd == std::string_view::npos) {
                break;
            }
            found = literal.find(files, lineEnd + 1);
        }
    }
    std::sort(lineStarts.begin(), lineStarts.end());
    lineStarts.erase(std::unique(lineStarts.begin(), lineStarts.end()), lineStarts.end());
    for (std::size_t at : lineStarts) {
        AddAsked(listed, NextLine(files, at), query);
    }
}

}  // namespace

void ReadStoredTimelines(StoreReader& store, const PathQuery& query, Timelines& timelines) {
    std::map<std::string, std::vector<AskedVersion>, std::less<>> asked;
    store.forEachVersion(
        [&](std::uint64_t rank, const LineVersion& version, std::string_view line) {
            if (!query.mayAsk(line)) {
                return;
            }
            const auto file = ParseFileLine(WithoutLineEnd(line));
            if (file && query.asks(file->path)) {
                asked[std::string(file->path)].push_back(
                    {rank,
                     version.first,
                     version.last,
                     {std::string(file->size), std::string(file->modified)}});
            }
        });
    const std::size_t count = store.count();
    for (const auto& [path, versions] : asked) {
        for (const std::uint32_t entry : Turns(versions, count)) {
            const auto number = static_cast<std::int64_t>(entry) + 1;
            timelines.record(static_cast<std::uint64_t>(number),
                             DateOfHead(store.facts(entry, number).head), path,
                             ListedIn(versions, entry));
        }
    }
}

std::uint64_t ReadLoggedTimelines(const LogFile& log, std::uint64_t begin, std::uint64_t end,
                                  std::uint64_t firstNumber, const PathQuery& query,
                                  Timelines& timelines) {
    EntryStream entries(log, end, begin);
    StreamedEntry entry;
    std::uint64_t read = 0;
    ListedFiles listed;
    while (entries.next(entry)) {
        listed.clear();
        FindAsked(entry.files, query, listed);
        timelines.recordEntry(firstNumber + read, entry.date, listed);
        ++read;
    }
    return read;
}

}  // namespace kestrava::history
