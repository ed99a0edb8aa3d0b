// The history log's readers on any bytes, as a log cut by a crash, edited by hand or
// written by another program may hold. Beyond not crashing, what must hold:
// - the log's end and its whole entries lie within the log, each entry after the one
//   before, with nothing between them;
// - reading backward (what `show -1` and `diff` do), reading forward (`show 1`,
//   `history`), streaming (`entries`) and the index find the same entries;
// - the comparison of two entries is symmetric, and finds nothing between an entry and
//   itself.
// The time per input and the memory are bounded by the fuzzing command (scripts/fuzz.sh).

#include <cstdint>
#include <string>
#include <vector>

#include "FuzzInput.h"
#include "history/EntryComparison.h"
#include "history/EntryIndex.h"
#include "history/EntryScans.h"
#include "history/EntryStream.h"
#include "history/LogEnd.h"
#include "history/LogFile.h"
#include "platform/posix/PosixFileSystem.h"

namespace kestrava::fuzz {
namespace {

using history::EntrySpan;

bool SameSpan(const EntrySpan& a, const EntrySpan& b) {
    return a.start == b.start && a.filesStart == b.filesStart && a.end == b.end && a.date == b.date;
}

void CheckSpans(const std::vector<EntrySpan>& spans, const history::LogEnd& end) {
    std::uint64_t next = spans.empty() ? end.entriesEnd : spans.front().start;
    Require(next >= end.entriesBegin, "the first entry lies after where entries begin");
    for (const EntrySpan& span : spans) {
        Require(span.start == next, "an entry begins where the one before ended");
        Require(span.start < span.filesStart && span.filesStart <= span.end,
                "an entry's head comes before its files");
        next = span.end;
    }
    Require(next == end.entriesEnd, "the newest entry ends where the entries end");
}

void CheckComparison(const std::string& before, const std::string& after) {
    const history::EntryChanges forth = history::CompareEntries(before, after);
    const history::EntryChanges back = history::CompareEntries(after, before);
    Require(forth.added.size() == back.removed.size() &&
                forth.removed.size() == back.added.size() &&
                forth.modified.size() == back.modified.size(),
            "a comparison turned round finds the same changes turned round");
    Require(history::CompareEntries(after, after).empty(), "an entry is the same as itself");
}

void ReadLog(const std::string& path, std::uint64_t size) {
    const platform::PosixFileSystem fileSystem;
    const history::LogFile log(fileSystem, path);
    const history::LogEnd end = history::FindLogEnd(log);
    Require(end.entriesBegin <= end.entriesEnd && end.entriesEnd <= size,
            "the entries lie within the log");
    Require(!end.torn || (end.torn->start >= end.entriesEnd && end.torn->start < size),
            "a torn entry lies after the whole ones");

    std::vector<EntrySpan> forward;
    history::ForwardEntries forwardScan(log, end.entriesEnd, end.entriesBegin);
    while (const auto span = forwardScan.next()) {
        forward.push_back(*span);
    }
    CheckSpans(forward, end);

    history::BackwardEntries backwardScan(log, end.entriesEnd, end.entriesBegin);
    for (auto at = forward.rbegin(); at != forward.rend(); ++at) {
        const auto span = backwardScan.next();
        Require(span && SameSpan(*span, *at), "reading backward finds the same entries");
    }
    Require(!backwardScan.next(), "reading backward finds no more entries");

    history::EntryIndex index(log, end);
    Require(index.count() == forward.size(), "the index counts the entries");
    if (!forward.empty()) {
        Require(SameSpan(*index.entry(-1), forward.back()), "the index's newest entry");
        Require(SameSpan(*index.entry(1), forward.front()), "the index's oldest entry");
    }

    history::EntryStream stream(log, end.entriesEnd, end.entriesBegin);
    history::StreamedEntry entry;
    std::string previous;
    for (const EntrySpan& span : forward) {
        Require(stream.next(entry), "the stream finds every entry");
        Require(entry.head == log.read(span.start, span.filesStart) && entry.date == span.date &&
                    entry.files == log.read(span.filesStart, span.end),
                "the stream reads each entry as it lies in the log");
        CheckComparison(previous, entry.files);
        previous = entry.files;
    }
    Require(!stream.next(entry), "the stream finds no more entries");
}

}  // namespace
}  // namespace kestrava::fuzz

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace kestrava::fuzz;
    const auto path = FreshFolder() / "Kestrava.txt";
    WriteFile(path, Bytes(data, size));
    ReadLog(path.string(), size);
    return 0;
}
