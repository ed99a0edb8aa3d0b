#include "history/Compaction.h"

#include <optional>
#include <thread>

#include "engine/HistoryLog.h"
#include "history/EntryComparison.h"
#include "history/EntryScans.h"
#include "history/EntryStream.h"
#include "history/FileLine.h"
#include "history/LogEnd.h"
#include "history/LogFile.h"
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

// Where the text log's entries lie, and which of them go into the store.
struct TextPlan {
    std::uint64_t begin = 0;    // past what the store took in already
    std::uint64_t junkEnd = 0;  // the bytes before the log's first entry, which stay
    std::uint64_t moveEnd = 0;  // the entries in [begin, moveEnd) move
};

TextPlan PlanText(const platform::FileSystem& fileSystem, const std::string& logPath,
                  const LogFile& log, const AbsorbedText& absorbed, std::uint64_t keepText) {
    TextPlan plan;
    plan.begin = TextBegin(fileSystem, logPath, log, absorbed);
    const LogEnd end = FindLogEnd(log, plan.begin);
    plan.moveEnd = end.entriesEnd;
    BackwardEntries newest(log, end.entriesEnd, plan.begin);
    for (std::uint64_t kept = 0; kept < keepText; ++kept) {
        const auto entry = newest.next();
        if (!entry) {
            plan.moveEnd = plan.begin;
            break;
        }
        plan.moveEnd = entry->start;
    }
    EntryStream first(log, log.size(), 0);
    StreamedEntry entry;
    plan.junkEnd = first.next(entry) ? std::min(first.firstEntryStart(),
                                                plan.begin == 0 ? plan.moveEnd : plan.begin)
                                     : 0;
    return plan;
}

StoredEntryFacts FactsOf(const StreamedEntry& entry, const std::string* previous) {
    StoredEntryFacts facts{entry.head, entry.lines, CountUnreadableLines(entry.files), {}};
    if (previous != nullptr) {
        const EntryChanges changes = CompareEntries(*previous, entry.files);
        facts.changes =
            ChangeCounts{changes.added.size(), changes.removed.size(), changes.modified.size()};
    }
    return facts;
}

struct Moved {
    std::uint64_t count = 0;
    StoreContent content;
};

// Streams the entries that move into the builder, each compared with the one before.
Moved MoveEntries(const LogFile& log, const TextPlan& plan, std::optional<StoreReader>& store) {
    StoreContent content = store ? store->content() : StoreContent{};
    std::string previous;
    bool hasPrevious = false;
    if (store && store->count() > 0) {
        previous = store->files(store->count() - 1, static_cast<std::int64_t>(store->count()));
        hasPrevious = true;
    }
    StoreBuilder builder(std::move(content));
    EntryStream entries(log, plan.moveEnd, plan.begin);
    StreamedEntry entry;
    Moved moved;
    std::uint32_t lastChecksum = 0;
    while (entries.next(entry)) {
        builder.add(FactsOf(entry, hasPrevious ? &previous : nullptr), entry.files);
        lastChecksum = Checksum(entry.files, Checksum(entry.head));
        previous.swap(entry.files);
        hasPrevious = true;
        ++moved.count;
    }
    moved.content = builder.entries() > 0 ? builder.finish() : StoreContent{};
    if (moved.count > 0) {
        const std::uint64_t lastSize = moved.content.entries.back().head.size() + previous.size();
        const std::uint64_t generation = store ? store->absorbed().generation + 1 : 1;
        moved.content.absorbed = {plan.moveEnd - lastSize, plan.moveEnd, lastChecksum, generation};
    }
    return moved;
}

void WriteFile(platform::FileSystem& fileSystem, const std::string& path, std::string_view bytes) {
    auto file = fileSystem.createFile(path);
    file->write(bytes);
    file->flushToDisk();
}

RuntimeError ChangedMeanwhile() {
    return RuntimeError(error_number::PathFileAccessError,
                        "the history changed while it was compacted (it was cleared, or "
                        "another program compacted it); nothing was moved");
}

}  // namespace

