#include "history/FileTimeline.h"

namespace kestrava::history {

void Timelines::record(std::uint64_t entry, std::string_view date, std::string_view path,
                       const FileFacts* listed) {
    const auto present = present_.find(path);
    if (present == present_.end()) {
        if (listed) {
            timelines_[std::string(path)].push_back(
                {entry, std::string(date), FileEventKind::Appeared, {}, *listed});
            present_.emplace(path, *listed);
        }
        return;
    }
    if (!listed) {
        timelines_.find(path)->second.push_back(
            {entry, std::string(date), FileEventKind::Vanished, present->second, {}});
        present_.erase(present);
        return;
    }
    if (present->second != *listed) {
        timelines_.find(path)->second.push_back(
            {entry, std::string(date), FileEventKind::Changed, present->second, *listed});
        present->second = *listed;
    }
}

void Timelines::recordEntry(std::uint64_t entry, std::string_view date, const ListedFiles& listed) {
    std::vector<std::string> gone;
    for (const auto& [path, facts] : present_) {
        if (!listed.contains(path)) {
            gone.push_back(path);
        }
    }
    for (const std::string& path : gone) {
        record(entry, date, path, nullptr);
    }
    for (const auto& [path, facts] : listed) {
        record(entry, date, path, &facts);
    }
}

}  // namespace kestrava::history
