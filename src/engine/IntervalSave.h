#pragma once

#include <stop_token>
#include <string>

#include "core/ErrorReport.h"
#include "engine/ConvertSize.h"
#include "engine/GeneralDateText.h"
#include "engine/HistoryLog.h"
#include "engine/SnapshotRows.h"
#include "engine/WalkFilter.h"
#include "platform/Clock.h"
#include "platform/Dialogs.h"
#include "platform/EventPump.h"
#include "platform/FileSystem.h"
#include "platform/Locale.h"

namespace kestrava::engine {

// What snapshots work with: the seams, and the locale's texts prepared once. The
// snapshot list writes its sizes and dates with them too, so that the list and the
// history log read alike.
struct SnapshotTools : FileRowTexts {
    SnapshotTools(platform::FileSystem& fileSystem, platform::EventPump& events,
                  const platform::Clock& clock, const platform::Locale& locale,
                  platform::Dialogs& dialogs)
        : fileSystem(fileSystem),
          events(events),
          clock(clock),
          locale(locale),
          errorReport(dialogs),
          dates(locale.dateTimeNames(), clock),
          decimalSeparator(locale.decimalSeparator()) {}

    std::string sizeText(std::uint64_t bytes) override {
        return ConvertSize(static_cast<double>(bytes), decimalSeparator, errorReport);
    }
    std::string dateText(std::int64_t utcSeconds) override { return dates.text(utcSeconds); }

    platform::FileSystem& fileSystem;
    platform::EventPump& events;
    const platform::Clock& clock;
    const platform::Locale& locale;
    core::ErrorReport errorReport;
    GeneralDateText dates;
    std::string decimalSeparator;
    WaitingCutLogSwitch switchInWaitingCutLog;  // none: the log is written as found
};

// What became of a snapshot's entry in the history log, for a caller that reports it
// without a window.
enum class SnapshotOutcome {
    NotTaken,    // no folder there (or none named): nothing was shown or written
    NotWritten,  // the snapshot was taken, but none of its entry reached the log
    Written,     // its entry, or its beginning, reached the log
};

// Takes one snapshot of the folder and everything below it: a date-and-time row, a
// row per file and a separator row in the snapshot list, and one entry in the history
// log ("[" date-time "]", "File|Size|Date Modified", then "path|size|date" per file,
// CR LF after each line). Files whose names begin with "~" are left out. A folder
// text without a final separator gets one; a missing folder (or an empty text) gives
// nothing at all, and a folder whose presence can't be told gives one error report.
// Failures are reported under LogFilesNow's tag and the snapshot goes on. When the
// history is started over while the snapshot runs ("Clear History Log"), the snapshot
// ends at once and writes nothing more, neither rows nor lines. The filter, when given,
// leaves out more of the tree (the window gives none).
SnapshotOutcome LogFilesNow(const std::string& folderText, const std::string& historyLogPath,
                            SnapshotRows& rows, SnapshotTools& tools,
                            std::stop_token startOver = {}, const WalkFilter* filter = nullptr);

}  // namespace kestrava::engine
