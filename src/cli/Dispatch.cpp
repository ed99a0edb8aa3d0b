#include "cli/Dispatch.h"

#include <new>

#include "cli/CommandLine.h"
#include "cli/CompactCommand.h"
#include "cli/Console.h"
#include "cli/DiffCommand.h"
#include "cli/EntriesCommand.h"
#include "cli/HelpText.h"
#include "cli/HistoryCommand.h"
#include "cli/PatternOptions.h"
#include "cli/PruneCommand.h"
#include "cli/ReportCommand.h"
#include "cli/ShowCommand.h"
#include "cli/SnapshotCommand.h"
#include "core/HistoryLogPath.h"
#include "platform/RuntimeError.h"

namespace kestrava::cli {
namespace {

constexpr int Failed = 2;

std::string WindowsLogPath(platform::Environment& environment) {
    try {
        return core::HistoryLogPath(environment);
    } catch (const platform::RuntimeError& error) {
        throw platform::RuntimeError(error.number(), "the window's history log can't be found (" +
                                                         error.description() +
                                                         "); name one with --log");
    }
}

int ReadLog(const Invocation& invocation, const std::string& logPath, Seams seams,
            Console& console) {
    // Pattern files are read before the log, so that one that can't be is named first.
    const history::PathFilter filter = MakePathFilter(invocation, seams.fileSystem);
    HistoryLog log(seams.fileSystem, logPath, console);
    switch (invocation.command) {
        case Command::Entries:
            return ListEntries(log, invocation.format, filter, console);
        case Command::Diff:
            return DiffEntries(log, invocation.entries, invocation.format, filter, console);
        case Command::History:
            return ShowHistory(log, invocation.asked, invocation.format, filter, console);
        case Command::Report:
            return WriteReport(log, invocation.entries, invocation.htmlPath, filter,
                               seams.fileSystem, console);
        default:
            return ShowEntry(log, invocation.entries, invocation.format, filter, console);
    }
}

int Run(const Invocation& invocation, Seams seams, Console& console) {
    switch (invocation.command) {
        case Command::Help:
            console.out() << HelpText;
            return 0;
        case Command::Version:
            console.out() << VersionText;
            return 0;
        default:
            break;
    }
    const std::string logPath =
        invocation.logPath ? *invocation.logPath : WindowsLogPath(seams.environment);
    if (invocation.command == Command::Compact) {
        return CompactLog(seams.fileSystem, logPath, invocation.keepText, console);
    }
    if (invocation.command == Command::Prune) {
        return PruneLog(seams.fileSystem, seams.clock, logPath, invocation, console);
    }
    if (invocation.command == Command::Snapshot) {
        return TakeSnapshot(invocation.folder, logPath,
                            MakePathFilter(invocation, seams.fileSystem),
                            {seams.fileSystem, seams.clock, seams.locale}, console);
    }
    return ReadLog(invocation, logPath, seams, console);
}

}  // namespace

int Dispatch(const std::vector<std::string>& arguments, Seams seams, std::ostream& out,
             std::ostream& err) {
    Console console(out, err, seams.locale);
    const auto read = ReadCommandLine(arguments);
    if (const auto* mistake = std::get_if<UsageMistake>(&read)) {
        console.complain(console.shown(mistake->message) + " (see " + std::string(CommandName) +
                         " --help)");
        return Failed;
    }
    int status = Failed;
    try {
        status = Run(std::get<Invocation>(read), seams, console);
    } catch (const platform::RuntimeError& error) {
        console.complain(error.description());
        return Failed;
    } catch (const std::bad_alloc&) {
        console.complain("not enough memory for the entries compared");
        return Failed;
    }
    if (!out.flush()) {
        console.complain("the output could not be written");
        return Failed;
    }
    return status;
}

}  // namespace kestrava::cli
