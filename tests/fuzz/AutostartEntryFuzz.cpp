// The Linux autostart entry, as a desktop session reads it. The program only writes the
// entry, but from what others control: the path it was started from and the
// environment's folders. The input is split at its first three line feeds into HOME,
// XDG_CONFIG_HOME and XDG_CONFIG_DIRS, and the rest is the program's path. Beyond not
// crashing, what must hold: each scope's folder is an absolute "autostart" folder or
// refused with a RuntimeError, and the entry, read by the desktop entry rules (its
// value escapes, then the Exec key's quoting), has its keys alone and starts exactly
// the program's path as one argument.
// The time per input and the memory are bounded by the fuzzing command (scripts/fuzz.sh).

#include <algorithm>
#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "FuzzInput.h"
#include "fakes/FakeEnvironment.h"
#include "platform/RuntimeError.h"
#include "platform/posix/XdgAutostartRegistry.h"

namespace kestrava::fuzz {
namespace {

std::string_view TakeLine(std::string_view& input) {
    const std::size_t end = std::min(input.find('\n'), input.size());
    const std::string_view line = input.substr(0, end);
    input.remove_prefix(std::min(end + 1, input.size()));
    return line;
}

// A value of type string with its escapes undone; nothing for an escape that is none.
std::optional<std::string> UnescapedValue(std::string_view value) {
    std::string text;
    for (std::size_t at = 0; at < value.size(); ++at) {
        if (value[at] != '\\') {
            text += value[at];
            continue;
        }
        if (++at == value.size()) {
            return std::nullopt;
        }
        static const std::map<char, char> Escapes{
            {'s', ' '}, {'n', '\n'}, {'t', '\t'}, {'r', '\r'}, {'\\', '\\'}};
        const auto escape = Escapes.find(value[at]);
        if (escape == Escapes.end()) {
            return std::nullopt;
        }
        text += escape->second;
    }
    return text;
}

// The Exec key's arguments: quoted ones with ", `, $ and \ escaped inside, "%%" a "%".
std::optional<std::vector<std::string>> ExecArguments(std::string_view exec) {
    std::vector<std::string> arguments;
    std::size_t at = 0;
    while (at < exec.size()) {
        if (exec[at] == ' ') {
            ++at;
            continue;
        }
        std::string argument;
        const bool quoted = exec[at] == '"';
        at += quoted ? 1 : 0;
        bool closed = !quoted;
        for (; at < exec.size() && (quoted || exec[at] != ' '); ++at) {
            const char c = exec[at];
            if (quoted && c == '"') {
                closed = true;
                ++at;
                break;
            }
            if (quoted && c == '\\' && at + 1 < exec.size()) {
                argument += exec[++at];
            } else if (c == '%') {
                if (at + 1 == exec.size() || exec[at + 1] != '%') {
                    return std::nullopt;  // a field code, which no entry of ours holds
                }
                argument += exec[++at];
            } else {
                argument += c;
            }
        }
        if (!closed) {
            return std::nullopt;
        }
        arguments.push_back(argument);
    }
    return arguments;
}

std::map<std::string, std::string> EntryKeys(const std::string& text) {
    std::map<std::string, std::string> keys;
    std::string_view rest = text;
    Require(TakeLine(rest) == "[Desktop Entry]", "the entry begins with its group");
    while (!rest.empty()) {
        const std::string_view line = TakeLine(rest);
        const std::size_t equals = line.find('=');
        Require(equals != std::string_view::npos, "each line of the entry is a key");
        const auto value = UnescapedValue(line.substr(equals + 1));
        Require(value.has_value(), "each value's escapes are desktop entry escapes");
        Require(keys.emplace(std::string(line.substr(0, equals)), *value).second,
                "no key is given twice");
    }
    return keys;
}

void CheckFolder(const platform::XdgAutostartRegistry& registry, platform::StartupScope scope) {
    try {
        const std::string folder = registry.autostartFolder(scope);
        Require(folder.starts_with('/') && folder.ends_with("/autostart"),
                "the autostart folder is absolute");
    } catch (const platform::RuntimeError&) {
        Require(scope == platform::StartupScope::CurrentUser,
                "the folder for all users can always be named");
    }
}

void CheckEntry(std::string_view input) {
    fakes::FakeEnvironment environment;
    environment.variables["HOME"] = TakeLine(input);
    environment.variables["XDG_CONFIG_HOME"] = TakeLine(input);
    environment.variables["XDG_CONFIG_DIRS"] = TakeLine(input);
    // A path holds no NUL.
    std::string program = "/";
    std::copy_if(input.begin(), input.end(), std::back_inserter(program),
                 [](char c) { return c != '\0'; });

    const platform::XdgAutostartRegistry registry(environment, "Kestrava", "kestrava");
    CheckFolder(registry, platform::StartupScope::AllUsers);
    CheckFolder(registry, platform::StartupScope::CurrentUser);

    const auto keys = EntryKeys(registry.entryText(program));
    const auto value = [&](const std::string& key) {
        const auto found = keys.find(key);
        return found == keys.end() ? std::string("\x01 absent") : found->second;
    };
    Require(keys.size() == 5 && value("Type") == "Application" && value("Name") == "Kestrava" &&
                value("Icon") == "kestrava" && value("Terminal") == "false",
            "the entry holds its keys alone");
    const auto arguments = ExecArguments(value("Exec"));
    Require(arguments && arguments->size() == 1 && arguments->front() == program,
            "the entry starts the program's path as one argument");
}

}  // namespace
}  // namespace kestrava::fuzz

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    kestrava::fuzz::CheckEntry(kestrava::fuzz::Bytes(data, size));
    return 0;
}
