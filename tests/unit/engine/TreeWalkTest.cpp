#include "engine/TreeWalk.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <deque>
#include <filesystem>
#include <functional>
#include <map>
#include <mutex>
#include <set>
#include <thread>

#include "fakes/FakeEventPump.h"
#include "platform/posix/PosixFileSystem.h"
#include "support/TemporaryFolder.h"
#include "support/ThreadCount.h"

namespace kestrava::testing {
namespace {

namespace fs = std::filesystem;
using platform::RuntimeError;

// A folder as a walk hands it over: its path and its files' names, or its failure.
struct Walked {
    std::string path;
    std::vector<std::string> files;
    int failure = 0;

    bool operator==(const Walked&) const = default;
};

std::ostream& operator<<(std::ostream& out, const Walked& folder) {
    out << folder.path << " (" << folder.files.size() << " files";
    return folder.failure ? out << ", failure " << folder.failure << ")" : out << ")";
}

// The walk as one thread would take it, written afresh with the standard library:
// a queue of folders, each listed in the file system's order; links to folders, and
// folders that can't be listed, left out.
std::vector<Walked> SerialWalk(const std::string& top) {
    std::vector<Walked> walked;
    std::deque<std::string> queue{top};
    while (!queue.empty()) {
        const std::string path = queue.front();
        queue.pop_front();
        std::error_code error;
        fs::directory_iterator entries(path, error);
        if (error) {
            continue;
        }
        Walked folder{path, {}};
        for (const fs::directory_entry& entry : entries) {
            const std::string name = entry.path().filename().string();
            if (entry.is_directory() && !entry.is_symlink()) {
                queue.push_back(path + name + "/");
            } else if (entry.is_regular_file()) {
                folder.files.push_back(name);
            }
        }
        walked.push_back(folder);
    }
    return walked;
}

// The real file system, with listings that can be made to fail or to change the tree
// just before they start; counts how many listings ran and how many at once.
class ScriptedFileSystem : public platform::PosixFileSystem {
public:
    std::unique_ptr<platform::FolderListing> listFolder(const std::string& path) const override {
        std::function<void()> before;
        {
            const std::lock_guard lock(mutex_);
            ++listings;
            if (const auto found = beforeListing.find(path); found != beforeListing.end()) {
                before = found->second;
            }
        }
        const int atOnce = ++listingNow_;
        maxListingsAtOnce = std::max(maxListingsAtOnce.load(), atOnce);
        struct Leaving {
            std::atomic<int>& now;
            ~Leaving() { --now; }
        } leaving{listingNow_};
        if (before) {
            before();
        }
        // Long enough for another helper to start a listing meanwhile.
        std::this_thread::sleep_for(std::chrono::microseconds(pauseMicroseconds));
        return PosixFileSystem::listFolder(path);
    }

    std::map<std::string, std::function<void()>> beforeListing;  // set before the walk
    int pauseMicroseconds = 0;
    mutable std::atomic<int> listings = 0;
    mutable std::atomic<int> maxListingsAtOnce = 0;

private:
    mutable std::mutex mutex_;
    mutable std::atomic<int> listingNow_ = 0;
};

class TreeWalkTest : public ::testing::Test {
protected:
    std::string top() const { return tree.string() + "/"; }

    void makeFiles(const std::string& folder, int count) const {
        fs::create_directories(tree.path() / folder);
        for (int file = 0; file < count; ++file) {
            tree.writeFile(folder + "/file " + std::to_string(file));
        }
    }

    std::vector<Walked> walk(engine::WalkReadAhead readAhead = {},
                             const std::function<void()>& afterEachFolder = {}) {
        std::vector<Walked> walked;
        engine::TreeWalk treeWalk(fileSystem, top(), readAhead, filter);
        while (auto folder = treeWalk.next(events)) {
            Walked taken{folder->path, {}, folder->failure ? folder->failure->number() : 0};
            for (std::size_t index = 0; index < folder->files.size(); ++index) {
                taken.files.emplace_back(folder->files[index].name);
            }
            walked.push_back(taken);
            ++folders;
            if (afterEachFolder) {
                afterEachFolder();
            }
        }
        return walked;
    }

