#include "engine/ListFiles.h"

#include "core/PathText.h"
#include "engine/Pumping.h"
#include "platform/RuntimeError.h"

namespace kestrava::engine {

void FileList::add(std::string_view name, const platform::EntryInfo& info) {
    records_.push_back(
        {names_.size(), info.size, info.modifiedSeconds, static_cast<std::uint32_t>(name.size())});
    names_ += name;
}

bool IsOpenableFile(const platform::EntryInfo& entry) {
    return entry.kind == platform::EntryKind::File;
}

bool IsOpenableFile(const platform::FileSystem& fileSystem, const std::string& path) {
    try {
        return IsOpenableFile(fileSystem.pathInfo(path));
    } catch (const platform::RuntimeError&) {
        return false;
    }
}

bool MatchesPattern(std::string_view name, std::string_view pattern) {
    if (pattern == "*.*") {
        return true;
    }
    // Greedy matching that goes back to the last "*" when a later part fails.
    std::size_t at = 0;
    std::size_t from = 0;
    std::size_t star = std::string_view::npos;
    std::size_t starFrom = 0;
    while (at < name.size()) {
        if (from < pattern.size() && (pattern[from] == '?' || pattern[from] == name[at])) {
            ++at;
            ++from;
        } else if (from < pattern.size() && pattern[from] == '*') {
            star = from++;
            starFrom = at;
        } else if (star != std::string_view::npos) {
            from = star + 1;
            at = ++starFrom;
        } else {
            return false;
        }
    }
    while (from < pattern.size() && pattern[from] == '*') {
        ++from;
    }
    return from == pattern.size();
}

FileList ListFiles(const platform::FileSystem& fileSystem, platform::EventPump& events,
                   const std::string& folderPath, std::string_view pattern) {
    const auto listing = fileSystem.listFolder(core::WithTrailingSeparator(folderPath));
    FileList files;
    platform::FolderEntry entry;
    for (std::size_t count = 1; listing->next(entry); ++count) {
        if (count % EntriesBetweenPumps == 0) {
            events.pumpEvents();
        }
        if (IsOpenableFile(entry.info) && MatchesPattern(entry.name, pattern)) {
            files.add(entry.name, entry.info);
        }
    }
    return files;
}

}  // namespace kestrava::engine
