// A store written from any text log reads back the same entries. The input is a text
// log; `compact` moves its whole entries into the store beside it, through the real
// file system; what must hold beyond not crashing:
// - the store holds every whole entry of the log, each with its head and its file lines
//   byte for byte, and the history reads the same from the store as from the log;
// - the text log keeps what was no entry: the bytes before the first entry and the torn
//   entry at the end, and no whole entry;
// - the store is no larger than a small multiple of the log.
// The time per input and the memory are bounded by the fuzzing command (scripts/fuzz.sh).

#include <cstdint>
#include <string>
#include <vector>

#include "FuzzInput.h"
#include "history/Compaction.h"
#include "history/EntryStream.h"
#include "history/LogEnd.h"
#include "history/LogFile.h"
#include "history/PathFilter.h"
#include "history/PathQuery.h"
#include "history/StoredHistory.h"
#include "history/TimelineReading.h"
#include "platform/posix/PosixFileSystem.h"

namespace kestrava::fuzz {
namespace {

struct TextEntries {
    std::vector<history::StreamedEntry> entries;
    std::uint64_t firstStart = 0;
    std::uint64_t end = 0;
};

TextEntries ReadText(const platform::FileSystem& fileSystem, const std::string& path) {
    const history::LogFile log(fileSystem, path);
    TextEntries text;
    text.end = history::FindLogEnd(log).entriesEnd;
    history::EntryStream stream(log, text.end);
    history::StreamedEntry entry;
    while (stream.next(entry)) {
        text.entries.push_back(entry);
    }
    text.firstStart = stream.firstEntryStart();
    return text;
}

// Every path's timeline, as `history '*'` tells it, from the text log or the store.
std::vector<std::string> TimelinesOf(const platform::FileSystem& fileSystem,
                                     const std::string& path,
                                     std::optional<history::StoreReader>& store) {
    const history::PathFilter everything;
    const history::PathQuery query({"*"}, everything);
    history::Timelines timelines;
    if (store) {
        history::ReadStoredTimelines(*store, query, timelines);
    } else {
        const history::LogFile log(fileSystem, path);
        const history::LogEnd end = history::FindLogEnd(log);
        history::ReadLoggedTimelines(log, end.entriesBegin, end.entriesEnd, 1, query, timelines);
    }
    std::vector<std::string> told;
    for (const auto& [file, events] : timelines.byPath()) {
        for (const history::FileEvent& event : events) {
            told.push_back(file + '\n' + std::to_string(event.entry) + '\n' + event.date + '\n' +
                           std::to_string(static_cast<int>(event.kind)) + '\n' + event.before.size +
                           '\n' + event.before.modified + '\n' + event.after.size + '\n' +
                           event.after.modified);
        }
    }
    return told;
}

void RoundTrip(std::string_view bytes) {
    platform::PosixFileSystem fileSystem;
    const std::string path = (FreshFolder() / "Kestrava.txt").string();
    WriteFile(path, bytes);
    const TextEntries before = ReadText(fileSystem, path);
    std::optional<history::StoreReader> noStore;
    const auto toldByText = TimelinesOf(fileSystem, path, noStore);

    const history::CompactionReport report = history::CompactHistory(fileSystem, path, 0);
    Require(report.moved == before.entries.size() && report.stored == before.entries.size(),
            "compact moves every whole entry");
    Require(report.storeBytes <= 4 * bytes.size() + 1024, "the store is no larger than the log");

    auto store = history::OpenStore(fileSystem, path);
    Require(store.has_value() == !before.entries.empty(), "a store is written for entries");
    for (std::size_t index = 0; store && index < store->count(); ++index) {
        const auto number = static_cast<std::int64_t>(index + 1);
        const history::StreamedEntry& entry = before.entries[index];
        const history::StoredEntryFacts& facts = store->facts(index, number);
        Require(facts.head == entry.head && facts.lines == entry.lines,
                "the store keeps each entry's head and count of lines");
        Require(store->files(index, number) == entry.files,
                "the store keeps each entry's lines byte for byte");
    }

    Require(!store || TimelinesOf(fileSystem, path, store) == toldByText,
            "history tells from the store what it told from the text log");

    const TextEntries after = ReadText(fileSystem, path);
    Require(after.entries.empty(), "the text log keeps no whole entry");
    const std::string kept =
        std::string(bytes.substr(0, before.entries.empty() ? bytes.size() : before.firstStart)) +
        std::string(before.entries.empty() ? std::string_view() : bytes.substr(before.end));
    const history::LogFile cut(fileSystem, path);
    Require(cut.read(0, cut.size()) == kept, "the text log keeps what was no entry");
}

}  // namespace
}  // namespace kestrava::fuzz

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    kestrava::fuzz::RoundTrip(kestrava::fuzz::Bytes(data, size));
    return 0;
}
