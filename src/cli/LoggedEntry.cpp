#include "cli/LoggedEntry.h"

#include "history/FileLine.h"
#include "history/StoreContent.h"
#include "history/StoredHistory.h"
#include "platform/RuntimeError.h"

namespace kestrava::cli {
namespace {

using platform::RuntimeError;
namespace error_number = platform::error_number;

bool NotThere(const RuntimeError& error) {
    return error.number() == error_number::PathNotFound ||
           error.number() == error_number::FileNotFound;
}

history::LogFile OpenLog(const platform::FileSystem& fileSystem, const std::string& path,
                         const Console& console) {
    try {
        return history::LogFile(fileSystem, path);
    } catch (const RuntimeError& error) {
        const std::string shown = console.shown(path);
        if (NotThere(error)) {
            throw RuntimeError(error.number(), "no history log at " + shown);
        }
        throw RuntimeError(error.number(),
                           "can't read the history log " + shown + ": " + error.description());
    }
}

// The log, or the cut log waiting for its place after a switch that was stopped midway:
// it holds the text the log then holds.
history::LogFile OpenTextLog(const platform::FileSystem& fileSystem, const std::string& path,
                             const Console& console) {
    try {
        if (history::LogFile log(fileSystem, path); log.size() > 0) {
            return log;
        }
    } catch (const RuntimeError& error) {
        if (!NotThere(error)) {
            return OpenLog(fileSystem, path, console);
        }
    }
    const auto cutLog = history::StoppedSwitchCutLog(
        fileSystem, path, history::StoreHeaderAbsorbed(fileSystem, path));
    if (cutLog) {
        try {
            return history::LogFile(fileSystem, *cutLog);
        } catch (const RuntimeError& error) {
            if (!NotThere(error)) {
                throw;
            }
            // The switch ended meanwhile: the log holds it now.
        }
    }
    return OpenLog(fileSystem, path, console);
}

std::string Entries(std::uint64_t count) {
    return std::to_string(count) + (count == 1 ? " whole entry" : " whole entries");
}

}  // namespace

HistoryLog::HistoryLog(const platform::FileSystem& fileSystem, const std::string& path,
                       Console& console)
    : file(OpenTextLog(fileSystem, path, console)),
      store(history::OpenStore(fileSystem, path)),
      end(history::FindLogEnd(file,
                              store && file.path() == path
                                  ? history::TextBegin(fileSystem, path, file, store->absorbed())
                                  : 0)) {
    if (file.size() == 0 && stored() == 0) {
        throw RuntimeError(error_number::FileNotFound,
                           "the history log " + console.shown(path) + " is empty");
    }
    if (end.torn) {
        const std::string which = end.torn->date.empty()
                                      ? "the newest entry"
                                      : "the newest entry [" + end.torn->date + "]";
        console.complain(which + " is torn: the log ends in the middle of it; it is left out");
    }
}

RuntimeError NoWholeEntry(const history::LogFile& log, const Console& console) {
    return RuntimeError(error_number::FileNotFound,
                        "the history log " + console.shown(log.path()) + " holds no whole entry");
}

LoggedEntry ReadEntry(HistoryLog& log, history::EntryIndex& index, std::int64_t number,
                      const Console& console, StoredLines stored) {
    const auto storedCount = static_cast<std::int64_t>(log.stored());
    std::optional<std::int64_t> storedAt;  // from 0
    std::optional<history::EntrySpan> span;
    if (number > 0 && number <= storedCount) {
        storedAt = number - 1;
    } else if (number > 0) {
        span = index.entry(number - storedCount);
    } else if (span = index.entry(number); !span) {
        const std::int64_t position =
            storedCount + static_cast<std::int64_t>(index.count()) + number;
        if (position >= 0) {
            storedAt = position;
        }
    }
    if (storedAt) {
        const auto at = static_cast<std::size_t>(*storedAt);
        const history::StoredEntryFacts& facts = log.store->facts(at, number);
        LoggedEntry entry{number, facts.head, {}, {}, {}};
        entry.date = history::DateOfHead(entry.head);
        entry.allNameFiles = facts.unreadableLines == 0;
        if (stored == StoredLines::Streamed) {
            entry.storedAt = at;
        } else {
            entry.files = log.store->files(at, number);
        }
        return entry;
    }
    if (!span) {
        const std::uint64_t count = static_cast<std::uint64_t>(storedCount) + index.count();
        if (count == 0) {
            throw NoWholeEntry(log.file, console);
        }
        throw RuntimeError(
            error_number::SubscriptOutOfRange,
            "there is no entry " + std::to_string(number) + ": the log holds " + Entries(count));
    }
    LoggedEntry entry{number, log.file.read(span->start, span->filesStart), span->date, {}, {}};
    log.file.read(span->filesStart, span->end, entry.files);
    return entry;
}

std::uint64_t CountFiles(std::int64_t number, std::uint64_t lines, std::uint64_t unreadableLines,
                         Console& console) {
    if (unreadableLines > 0) {
        console.complain("entry " + std::to_string(number) + " holds " +
                         std::to_string(unreadableLines) +
                         (unreadableLines == 1 ? " line that names" : " lines that name") +
                         " no file (not path|size|date); left out");
    }
    return lines - unreadableLines;
}

}  // namespace kestrava::cli
