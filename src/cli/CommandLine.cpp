#include "cli/CommandLine.h"

#include <algorithm>
#include <charconv>
#include <string_view>

#include "history/PathPattern.h"
#include "platform/RuntimeError.h"

namespace kestrava::cli {
namespace {

// "-1" is an entry number, not an option.
bool IsNumber(std::string_view text) {
    if (text.starts_with('-')) {
        text.remove_prefix(1);
    }
    return !text.empty() &&
           std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

UsageMistake Mistake(std::string message) {
    return {std::move(message)};
}

struct Options {
    std::optional<std::string> logPath;
    std::vector<PatternOption> patterns;
    bool ignoreCase = false;
    bool json = false;
    bool csv = false;
    bool raw = false;
    std::optional<std::string> keepText;
    std::optional<std::string> htmlPath;
    std::vector<std::pair<std::string, std::string>> keepRules;  // option and value, in order
    bool dryRun = false;
    bool help = false;
    bool version = false;
};

std::optional<PatternOption::Source> PatternSource(std::string_view name) {
    if (name == "--include") {
        return PatternOption::Source::Include;
    }
    if (name == "--exclude") {
        return PatternOption::Source::Exclude;
    }
    if (name == "--exclude-from") {
        return PatternOption::Source::ExcludeFrom;
    }
    return std::nullopt;
}

// A pattern is read at once, so that one that can't be is named before anything is done.
std::optional<UsageMistake> PatternMistake(const std::string& pattern) {
    try {
        history::PathPattern(pattern, history::PatternRules::Platform());
    } catch (const platform::RuntimeError& error) {
        return Mistake(error.description());
    }
    return std::nullopt;
}

// "--exclude PATTERN", "--exclude=PATTERN" and the like, at the argument `at`, which
// moves on past a value of its own.
std::variant<PatternOption, UsageMistake> ReadPatternOption(
    const std::vector<std::string>& arguments, std::size_t& at, PatternOption::Source source) {
    const std::string& argument = arguments[at];
    const std::size_t equals = argument.find('=');
    const std::string name = argument.substr(0, equals);
    const bool fromFile = source == PatternOption::Source::ExcludeFrom;
    if (equals == std::string::npos && at + 1 == arguments.size()) {
        return Mistake(name + (fromFile ? " names no file" : " names no pattern"));
    }
    PatternOption option{
        source, equals == std::string::npos ? arguments[++at] : argument.substr(equals + 1)};
    if (fromFile && option.text.empty()) {
        return Mistake(name + " names no file");
    }
    if (!fromFile) {
        if (auto mistake = PatternMistake(option.text)) {
            return *mistake;
        }
    }
    return option;
}

// The options, and the operands in their order: the command and its arguments.
std::variant<Options, UsageMistake> ReadOptions(const std::vector<std::string>& arguments,
                                                std::vector<std::string>& operands) {
    Options options;
    bool optionsEnded = false;
    for (std::size_t at = 0; at < arguments.size(); ++at) {
        const std::string& argument = arguments[at];
        if (optionsEnded || !argument.starts_with('-') || argument == "-" || IsNumber(argument)) {
            operands.push_back(argument);
        } else if (argument == "--") {
            optionsEnded = true;
        } else if (argument == "--log" || argument.starts_with("--log=")) {
            if (argument == "--log" && at + 1 == arguments.size()) {
                return Mistake("--log names no file");
            }
            options.logPath = argument == "--log" ? arguments[++at] : argument.substr(6);
            if (options.logPath->empty()) {
                return Mistake("--log names no file");
            }
        } else if (const auto source = PatternSource(argument.substr(0, argument.find('=')))) {
            const auto option = ReadPatternOption(arguments, at, *source);
            if (const auto* mistake = std::get_if<UsageMistake>(&option)) {
                return *mistake;
            }
            options.patterns.push_back(std::get<PatternOption>(option));
        } else if (argument == "--ignore-case") {
            options.ignoreCase = true;
        } else if (argument == "--json") {
            options.json = true;
        } else if (argument == "--csv") {
            options.csv = true;
        } else if (argument == "--raw") {
            options.raw = true;
        } else if (argument == "--keep-text" || argument.starts_with("--keep-text=")) {
            if (argument == "--keep-text" && at + 1 == arguments.size()) {
                return Mistake("--keep-text takes a number of entries");
            }
            options.keepText = argument == "--keep-text" ? arguments[++at] : argument.substr(12);
        } else if (const std::string name = argument.substr(0, argument.find('='));
                   history::IsKeepOption(name)) {
            if (name == argument && at + 1 == arguments.size()) {
                return Mistake(name + " takes a value");
            }
            options.keepRules.emplace_back(
                name, name == argument ? arguments[++at] : argument.substr(name.size() + 1));
        } else if (argument == "--html" || argument.starts_with("--html=")) {
            if (argument == "--html" && at + 1 == arguments.size()) {
                return Mistake("--html names no file");
            }
            options.htmlPath = argument == "--html" ? arguments[++at] : argument.substr(7);
            if (options.htmlPath->empty()) {
                return Mistake("--html names no file");
            }
        } else if (argument == "--dry-run") {
            options.dryRun = true;
        } else if (argument == "--help" || argument == "-h") {
            options.help = true;
        } else if (argument == "--version") {
            options.version = true;
        } else {
            return Mistake("unknown option " + argument);
        }
    }
    return options;
}

std::variant<std::int64_t, UsageMistake> EntryNumber(const std::string& text) {
    std::int64_t number = 0;
    const char* end = text.data() + text.size();
    const auto [stop, error] = std::from_chars(text.data(), end, number);
    if (error != std::errc{} || stop != end) {
        return Mistake("not an entry number: " + text);
    }
    if (number == 0) {
        return Mistake(
            "there is no entry 0: entries count from 1 (the oldest) and from -1 "
            "(the newest)");
    }
    return number;
}

std::optional<UsageMistake> ReadEntryNumbers(const std::vector<std::string>& operands,
                                             std::size_t most, Invocation& invocation) {
    if (operands.size() - 1 > most) {
        return Mistake(operands[0] + (most == 0   ? " takes no arguments"
                                      : most == 1 ? " takes at most one entry number"
                                                  : " takes at most two entry numbers"));
    }
    for (std::size_t at = 1; at < operands.size(); ++at) {
        const auto number = EntryNumber(operands[at]);
        if (const auto* mistake = std::get_if<UsageMistake>(&number)) {
            return *mistake;
        }
        invocation.entries.push_back(std::get<std::int64_t>(number));
    }
    return std::nullopt;
}

std::variant<std::uint64_t, UsageMistake> KeepText(const std::string& text, Command command) {
    if (command != Command::Compact) {
        return Mistake("--keep-text is for compact alone");
    }
    std::uint64_t count = 0;
    const char* end = text.data() + text.size();
    const auto [stop, error] = std::from_chars(text.data(), end, count);
    if (text.empty() || error != std::errc{} || stop != end) {
        return Mistake("--keep-text takes a number of entries, not " + text);
    }
    return count;
}

// The keep rules and --dry-run, which are prune's alone; a prune without a rule is refused.
std::optional<UsageMistake> ReadKeepRules(const Options& options, Invocation& invocation) {
    if (invocation.command != Command::Prune) {
        if (!options.keepRules.empty() || options.dryRun) {
            return Mistake(
                "--keep-last, --keep-hourly, --keep-daily, --keep-weekly, --keep-monthly, "
                "--keep-yearly, --keep-within and --dry-run are for prune alone");
        }
        return std::nullopt;
    }
    for (const auto& [option, value] : options.keepRules) {
        if (auto wrong = history::SetKeepRule(invocation.keep, option, value)) {
            return Mistake(std::move(*wrong));
        }
    }
    if (!invocation.keep.hasRule()) {
        return Mistake(std::string(history::NoKeepRule));
    }
    invocation.dryRun = options.dryRun;
    return std::nullopt;
}

}  // namespace

std::variant<Invocation, UsageMistake> ReadCommandLine(const std::vector<std::string>& arguments) {
    std::vector<std::string> operands;
    const auto read = ReadOptions(arguments, operands);
    if (const auto* mistake = std::get_if<UsageMistake>(&read)) {
        return *mistake;
    }
    const Options& options = std::get<Options>(read);
    Invocation invocation;
    invocation.logPath = options.logPath;
    if (options.help || options.version) {
        invocation.command = options.help ? Command::Help : Command::Version;
        return invocation;
    }
    if (operands.empty()) {
        return Mistake("no command given");
    }
    if (int(options.json) + int(options.csv) + int(options.raw) > 1) {
        return Mistake("--json, --csv and --raw exclude each other");
    }
    invocation.format = options.json  ? Format::Json
                        : options.csv ? Format::Csv
                        : options.raw ? Format::Raw
                                      : Format::Text;
    const std::string& command = operands[0];
    std::optional<UsageMistake> mistake;
    if (command == "entries" || command == "diff") {
        invocation.command = command == "entries" ? Command::Entries : Command::Diff;
        mistake = ReadEntryNumbers(operands, command == "entries" ? 0 : 2, invocation);
    } else if (command == "show") {
        invocation.command = Command::Show;
        mistake = ReadEntryNumbers(operands, 1, invocation);
    } else if (command == "history") {
        invocation.command = Command::History;
        if (operands.size() < 2) {
            return Mistake("history takes one pattern or more");
        }
        for (std::size_t at = 1; at < operands.size() && !mistake; ++at) {
            mistake = PatternMistake(operands[at]);
            invocation.asked.push_back(operands[at]);
        }
    } else if (command == "snapshot") {
        invocation.command = Command::Snapshot;
        if (operands.size() != 2 || operands[1].empty()) {
            return Mistake("snapshot takes one folder");
        }
        invocation.folder = operands[1];
    } else if (command == "report") {
        invocation.command = Command::Report;
        if (!options.htmlPath) {
            return Mistake("report writes a page: name it with --html FILE");
        }
        invocation.htmlPath = *options.htmlPath;
        mistake = ReadEntryNumbers(operands, 2, invocation);
    } else if (command == "compact" || command == "prune") {
        invocation.command = command == "compact" ? Command::Compact : Command::Prune;
        mistake = ReadEntryNumbers(operands, 0, invocation);
    } else {
        return Mistake("unknown command " + command);
    }
    if (options.keepText) {
        const auto keep = KeepText(*options.keepText, invocation.command);
        if (const auto* wrong = std::get_if<UsageMistake>(&keep)) {
            return *wrong;
        }
        invocation.keepText = std::get<std::uint64_t>(keep);
    }
    if (!mistake) {
        mistake = ReadKeepRules(options, invocation);
    }
    if (mistake) {
        return *mistake;
    }
    if ((invocation.format == Format::Csv || invocation.format == Format::Raw) &&
        invocation.command != Command::Show) {
        return Mistake(std::string(invocation.format == Format::Csv ? "--csv" : "--raw") +
                       " is for show alone");
    }
    if (invocation.format == Format::Json &&
        (invocation.command == Command::Snapshot || invocation.command == Command::Compact ||
         invocation.command == Command::Report)) {
        return Mistake(operands[0] + " writes no output to format");
    }
    if (options.htmlPath && invocation.command != Command::Report) {
        return Mistake("--html is for report alone");
    }
    if ((!options.patterns.empty() || options.ignoreCase) &&
        (invocation.command == Command::Compact || invocation.command == Command::Prune)) {
        return Mistake(
            "--include, --exclude, --exclude-from and --ignore-case are for the commands "
            "that read and for snapshot");
    }
    invocation.patterns = options.patterns;
    invocation.ignoreCase = options.ignoreCase;
    return invocation;
}

}  // namespace kestrava::cli
