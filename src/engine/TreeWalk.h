#pragma once

#include <atomic>
#include <condition_variable>
#include <cstddef>
#include <deque>
#include <mutex>
#include <optional>
#include <semaphore>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

#include "engine/ListFiles.h"
#include "engine/WalkFilter.h"
#include "platform/EventPump.h"
#include "platform/FileSystem.h"
#include "platform/RuntimeError.h"

namespace kestrava::engine {

// One folder of the walk with the files that ListFiles(folder, "*.*") would give, or
// the failure that kept it from being listed whole (it stays in the walk, without
// files).
struct WalkedFolder {
    std::string path;  // as the walk found it: the top folder as given, the others
                       // ending in a separator
    FileList files;
    std::optional<platform::RuntimeError> failure;
};

// How far a walk's helpers may read ahead of its caller: folders read and not yet
// taken, and the memory their file lists hold. The folder the caller waits for is
// always read, however large.
struct WalkReadAhead {
    std::size_t folders = 1024;
    std::size_t bytes = 16u << 20;
};

// A walk over a folder and every folder below it, breadth-first: the top folder, then
// its sub-folders in the file system's order, then theirs, level by level, each level
// grouped by parent in the order of the level above.
//
// Helper threads read folders ahead of the caller, one folder at a time each: they
// list its entries with what the file system tells of them (on Windows, opening each
// file to see that it can be opened), keep its openable files and find its
// sub-folders. The caller takes the folders strictly in the walk's order with next().
// What is read ahead and not yet taken is bounded, in folders and in the memory their
// file lists hold, so a slow taker never makes the walk hold a whole tree.
//
// Left out, with everything below them: system folders (attributes exactly 22 or
// 1046), "." and "..", folders whose paths reach the platform's limit, and, where the
// platform says so (platform::WalksLinkedFolders), folders behind links, which could
// lead out of the tree or round in a loop; and what the filter, when there is one,
// leaves out. A folder that denies listing (70) or has
// vanished (76) is left out without a word; sub-folders it gave before it failed are
// still walked. A name's characters never matter.
//
// The threads touch nothing but the file system and the walk's own state; destroying
// the walk stops them, a folder being read ending at its next few entries.
class TreeWalk {
public:
    static constexpr std::size_t MaxThreads = 8;

    // Starts the walk at the top folder, which the caller found fit to walk; without
    // one the walk is over at once. The filter must outlive the walk.
    TreeWalk(const platform::FileSystem& fileSystem, std::optional<std::string> top,
             WalkReadAhead readAhead = {}, const WalkFilter* filter = nullptr);
    ~TreeWalk();
    TreeWalk(const TreeWalk&) = delete;
    TreeWalk& operator=(const TreeWalk&) = delete;

    // The next folder in the walk's order; nothing once the walk is over. While the
    // helpers are still reading it, events run, so the window stays responsive.
    std::optional<WalkedFolder> next(platform::EventPump& events);

    // Whether the walk goes into a folder with these attributes: into any but a system
    // folder (attributes exactly 22 or 1046), unless it is the root of a file system.
    static bool GoesInto(std::string_view path, unsigned attributes);

    static std::size_t HelperCount();

private:
    // A folder found and not yet sequenced: waiting for a helper, or read.
    struct Slot {
        explicit Slot(std::string folderPath) : path(std::move(folderPath)) {}

        std::string path;
        bool read = false;
        bool removed = false;  // listing denied or the folder vanished
        WalkedFolder folder;
        std::vector<std::string> subFolders;
    };

    void helpOut();
    bool mayReadNext() const;
    void sequenceReadFolders();
    void handOver(WalkedFolder folder);
    std::size_t waitingToBeTaken() const {
        return readyEnd_.load(std::memory_order_relaxed) -
               readyTaken_.load(std::memory_order_acquire);
    }
    Slot& slot(std::size_t index) { return slots_[index - sequenced_]; }
    std::size_t found() const { return sequenced_ + slots_.size(); }

    const platform::FileSystem& fileSystem_;
    const WalkReadAhead readAhead_;
    const WalkFilter* const filter_;
    std::size_t topLength_ = 0;  // where the paths that the filter is asked about begin

    // The helpers' side, under mutex_. Folders by their place in the walk: those before
    // sequenced_ have given their sub-folders to the walk and gone to the caller (or
    // were left out); nextToRead_ is the first that no helper has taken.
    std::mutex mutex_;
    std::condition_variable workToDo_;
    std::deque<Slot> slots_;
    std::size_t sequenced_ = 0;
    std::size_t nextToRead_ = 0;
    std::size_t reading_ = 0;  // folders that helpers are reading now
    std::atomic<std::size_t> bytesAhead_ = 0;
    std::atomic<bool> stopping_ = false;

    // The caller's side takes no lock: a helper that holds the walk's lock at the lowest
    // priority may wait long for a processor, and the window's thread must never wait
    // with it. The sequencing helper (one at a time, under mutex_) puts folders into the
    // ring and counts readyEnd_ up; the caller takes them and counts readyTaken_ up.
    std::vector<std::optional<WalkedFolder>> ready_;
    std::atomic<std::size_t> readyEnd_ = 0;
    std::atomic<std::size_t> readyTaken_ = 0;
    std::atomic<bool> over_ = false;           // every folder found has gone to the ring
    std::atomic<bool> callerWaiting_ = false;  // the caller sleeps until folders are ready
    std::counting_semaphore<> folderReady_{0};
    std::vector<std::thread> helpers_;
};

}  // namespace kestrava::engine