CompactionReport CompactHistory(platform::FileSystem& fileSystem, const std::string& logPath,
                                std::uint64_t keepText,
                                const std::function<void(CompactionStep)>& afterStep) {
    const auto reached = [&](CompactionStep step) {
        if (afterStep) {
            afterStep(step);
        }
    };
    const std::string storePath = StorePathOf(logPath);
    const std::uint64_t wholeSize = WholeSize(fileSystem, logPath);
    const std::optional<std::string> storeBefore = ReadWholeFile(fileSystem, storePath);
    std::optional<StoreReader> store;
    if (storeBefore) {
        store.emplace(storePath, *storeBefore);
    }
    const LogFile log(fileSystem, logPath, wholeSize);
    if (log.size() < wholeSize) {
        throw ChangedMeanwhile();
    }
    const AbsorbedText before = store ? store->absorbed() : AbsorbedText{};
    const TextPlan plan = PlanText(fileSystem, logPath, log, before, keepText);
    Moved moved = MoveEntries(log, plan, store);
    CompactionReport report;
    report.moved = moved.count;
    report.stored = moved.count > 0 ? moved.content.entries.size() : store ? store->count() : 0;
    if (moved.count == 0 && plan.begin == 0) {
        report.storeBytes = storeBefore ? storeBefore->size() : 0;
        return report;
    }
    const std::string storeTemporary = storePath + ".new";
    // The cut log waits under the name of the generation of the store that took its text
    // in: the new store's, or, when nothing moves and a cut was left undone, the store's.
    const std::string logTemporary = PendingLogPath(
        logPath, moved.count > 0 ? moved.content.absorbed.generation : before.generation);
    if (moved.count > 0) {
        const std::string encoded = EncodeStore(moved.content);
        report.storeBytes = encoded.size();
        WriteFile(fileSystem, storeTemporary, encoded);
    } else {
        report.storeBytes = storeBefore->size();
    }
    moved.content = {};
    reached(CompactionStep::StoreWritten);
    auto text = fileSystem.createFile(logTemporary);
    CopyRange(log, 0, plan.junkEnd, *text);
    const std::uint64_t cut = moved.count > 0 ? plan.moveEnd : plan.begin;
    CopyRange(log, cut, wholeSize, *text);
    reached(CompactionStep::TextCopied);

    const auto held = HoldWritersOff(fileSystem, logPath);
    const auto lockedAt = Clock::now();
    reached(CompactionStep::Locked);
    const LogFile grown(fileSystem, logPath, UINT64_MAX);
    const std::optional<std::string> storeNow = ReadWholeFile(fileSystem, storePath);
    if (grown.size() < wholeSize || StoreHeaderOf(storeNow) != StoreHeaderOf(storeBefore) ||
        (storeNow ? storeNow->size() : 0) != (storeBefore ? storeBefore->size() : 0) ||
        log.read(cut - std::min<std::uint64_t>(cut, 4096), cut) !=
            grown.read(cut - std::min<std::uint64_t>(cut, 4096), cut)) {
        text.reset();
        fileSystem.removeFile(logTemporary);
        if (moved.count > 0) {
            fileSystem.removeFile(storeTemporary);
        }
        throw ChangedMeanwhile();
    }
    CopyRange(grown, wholeSize, grown.size(), *text);
    text->flushToDisk();
    text.reset();
    reached(CompactionStep::TextCompleted);
    if (moved.count > 0) {
        fileSystem.replaceFile(storeTemporary, storePath);
    }
    reached(CompactionStep::StoreSwitched);
    fileSystem.replaceFile(logTemporary, logPath);
    reached(CompactionStep::TextSwitched);
    // A cut the store before left undone is done with this one.
    if (moved.count > 0 && plan.begin > 0) {
        try {
            fileSystem.removeFile(PendingLogPath(logPath, before.generation));
        } catch (const RuntimeError&) {
            // Left behind, it is never read: its generation is past.
        }
    }
    report.lockHeld =
        std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - lockedAt);
    return report;
}

}  // namespace kestrava::history
