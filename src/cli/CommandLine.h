#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <variant>
#include <vector>

#include "history/KeepRules.h"

namespace kestrava::cli {

enum class Command {
    Entries,
    Diff,
    Show,
    History,
    Snapshot,
    Compact,
    Prune,
    Report,
    Help,
    Version
};

enum class Format { Text, Json, Csv, Raw };

// A pattern option, kept in the order given: the last pattern that matches decides.
struct PatternOption {
    enum class Source { Include, Exclude, ExcludeFrom };
    Source source;
    std::string text;  // the pattern, or the file of patterns
};

// What the command line asks for.
struct Invocation {
    Command command = Command::Help;
    std::optional<std::string> logPath;  // the window's log unless given
    Format format = Format::Text;
    std::vector<std::int64_t> entries;    // diff, report: FROM and TO; show: N
    std::string folder;                   // snapshot
    std::vector<std::string> asked;       // history: the patterns of the paths asked about
    std::string htmlPath;                 // report
    std::vector<PatternOption> patterns;  // snapshot and the commands that read
    bool ignoreCase = false;              // in patterns, wherever names keep it
    std::uint64_t keepText = 1;           // compact: the entries left in the text log
    history::KeepPolicy keep;             // prune
    bool dryRun = false;                  // prune: nothing changed
};

// What is wrong with a command line, in a few words.
struct UsageMistake {
    std::string message;
};

// Reads the arguments, without the program's name:
//   [--log FILE] entries [--json] | diff [FROM [TO]] [--json]
//   | show [N] [--csv | --json | --raw] | history PATTERN... [--json]
//   | snapshot FOLDER [--exclude PATTERN | --include PATTERN | --exclude-from FILE]...
//     [--ignore-case] | compact [--keep-text N]
//   | prune [--keep-last N | --keep-hourly N | ... | --keep-within DURATION]... [--dry-run]
//     [--json] | report [FROM [TO]] --html FILE [PATTERN OPTIONS] | --help | --version
// The pattern options filter every command that reads as they filter snapshot.
// Options may come before or after the command; "--" ends them. An entry number is a
// whole number other than 0, negative ones counting from the newest.
std::variant<Invocation, UsageMistake> ReadCommandLine(const std::vector<std::string>& arguments);

}  // namespace kestrava::cli
