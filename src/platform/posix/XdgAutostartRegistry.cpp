#include "platform/posix/XdgAutostartRegistry.h"

#include <fcntl.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <optional>
#include <string_view>
#include <utility>

#include "platform/OsErrors.h"
#include "platform/RuntimeError.h"

namespace kestrava::platform {
namespace {

bool IsAbsolute(std::string_view path) {
    return !path.empty() && path.front() == '/';
}

// The first absolute folder of a colon-separated list; relative ones are invalid there.
std::optional<std::string> FirstAbsoluteFolder(const std::string& list) {
    std::size_t start = 0;
    while (start <= list.size()) {
        const std::size_t end = std::min(list.find(':', start), list.size());
        const std::string folder = list.substr(start, end - start);
        if (IsAbsolute(folder)) {
            return folder;
        }
        start = end + 1;
    }
    return std::nullopt;
}

// A value of type string: backslash and control characters are written as escapes.
std::string EscapedValue(std::string_view value) {
    std::string escaped;
    for (const char c : value) {
        switch (c) {
            case '\\':
                escaped += "\\\\";
                break;
            case '\n':
                escaped += "\\n";
                break;
            case '\t':
                escaped += "\\t";
                break;
            case '\r':
                escaped += "\\r";
                break;
            default:
                escaped += c;
        }
    }
    return escaped;
}

// The program's path as the one argument of an Exec key: quoted when it holds a
// reserved character, with ", `, $ and \ escaped inside the quotes, and % doubled
// so that it isn't taken for a field code.
std::string ExecArgument(std::string_view path) {
    constexpr std::string_view Reserved = " \t\n\"'\\><~|&;$*?#()`";
    std::string argument;
    const bool quoted = path.find_first_of(Reserved) != std::string_view::npos;
    if (quoted) {
        argument += '"';
    }
    for (const char c : path) {
        if (quoted && (c == '"' || c == '`' || c == '$' || c == '\\')) {
            argument += '\\';
        } else if (c == '%') {
            argument += '%';
        }
        argument += c;
    }
    if (quoted) {
        argument += '"';
    }
    return argument;
}

std::string EntryFileName(const std::string& name) {
    return name + ".desktop";
}

// Creates each missing folder on the way to, and including, the folder.
void MakeFolders(const std::string& folder) {
    std::size_t end = 0;
    while (end != std::string::npos) {
        end = folder.find('/', end + 1);
        const std::string part = folder.substr(0, end);
        if (::mkdir(part.c_str(), 0755) != 0 && errno != EEXIST) {
            throw RuntimeErrorFromOs(errno);
        }
    }
}

// A file in the target's folder that becomes the target when committed, and is
// removed when it isn't.
class ReplacementFile {
public:
    explicit ReplacementFile(const std::string& target)
        : target_(target), path_(TemporaryPathFor(target)) {
        descriptor_ = ::mkostemp(path_.data(), O_CLOEXEC);
        if (descriptor_ < 0) {
            throw RuntimeErrorFromOs(errno);
        }
    }

    ~ReplacementFile() {
        if (descriptor_ >= 0) {
            ::close(descriptor_);
        }
        if (!committed_) {
            ::unlink(path_.c_str());
        }
    }

    ReplacementFile(const ReplacementFile&) = delete;
    ReplacementFile& operator=(const ReplacementFile&) = delete;

    void write(std::string_view content) {
        while (!content.empty()) {
            const ssize_t written = ::write(descriptor_, content.data(), content.size());
            if (written < 0) {
                if (errno == EINTR) {
                    continue;
                }
                throw RuntimeErrorFromOs(errno);
            }
            content.remove_prefix(static_cast<std::size_t>(written));
        }
    }

    // Readable by everyone, as the session of any user must read it.
    void commit() {
        if (::fchmod(descriptor_, 0644) != 0 || ::fsync(descriptor_) != 0) {
            throw RuntimeErrorFromOs(errno);
        }
        const int descriptor = std::exchange(descriptor_, -1);
        if (::close(descriptor) != 0 || ::rename(path_.c_str(), target_.c_str()) != 0) {
            throw RuntimeErrorFromOs(errno);
        }
        committed_ = true;
    }

private:
    static std::string TemporaryPathFor(const std::string& target) {
        const std::size_t slash = target.rfind('/');
        return target.substr(0, slash + 1) + "." + target.substr(slash + 1) + ".XXXXXX";
    }

    std::string target_;
    std::string path_;
    int descriptor_ = -1;
    bool committed_ = false;
};

}  // namespace

XdgAutostartRegistry::XdgAutostartRegistry(const Environment& environment, std::string displayName,
                                           std::string iconName)
    : environment_(environment),
      displayName_(std::move(displayName)),
      iconName_(std::move(iconName)) {}

std::string XdgAutostartRegistry::autostartFolder(StartupScope scope) const {
    std::optional<std::string> base;
    if (scope == StartupScope::AllUsers) {
        if (const auto folders = environment_.variable("XDG_CONFIG_DIRS")) {
            base = FirstAbsoluteFolder(*folders);
        }
        if (!base) {
            base = "/etc/xdg";
        }
    } else {
        base = environment_.variable("XDG_CONFIG_HOME");
        if (!base || !IsAbsolute(*base)) {
            const auto home = environment_.variable("HOME");
            if (!home || !IsAbsolute(*home)) {
                throw RuntimeError(error_number::PathNotFound);
            }
            base = *home + "/.config";
        }
    }
    while (base->size() > 1 && base->back() == '/') {
        base->pop_back();
    }
    return (*base == "/" ? "" : *base) + "/autostart";
}

std::string XdgAutostartRegistry::entryText(const std::string& programPath) const {
    return "[Desktop Entry]\n"
           "Type=Application\n"
           "Name=" +
           EscapedValue(displayName_) + "\nExec=" + EscapedValue(ExecArgument(programPath)) +
           "\nIcon=" + EscapedValue(iconName_) + "\nTerminal=false\n";
}

void XdgAutostartRegistry::setEntry(StartupScope scope, const std::string& name,
                                    const std::string& programPath) {
    const std::string folder = autostartFolder(scope);
    MakeFolders(folder);
    ReplacementFile entry(folder + "/" + EntryFileName(name));
    entry.write(entryText(programPath));
    entry.commit();
}

void XdgAutostartRegistry::deleteEntry(StartupScope scope, const std::string& name) {
    std::string folder;
    try {
        folder = autostartFolder(scope);
    } catch (const RuntimeError&) {
        return;  // no folder can be named, so no entry can be there
    }
    const std::string path = folder + "/" + EntryFileName(name);
    if (::unlink(path.c_str()) == 0 || errno == ENOENT || errno == ENOTDIR) {
        return;
    }
    // A read-only or foreign folder refuses even the deletion of an entry it doesn't
    // hold; only an entry that is really there and stays is a failure.
    const int refusal = errno;
    struct stat entry {};
    if (::lstat(path.c_str(), &entry) != 0 && (errno == ENOENT || errno == ENOTDIR)) {
        return;
    }
    throw RuntimeErrorFromOs(refusal);
}

}  // namespace kestrava::platform
