#include "engine/TreeWalk.h"

#include <algorithm>
#include <chrono>

#include "core/PathText.h"
#include "platform/PathRules.h"
#include "platform/ThreadPriority.h"

namespace kestrava::engine {
namespace {

using platform::RuntimeError;

// How often a helper reading a large folder looks whether the walk is being stopped.
constexpr std::size_t EntriesBetweenStopChecks = 64;

// How long the caller waits for the folder it needs before it lets events run again.
constexpr std::chrono::milliseconds WaitBetweenPumps{2};

// The caller takes folders faster than the helpers read them, so it would wait, and be
// woken, for nearly every folder; it is woken once this many are ready instead, or
// once no helper reads any more.
constexpr std::size_t FoldersPerWakeUp = 16;

constexpr unsigned HiddenSystemFolder =
    platform::attribute::Directory | platform::attribute::System | platform::attribute::Hidden;
constexpr unsigned HiddenSystemJunction = HiddenSystemFolder | platform::attribute::ReparsePoint;

bool IsLinkedFolder(const platform::EntryInfo& info) {
    return (info.attributes & platform::attribute::ReparsePoint) != 0;
}

// What a folder's sub-folder entry adds to the walk: its path, or nothing where the
// filters leave it out.
std::optional<std::string> SubFolderPath(const std::string& parent, std::string_view name,
                                         const platform::EntryInfo& info) {
    if ((IsLinkedFolder(info) && !platform::WalksLinkedFolders) || name == "." || name == "..") {
        return std::nullopt;
    }
    std::string path = parent;
    path += name;
    path += core::PathSeparator;
    if (platform::PathLength(path) >= platform::PathLengthLimit ||
        !TreeWalk::GoesInto(path, info.attributes)) {
        return std::nullopt;
    }
    return path;
}

// What the walk's filter is asked about: the paths below the top folder.
class FilterQuestions {
public:
    FilterQuestions(const WalkFilter* filter, std::size_t topLength, const std::string& folder)
        : filter_(filter),
          below_(filter ? folder.substr(std::min(topLength, folder.size())) : "") {}

    bool goesInto(std::string_view name) { return !filter_ || filter_->goesInto(path(name)); }
    bool keepsFile(std::string_view name) { return !filter_ || filter_->keepsFile(path(name)); }

private:
    std::string_view path(std::string_view name) {
        path_.assign(below_).append(name);
        return path_;
    }

