#include "cli/LoggedEntry.h"

#include "history/FileLine.h"
#include "platform/RuntimeError.h"

namespace kestrava::cli {
namespace {

using platform::RuntimeError;
namespace error_number = platform::error_number;

history::LogFile OpenLog(const platform::FileSystem& fileSystem, const std::string& path,
                         const Console& console) {
    try {
        return history::LogFile(fileSystem, path);
    } catch (const RuntimeError& error) {
        const std::string shown = console.shown(path);
        if (error.number() == error_number::PathNotFound ||
            error.number() == error_number::FileNotFound) {
            throw RuntimeError(error.number(), "no history log at " + shown);
        }
        throw RuntimeError(error.number(),
                           "can't read the history log " + shown + ": " + error.description());
    }
}

std::string Entries(std::uint64_t count) {
    return std::to_string(count) + (count == 1 ? " whole entry" : " whole entries");
}

}  // namespace

HistoryLog::HistoryLog(const platform::FileSystem& fileSystem, const std::string& path,
                       Console& console)
    : file(OpenLog(fileSystem, path, console)), end(history::FindLogEnd(file)) {
    if (file.size() == 0) {
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

LoggedEntry ReadEntry(const history::LogFile& log, history::EntryIndex& index, std::int64_t number,
                      const Console& console) {
    auto span = index.entry(number);
    if (!span) {
        const std::uint64_t count = index.count();
        if (count == 0) {
            throw NoWholeEntry(log, console);
        }
        throw RuntimeError(
            error_number::SubscriptOutOfRange,
            "there is no entry " + std::to_string(number) + ": the log holds " + Entries(count));
    }
    LoggedEntry entry{number, std::move(*span), {}};
    log.read(entry.span.filesStart, entry.span.end, entry.files);
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
