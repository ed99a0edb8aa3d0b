#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <string_view>

#include "cli/Console.h"
#include "cli/LoggedEntry.h"
#include "history/EntryComparison.h"
#include "history/PathFilter.h"
#include "history/StoreContent.h"
#include "platform/Locale.h"

namespace kestrava::cli {

// The entries a report shows, as its page reads them: the range's first entry whole, and
// each later one by what changed against the one before, so that a day of entries of a
// large tree stays small. Lines of text, each ended by a line feed:
//
//   KESTRAVA REPORT 1
//   E|number|files|bytes|added|removed|modified|gone|came|date    for each entry, then
//     `gone` file lines: the listings it no longer holds (removed files, modified ones
//     as they were), then `came` file lines: those it holds anew (added files, modified
//     ones as they are; all its files for the first entry, whose three counts are empty
//     when it is the history's first)
//   S|bytes|size text                                              for each size text
//
// File lines are the log's own, path|size|date. Counts are those `entries` gives; bytes
// are the sizes' texts read back and summed, so they are about right, not exact.
class ReportData {
public:
    ReportData();

    // The range's first entry, its file lines each ended by a line feed, and what changed
    // against the entry before it, when there is one.
    void addFirst(std::uint64_t number, std::string_view date, std::string_view files,
                  const std::optional<history::ChangeCounts>& changes);

    // The next entry, by what changed against the entry added before it.
    void addNext(std::uint64_t number, std::string_view date, const history::EntryChanges& changes);

    // The data as UTF-8, the log's texts taken from the system's encoding; bytes that
    // still form no character become U+FFFD, as in JSON output.
    std::string finish(const platform::Locale& locale);

private:
    void addHeader(std::uint64_t number, std::string_view date, const std::string& counts,
                   std::size_t gone, std::size_t came);
    void addLine(const history::FileLine& file);
    double bytesOf(std::string_view sizeText);

    std::string text_;
    std::uint64_t files_ = 0;
    double bytes_ = 0;
    std::map<std::string, double, std::less<>> sizes_;
};

// The data of the entries first to last (numbered from 1, the history's oldest), of
// the files the filter keeps. Stored entries are read from the store's line versions,
// where what changed from one entry to the next is at hand; the text log's are compared
// one with the next, as `entries` compares them.
std::string CollectReportData(HistoryLog& log, std::uint64_t first, std::uint64_t last,
                              const history::PathFilter& filter, const platform::Locale& locale);

}  // namespace kestrava::cli
