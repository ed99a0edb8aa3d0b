#include "history/HistoryRewrite.h"

#include <thread>

#include "engine/HistoryLog.h"
#include "history/EntryComparison.h"
#include "history/EntryStream.h"
#include "history/FileLine.h"
#include "history/StoreBuilder.h"
#include "history/StoreBytes.h"
#include "history/StoredHistory.h"
#include "platform/RuntimeError.h"

namespace kestrava::history {
namespace {

using platform::RuntimeError;
namespace error_number = platform::error_number;
using Clock = std::chrono::steady_clock;

constexpr std::uint64_t CopyPiece = 4 * 1024 * 1024;

// The size of the log at a moment no program appends to it: every entry below it is whole.
std::uint64_t WholeSize(const platform::FileSystem& fileSystem, const std::string& logPath) {
    try {
        return LogFile(fileSystem, logPath).size();
    } catch (const RuntimeError& error) {
        if (error.number() == error_number::PathNotFound ||
            error.number() == error_number::FileNotFound) {
            throw RuntimeError(error.number(), "no history log at " + logPath);
        }
        throw;
    }
}

RuntimeError ChangedMeanwhile() {
    return RuntimeError(error_number::PathFileAccessError,
                        "the history changed while it was rewritten (it was cleared, or "
                        "another program compacted or pruned it); nothing was changed");
}

void CopyRange(const LogFile& log, std::uint64_t from, std::uint64_t to, platform::NewFile& out) {
    std::string piece;
    for (std::uint64_t at = from; at < to; at += CopyPiece) {
        log.read(at, std::min(to, at + CopyPiece), piece);
        out.write(piece);
    }
}

std::unique_ptr<platform::AppendingFile> HoldWritersOff(platform::FileSystem& fileSystem,
                                                        const std::string& logPath) {
    const auto givingUp = Clock::now() + engine::HistoryLogEntry::LockWait;
    for (;;) {
        if (auto file = fileSystem.openForAppending(logPath)) {
            return file;
        }
        if (Clock::now() >= givingUp) {
            throw RuntimeError(error_number::PermissionDenied,
                               "another program went on writing an entry into the history log "
                               "for too long");
        }
        std::this_thread::sleep_for(engine::HistoryLogEntry::LockRetry);
    }
}

std::string StoreHeaderOf(const std::optional<std::string>& store) {
    return store ? store->substr(0, StoreHeaderSize) : std::string();
}

// The bytes before the log's first entry, which stay in it whatever leaves.
std::uint64_t JunkEnd(const LogFile& log, std::uint64_t begin, std::uint64_t leaveTextAt) {
    EntryStream first(log, log.size(), 0);
    StreamedEntry entry;
    return first.next(entry) ? std::min(first.firstEntryStart(), begin == 0 ? leaveTextAt : begin)
                             : 0;
}

ChangeCounts CountChanges(const std::string& before, const std::string& after) {
    const EntryChanges changes = CompareEntries(before, after);
    return {changes.added.size(), changes.removed.size(), changes.modified.size()};
}

StoredEntryFacts FactsOf(const StreamedEntry& entry, const std::string* previous) {
    StoredEntryFacts facts{entry.head, entry.lines, CountUnreadableLines(entry.files), {}};
    if (previous != nullptr) {
        facts.changes = CountChanges(*previous, entry.files);
    }
    return facts;
}

// An entry's file lines, from the versions that hold it.
std::string FilesOf(const StoreContent& content, std::uint32_t entry) {
    std::string files;
    for (const LineVersion& version : content.versions) {
        if (version.first <= entry && entry <= version.last) {
            files += content.text(version);
        }
    }
    return files;
}

// The content without the entries that don't stay: a version keeps the range of the
// entries left of its own, and goes with the last of them. An entry whose entry before
// went is counted anew against the one that comes before it now.
StoreContent WithoutEntries(StoreContent content, const std::vector<bool>& stay) {
    std::vector<std::uint32_t> stayingBefore(stay.size() + 1, 0);
    for (std::size_t entry = 0; entry < stay.size(); ++entry) {
        stayingBefore[entry + 1] = stayingBefore[entry] + (stay[entry] ? 1 : 0);
    }
    StoreContent thinned;
    thinned.absorbed = content.absorbed;
    std::vector<bool> countAnew;
    for (std::size_t entry = 0; entry < content.entries.size(); ++entry) {
        if (stay[entry]) {
            thinned.entries.push_back(std::move(content.entries[entry]));
            countAnew.push_back(entry > 0 && !stay[entry - 1]);
        }
    }
    for (const LineVersion& version : content.versions) {
        const std::uint32_t first = stayingBefore[version.first];
        const std::uint32_t end = stayingBefore[version.last + 1];
        if (first < end) {
            thinned.versions.push_back({first, end - 1, thinned.texts.size(), version.length});
            thinned.texts += content.text(version);
        }
    }
    for (std::uint32_t entry = 0; entry < thinned.entries.size(); ++entry) {
        if (entry == 0) {
            thinned.entries[entry].changes.reset();
        } else if (countAnew[entry]) {
            thinned.entries[entry].changes =
                CountChanges(FilesOf(thinned, entry - 1), FilesOf(thinned, entry));
        }
    }
    return thinned;
}

struct NewStore {
    std::uint64_t taken = 0;  // entries that left the text log
    std::uint64_t moved = 0;  // of them, those that went into the store
    std::uint64_t removed = 0;
    StoreContent content;
};

// The stored entries that stay, then the text log's leaving entries that stay, streamed
// into the builder, each counted against the entry before it.
NewStore BuildStore(FoundHistory& history, const HistoryRewrite& rewrite) {
    NewStore built;
    StoreContent content = history.store ? history.store->content() : StoreContent{};
    if (!rewrite.storedStay.empty()) {
        content = WithoutEntries(std::move(content), rewrite.storedStay);
        built.removed = history.store->count() - content.entries.size();
    }
    std::string previous;
    bool hasPrevious = !content.entries.empty();
    if (hasPrevious) {
        previous = FilesOf(content, static_cast<std::uint32_t>(content.entries.size() - 1));
    }
    StoreBuilder builder(std::move(content));
    EntryStream entries(history.log, rewrite.leaveTextAt, history.end.entriesBegin);
    StreamedEntry entry;
    std::uint64_t lastSize = 0;
    std::uint32_t lastChecksum = 0;
    while (entries.next(entry)) {
        lastSize = entry.head.size() + entry.files.size();
        lastChecksum = Checksum(entry.files, Checksum(entry.head));
        const bool stays =
            built.taken >= rewrite.leavingStay.size() || rewrite.leavingStay[built.taken];
        ++built.taken;
        if (!stays) {
            ++built.removed;
            continue;
        }
        builder.add(FactsOf(entry, hasPrevious ? &previous : nullptr), entry.files);
        previous.swap(entry.files);
        hasPrevious = true;
        ++built.moved;
    }
    built.content = builder.entries() > 0 ? builder.finish() : StoreContent{};
    const AbsorbedText& before = history.absorbed;
    built.content.absorbed = before;
    built.content.absorbed.generation = before.generation + 1;
    if (built.taken > 0) {
        built.content.absorbed = {rewrite.leaveTextAt - lastSize, rewrite.leaveTextAt, lastChecksum,
                                  before.generation + 1};
    } else if (history.end.entriesBegin == 0) {
        // Nothing of the text log is in the store: readers read it whole.
        built.content.absorbed = {0, 0, 0, before.generation + 1};
    }
    return built;
}

void WriteFile(platform::FileSystem& fileSystem, const std::string& path, std::string_view bytes) {
    auto file = fileSystem.createFile(path);
    file->write(bytes);
    file->flushToDisk();
}

}  // namespace

bool SwitchInWaitingCutLog(platform::FileSystem& fileSystem, const std::string& logPath) {
    std::optional<AbsorbedText> absorbed;
    try {
        absorbed = StoreHeaderAbsorbed(fileSystem, logPath);
    } catch (const platform::RuntimeError&) {
        // A store that can't say what it took in left no cut log a writer could find: the
        // entry goes into the log as it is, and the readers report the store.
        return false;
    }
    const auto cutLog = StoppedSwitchCutLog(fileSystem, logPath, absorbed);
    if (cutLog) {
        fileSystem.replaceFile(*cutLog, logPath);
    }
    return cutLog.has_value();
}

void FinishStoppedSwitch(platform::FileSystem& fileSystem, const std::string& logPath) {
    if (StoppedSwitchCutLog(fileSystem, logPath, StoreHeaderAbsorbed(fileSystem, logPath))) {
        const auto held = HoldWritersOff(fileSystem, logPath);
        if (held->tail(1).empty()) {
            SwitchInWaitingCutLog(fileSystem, logPath);
        }
    }
}

FoundHistory::FoundHistory(platform::FileSystem& fileSystem, const std::string& path)
    : logPath(path),
      storePath(StorePathOf(path)),
      storeBytes(ReadWholeFile(fileSystem, storePath)),
      store(storeBytes ? std::optional<StoreReader>(std::in_place, storePath, *storeBytes,
                                                    ReadingThreads::One)
                       : std::nullopt),
      absorbed(store ? store->absorbed() : AbsorbedText{}),
      textPath(StoppedSwitchCutLog(fileSystem, path, store ? std::optional(absorbed) : std::nullopt)
                   .value_or(path)),
      wholeSize(WholeSize(fileSystem, textPath)),
      log(fileSystem, textPath, wholeSize) {
    if (log.size() < wholeSize) {
        throw ChangedMeanwhile();
    }
    end = FindLogEnd(log, textPath == path ? TextBegin(fileSystem, logPath, log, absorbed) : 0);
}

CompactionReport RewriteHistory(platform::FileSystem& fileSystem, FoundHistory& history,
                                const HistoryRewrite& rewrite,
                                const std::function<void(CompactionStep)>& afterStep) {
    const auto reached = [&](CompactionStep step) {
        if (afterStep) {
            afterStep(step);
        }
    };
    if (history.textPath != history.logPath) {
        throw ChangedMeanwhile();  // a switch stopped midway, after FinishStoppedSwitch
    }
    const std::uint64_t begin = history.end.entriesBegin;
    NewStore built = BuildStore(history, rewrite);
    const bool storeChanges = built.taken > 0 || built.removed > 0;
    // A cut the store before left undone is finished with this one.
    const bool cutsText = built.taken > 0 || begin > 0;
    CompactionReport report;
    report.moved = built.moved;
    report.removed = built.removed;
    report.stored = storeChanges    ? built.content.entries.size()
                    : history.store ? history.store->count()
                                    : 0;
    report.storeBytes = history.storeBytes ? history.storeBytes->size() : 0;
    if (!storeChanges && !cutsText) {
        return report;
    }
    const std::string storeTemporary = history.storePath + ".new";
    // The cut log waits under the name of the generation of the store that took its text
    // in: the new store's, or, when the store stays and a cut was left undone, the store's.
    const std::uint64_t generation =
        storeChanges ? built.content.absorbed.generation : history.absorbed.generation;
    const std::string logTemporary = PendingLogPath(history.logPath, generation);
    if (storeChanges) {
        const std::string encoded = EncodeStore(built.content);
        report.storeBytes = encoded.size();
        WriteFile(fileSystem, storeTemporary, encoded);
    }
    built.content = {};
    reached(CompactionStep::StoreWritten);
    const LogFile& log = history.log;
    const std::uint64_t cut = built.taken > 0 ? rewrite.leaveTextAt : begin;
    std::unique_ptr<platform::NewFile> text;
    if (cutsText) {
        text = fileSystem.createFile(logTemporary);
        CopyRange(log, 0, JunkEnd(log, begin, rewrite.leaveTextAt), *text);
        CopyRange(log, cut, history.wholeSize, *text);
    }
    reached(CompactionStep::TextCopied);

    const auto held = HoldWritersOff(fileSystem, history.logPath);
    const auto lockedAt = Clock::now();
    reached(CompactionStep::Locked);
    const LogFile grown(fileSystem, history.logPath, UINT64_MAX);
    const std::optional<std::string> storeNow = ReadWholeFile(fileSystem, history.storePath);
    const std::uint64_t checkedFrom = cut - std::min<std::uint64_t>(cut, 4096);
    if (grown.size() < history.wholeSize ||
        StoreHeaderOf(storeNow) != StoreHeaderOf(history.storeBytes) ||
        (storeNow ? storeNow->size() : 0) !=
            (history.storeBytes ? history.storeBytes->size() : 0) ||
        log.read(checkedFrom, cut) != grown.read(checkedFrom, cut)) {
        if (text) {
            text.reset();
            fileSystem.removeFile(logTemporary);
        }
        if (storeChanges) {
            fileSystem.removeFile(storeTemporary);
        }
        throw ChangedMeanwhile();
    }
    if (text) {
        CopyRange(grown, history.wholeSize, grown.size(), *text);
        text->flushToDisk();
        text.reset();
    }
    reached(CompactionStep::TextCompleted);
    if (storeChanges) {
        fileSystem.replaceFile(storeTemporary, history.storePath);
    }
    reached(CompactionStep::StoreSwitched);
    if (cutsText) {
        fileSystem.replaceFile(logTemporary, history.logPath);
    }
    reached(CompactionStep::TextSwitched);
    if (storeChanges && begin > 0) {
        try {
            fileSystem.removeFile(PendingLogPath(history.logPath, history.absorbed.generation));
        } catch (const RuntimeError&) {
            // Left behind, it is never read: its generation is past.
        }
    }
    report.lockHeld =
        std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - lockedAt);
    return report;
}

}  // namespace kestrava::history