    TemporaryFolder tree;
    ScriptedFileSystem fileSystem;
    fakes::FakeEventPump events;
    std::atomic<int> folders = 0;  // handed over so far
    const engine::WalkFilter* filter = nullptr;
};

// Leaves out folders named "skip" and files ending in ".tmp"; notes what it was asked,
// from whichever helper asked.
class SkippingFilter : public engine::WalkFilter {
public:
    bool goesInto(std::string_view folder) const override {
        note(folder);
        return !folder.ends_with("skip");
    }
    bool keepsFile(std::string_view file) const override {
        note(file);
        return !file.ends_with(".tmp");
    }

    std::set<std::string> asked() const {
        const std::lock_guard lock(mutex_);
        return asked_;
    }

private:
    void note(std::string_view path) const {
        const std::lock_guard lock(mutex_);
        asked_.emplace(path);
    }

    mutable std::mutex mutex_;
    mutable std::set<std::string> asked_;
};

// Deep, wide, empty, linked, looping and oddly named: the helpers read on several
// threads at once, and the folders still come in the order a single thread finds them.
TEST_F(TreeWalkTest, FollowsTheSerialOrderOnAnyTree) {
    std::string deep;
    for (int level = 0; level < 40; ++level) {
        deep += "level " + std::to_string(level) + "/";
        makeFiles(deep, level % 3);
    }
    for (int folder = 0; folder < 600; ++folder) {
        makeFiles("wide/folder " + std::to_string(folder), folder % 4);  // some empty
    }
    makeFiles("wide/folder 7/inner", 2);
    for (const char* name : {"bad\xff", "control\x01", "question?", "line\r\nbreak"}) {
        makeFiles(name, 1);
    }
    fs::create_directory_symlink("..", tree.path() / "wide" / "up");  // a loop
    fs::create_directory_symlink("/", tree.path() / "root");          // out of the tree
    fs::create_symlink(tree.path() / "wide" / "folder 1" / "file 0", tree.path() / "link.txt");
    fileSystem.pauseMicroseconds = 200;

    const auto walked = walk();

    EXPECT_EQ(walked, SerialWalk(top()));
    EXPECT_EQ(walked.size(), 1u + 40u + 1u + 600u + 1u + 4u);
    EXPECT_GT(fileSystem.maxListingsAtOnce, 1) << "the helpers never read at the same time";
}

// A caller slower than the helpers: they stop at the bound, in folders and in memory,
// and go on as the caller takes folders, until the whole tree has been walked.
TEST_F(TreeWalkTest, ReadsNoFurtherAheadThanItsBound) {
    for (int folder = 0; folder < 60; ++folder) {
        makeFiles("folder " + std::to_string(folder), 3);
    }
    int furthestAhead = 0;
    const auto slowly = [&] {
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
        furthestAhead = std::max(furthestAhead, fileSystem.listings - folders);
    };

    EXPECT_EQ(walk({.folders = 4, .bytes = 1u << 20}, slowly), SerialWalk(top()));
    EXPECT_LE(furthestAhead, 4 + 1);  // a listing may start as the caller takes one
    EXPECT_GE(furthestAhead, 2) << "the helpers never read ahead";

    fileSystem.listings = 0;
    folders = 0;
    furthestAhead = 0;
    EXPECT_EQ(walk({.folders = 1000, .bytes = 1}, slowly), SerialWalk(top()));
    EXPECT_LE(furthestAhead, 2 + 1) << "the memory bound held nothing back";
}

// A folder that vanishes just before it is listed, or denies listing, is left out
// without a word; its siblings and the rest of the walk are not; a folder made just
// before its parent is listed is walked.
TEST_F(TreeWalkTest, FoldersVanishingDenyingAndAppearingMidWalk) {
    makeFiles("A", 1);
    makeFiles("B/inside", 1);
    makeFiles("C", 1);
    makeFiles("D", 2);
    fileSystem.beforeListing[top() + "A/"] = [&] { makeFiles("A/New", 2); };
    fileSystem.beforeListing[top() + "B/"] = [&] { fs::remove_all(tree.path() / "B"); };
    fileSystem.beforeListing[top() + "C/"] = [] { throw RuntimeError(70); };

    const auto walked = walk();

    std::vector<std::string> paths;
    for (const Walked& folder : walked) {
        paths.push_back(folder.path);
        EXPECT_EQ(folder.failure, 0) << folder;
    }
    std::sort(paths.begin() + 1, paths.end());
    EXPECT_EQ(paths,
              (std::vector<std::string>{top(), top() + "A/", top() + "A/New/", top() + "D/"}));
    EXPECT_EQ(walked.back().path, top() + "A/New/") << "a level deeper, so last";
    EXPECT_EQ(walked.back().files.size(), 2u);
}

// Any other failure keeps the folder in the walk, without files, for the caller to
// report.
TEST_F(TreeWalkTest, AFolderThatFailsOtherwiseStaysWithItsFailure) {
    makeFiles("Broken/below", 1);
    fileSystem.beforeListing[top() + "Broken/"] = [] { throw RuntimeError(71); };

    const auto walked = walk();

    ASSERT_EQ(walked.size(), 2u);
    EXPECT_EQ(walked[1], (Walked{top() + "Broken/", {}, 71}));
}

// Stopped in the middle of a walk (the snapshot ended, or the program is closing), the
// walk leaves no helper behind.
TEST_F(TreeWalkTest, LeavesNoThreadBehindWhenStoppedMidWalk) {
    for (int folder = 0; folder < 200; ++folder) {
        makeFiles("folder " + std::to_string(folder), 2);
    }
    std::thread([] {}).join();  // a sanitizer's own thread comes with the first one
    const std::size_t threadsBefore = ThreadCount();
    {
        engine::TreeWalk treeWalk(fileSystem, top());
        ASSERT_TRUE(treeWalk.next(events));
        ASSERT_TRUE(treeWalk.next(events));
        EXPECT_EQ(ThreadCount(), threadsBefore + engine::TreeWalk::HelperCount());
    }
    EXPECT_EQ(ThreadCount(), threadsBefore);
}

// Without a top folder (one the filters left out) there is nothing to walk, and no
// helper is started.
TEST_F(TreeWalkTest, AFilterAsksBelowTheTopAndLeavesFoldersUnread) {
    tree.writeFile("a.tmp");
    tree.writeFile("b.txt");
    tree.writeFile("keep/c.tmp");
    tree.writeFile("keep/skip/d.txt");
    tree.writeFile("skip/e.txt");
    makeFiles("skip/deeper", 3);
    const SkippingFilter skipping;
    filter = &skipping;

    const std::vector<Walked> walked = walk();

    EXPECT_EQ(walked, (std::vector<Walked>{{top(), {"b.txt"}}, {top() + "keep/", {}}}));
    EXPECT_EQ(fileSystem.listings, 2);
    EXPECT_EQ(skipping.asked(),
              (std::set<std::string>{"a.tmp", "b.txt", "keep", "keep/c.tmp", "keep/skip", "skip"}));
}

TEST_F(TreeWalkTest, WithoutATopFolderIsOverAtOnce) {
    const std::size_t threadsBefore = ThreadCount();
    engine::TreeWalk treeWalk(fileSystem, std::nullopt);
    EXPECT_EQ(ThreadCount(), threadsBefore);
    EXPECT_FALSE(treeWalk.next(events));
}

}  // namespace
}  // namespace kestrava::testing