    const WalkFilter* filter_;
    const std::string below_;  // the folder's path below the top, with its separator
    std::string path_;
};

// One pass over a folder, on a helper thread: its openable files and its sub-folders.
// A failure part-way keeps the sub-folders found before it and none of the files.
void ReadFolder(const platform::FileSystem& fileSystem, const std::atomic<bool>& stopping,
                FilterQuestions filter, WalkedFolder& folder,
                std::vector<std::string>& subFolders) {
    const std::string parent = core::WithTrailingSeparator(folder.path);
    try {
        const auto listing = fileSystem.listFolder(folder.path);
        platform::FolderEntry entry;
        for (std::size_t count = 1; listing->next(entry); ++count) {
            if (count % EntriesBetweenStopChecks == 0 && stopping.load(std::memory_order_relaxed)) {
                return;
            }
            if (entry.info.kind != platform::EntryKind::Folder) {
                if (IsOpenableFile(entry.info) && filter.keepsFile(entry.name)) {
                    folder.files.add(entry.name, entry.info);
                }
            } else if (auto path = SubFolderPath(parent, entry.name, entry.info)) {
                if (filter.goesInto(entry.name)) {
                    subFolders.push_back(std::move(*path));
                }
            }
        }
    } catch (const RuntimeError& error) {
        folder.failure = error;
        folder.files.clear();
    }
}

bool DropsSilently(const RuntimeError& error) {
    return error.number() == platform::error_number::PermissionDenied ||
           error.number() == platform::error_number::PathNotFound;
}

}  // namespace

// Exact values, not bits: a folder that is only hidden or only system passes.
bool TreeWalk::GoesInto(std::string_view path, unsigned attributes) {
    return platform::IsRootPath(path) ||
           (attributes != HiddenSystemFolder && attributes != HiddenSystemJunction);
}

std::size_t TreeWalk::HelperCount() {
    return std::clamp<std::size_t>(std::thread::hardware_concurrency(), 2, MaxThreads);
}

TreeWalk::TreeWalk(const platform::FileSystem& fileSystem, std::optional<std::string> top,
                   WalkReadAhead readAhead, const WalkFilter* filter)
    // The helpers stop where the ring is full, but for the one folder the caller waits
    // for when it is empty.
    : fileSystem_(fileSystem),
      readAhead_(readAhead),
      filter_(filter),
      ready_(readAhead.folders + 1) {
    if (!top) {
        over_ = true;
        return;
    }
    topLength_ = core::WithTrailingSeparator(*top).size();
    slots_.emplace_back(std::move(*top));
    const std::size_t helpers = HelperCount();
    helpers_.reserve(helpers);
    for (std::size_t helper = 0; helper < helpers; ++helper) {
        helpers_.emplace_back([this] { helpOut(); });
    }
}

TreeWalk::~TreeWalk() {
    {
        const std::lock_guard lock(mutex_);
        stopping_ = true;
    }
    workToDo_.notify_all();
    for (std::thread& helper : helpers_) {
        helper.join();
    }
}

std::optional<WalkedFolder> TreeWalk::next(platform::EventPump& events) {
    for (;;) {
        const std::size_t taken = readyTaken_.load(std::memory_order_relaxed);
        if (taken < readyEnd_.load(std::memory_order_acquire)) {
            std::optional<WalkedFolder>& slot = ready_[taken % ready_.size()];
            WalkedFolder folder = std::move(*slot);
            slot.reset();
            readyTaken_.store(taken + 1, std::memory_order_release);
            bytesAhead_ -= folder.files.memory();
            workToDo_.notify_all();  // room ahead again
            return folder;
        }
        if (over_.load(std::memory_order_acquire) &&
            taken == readyEnd_.load(std::memory_order_acquire)) {
            return std::nullopt;
        }
        // Says that it waits, then looks once more: a folder handed over in between
        // finds the flag, or is found here.
        callerWaiting_.store(true);
        if (taken == readyEnd_.load() && !over_.load()) {
            [[maybe_unused]] const bool woken = folderReady_.try_acquire_for(WaitBetweenPumps);
        }
        callerWaiting_.store(false);
        events.pumpEvents();
    }
}

// A helper reads the first folder that no other has taken, as long as the walk may
// read that far ahead; the folder the caller waits for may always be read.
bool TreeWalk::mayReadNext() const {
    if (nextToRead_ >= found()) {
        return false;
    }
    const std::size_t waiting = waitingToBeTaken();
    if (nextToRead_ == sequenced_ && waiting == 0) {
        return true;
    }
    return nextToRead_ - sequenced_ + waiting < readAhead_.folders &&
           bytesAhead_.load() < readAhead_.bytes;
}

void TreeWalk::helpOut() {
    platform::LowerThisThreadsPriority();
    std::unique_lock lock(mutex_);
    while (!stopping_) {
        if (!mayReadNext()) {
            // The caller makes room without the lock, so a wake-up may come just before
            // this wait; the wait then ends by itself.
            workToDo_.wait_for(lock, std::chrono::milliseconds(10));
            continue;
        }
        const std::size_t index = nextToRead_++;
        WalkedFolder folder{slot(index).path, {}, std::nullopt};
        std::vector<std::string> subFolders;
        ++reading_;
        lock.unlock();
        ReadFolder(fileSystem_, stopping_, {filter_, topLength_, folder.path}, folder, subFolders);
        lock.lock();
        --reading_;
        Slot& read = slot(index);
        read.removed = folder.failure && DropsSilently(*folder.failure);
        bytesAhead_ += folder.files.memory();
        read.folder = std::move(folder);
        read.subFolders = std::move(subFolders);
        read.read = true;
        sequenceReadFolders();
    }
}

// The folders read so far give their sub-folders to the walk and themselves to the
// caller, in the walk's order, so that each level lists its folders grouped by parent
// in the order of the level above.
void TreeWalk::sequenceReadFolders() {
    bool sequenced = false;
    while (!slots_.empty() && slots_.front().read) {
        Slot parent = std::move(slots_.front());
        slots_.pop_front();
        ++sequenced_;
        for (std::string& path : parent.subFolders) {
            slots_.emplace_back(std::move(path));
        }
        if (parent.removed) {
            bytesAhead_ -= parent.folder.files.memory();
        } else {
            handOver(std::move(parent.folder));
        }
        sequenced = true;
    }
    if (!sequenced) {
        return;
    }
    if (slots_.empty() && reading_ == 0) {
        over_.store(true, std::memory_order_release);
    }
    if ((waitingToBeTaken() >= FoldersPerWakeUp || reading_ == 0 || over_) &&
        callerWaiting_.exchange(false)) {
        folderReady_.release();
    }
    workToDo_.notify_all();
}

void TreeWalk::handOver(WalkedFolder folder) {
    const std::size_t end = readyEnd_.load(std::memory_order_relaxed);
    ready_[end % ready_.size()] = std::move(folder);
    readyEnd_.store(end + 1);  // before the caller is told, as it looks after it says it waits
}

}  // namespace kestrava::engine
