#include <algorithm>
#include <atomic>
#include <memory>

#include "unit/engine/win32/WindowsEngineFixture.h"

namespace kestrava::testing {
namespace {

using Folders = std::vector<std::string>;

Folders Sorted(Folders folders) {
    std::sort(folders.begin(), folders.end());
    return folders;
}

using WalkOnWindows = WindowsEngineFixture;

// Exact values: 22 is a folder of the system's (a recycle bin, volume information),
// left out with everything below it; a folder that is only hidden or only system is
// walked like any other.
TEST_F(WalkOnWindows, LeavesOutHiddenSystemFoldersWithEverythingBelowThem) {
    makeFolder("Recycled", FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM);
    makeFolder("Recycled\\Inner");
    makeFolder("Private\\Inner");
    makeFolder("Private", FILE_ATTRIBUTE_HIDDEN);
    makeFolder("Shared", FILE_ATTRIBUTE_SYSTEM);
    makeFolder("Plain\\Recycled", FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM);
    makeFolder("Plain\\Recycled\\Deep");

    const Folders folders = walk(folder());

    EXPECT_EQ(folders.front(), folder());
    EXPECT_EQ(Sorted(folders), Sorted({folder(), folder("Private"), folder("Private\\Inner"),
                                       folder("Shared"), folder("Plain")}));
    EXPECT_TRUE(dialogs.shown.empty());
}

// Every name is walked, whatever its characters: typographic ones that code page 1252
// holds from 128 to 159 (’ – … € ™ œ), and ones it can't hold at all (Cyrillic,
// Japanese, an emoji), which the log writes as "?".
TEST_F(WalkOnWindows, WalksEverySubFolderWhateverItsName) {
    const std::vector<std::string> names{"Caf\xc3\xa9",
                                         "Bob\xe2\x80\x99s Files",
                                         "Q1 \xe2\x80\x93 Reports",
                                         "Notes\xe2\x80\xa6",
                                         "Budget \xe2\x82\xac",
                                         "Brand\xe2\x84\xa2",
                                         "C\xc5\x93ur",
                                         "\xd0\x9f\xd1\x80\xd0\xb8\xd0\xb2\xd0\xb5\xd1\x82",
                                         "\xe5\x86\x99\xe7\x9c\x9f",
                                         "\xf0\x9f\x93\xb7"};
    Folders expected{folder()};
    for (const std::string& name : names) {
        makeFolder(name + "\\inner");
        expected.push_back(folder(name));
        expected.push_back(folder(name + "\\inner"));
    }
    EXPECT_EQ(Sorted(walk(folder())), Sorted(expected));
    EXPECT_TRUE(dialogs.shown.empty());
}

// MAX_PATH: a folder whose path, with its backslash, has 260 characters or more is
// neither walked nor kept in the list.
TEST_F(WalkOnWindows, StopsAtPathsOf260Characters) {
    const std::size_t room = 259 - folder().size() - 1;  // for a name ending at 259
    const std::string fits(room, 'a');
    const std::string tooLong(room + 1, 'b');
    // Made through the long-path prefix: the plain calls would refuse them too.
    const std::filesystem::path prefixed(L"\\\\?\\" + tree.path().wstring());
    std::filesystem::create_directories(prefixed / tooLong / "inner");
    std::filesystem::create_directories(prefixed / fits / "x");

    const Folders folders = walk(folder());

    EXPECT_EQ(folder(fits).size(), 259u);
    EXPECT_EQ(Sorted(folders), Sorted({folder(), folder(fits)}));
    EXPECT_TRUE(dialogs.shown.empty());
}

// The walk as one thread would take it, written afresh over the system's calls: a
// queue of folders, each listed in the file system's order; folders of the system's
// (exactly 22 or 1046) left out.
Folders SerialWalk(const std::string& top) {
    Folders walked;
    std::vector<std::wstring> queue{PathOfUtf8(top).wstring()};
    for (std::size_t next = 0; next < queue.size(); ++next) {
        WIN32_FIND_DATAW entry{};
        const HANDLE search = ::FindFirstFileW((queue[next] + L"*").c_str(), &entry);
        if (search == INVALID_HANDLE_VALUE) {
            continue;
        }
        walked.push_back(Utf8(queue[next]));
        do {
            const std::wstring name = entry.cFileName;
            const DWORD attributes =
                entry.dwFileAttributes &
                (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM |
                 FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_REPARSE_POINT |
                 FILE_ATTRIBUTE_COMPRESSED);
            if ((attributes & FILE_ATTRIBUTE_DIRECTORY) != 0 && name != L"." && name != L".." &&
                attributes != 22 && attributes != 1046) {
                queue.push_back(queue[next] + name + L"\\");
            }
        } while (::FindNextFileW(search, &entry));
        ::FindClose(search);
    }
    return walked;
}

// Levels deep and wide, hidden, system and empty folders: the helpers read several
// folders at once, and the folders still come in the order one thread finds them.
TEST_F(WalkOnWindows, FollowsTheSerialOrder) {
    std::string deep;
    for (int level = 0; level < 12; ++level) {
        deep += "level " + std::to_string(level) + "\\";
        makeFolder(deep);
    }
    for (int wide = 0; wide < 150; ++wide) {
        makeFolder("wide\\folder " + std::to_string(wide));
    }
    makeFolder("wide\\Recycled", FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM);
    makeFolder("wide\\Recycled\\inner");
    makeFolder("wide\\Private", FILE_ATTRIBUTE_HIDDEN);

    const Folders folders = walk(folder());

    EXPECT_EQ(folders, SerialWalk(folder()));
    EXPECT_EQ(folders.size(), 1u + 12u + 1u + 150u + 1u);
}

// Each file of a listing is opened to see that it can be; on a real disk an open costs
// tens of microseconds or more, so the helpers' opens of different folders must run at
// the same time.
TEST_F(WalkOnWindows, TheHelpersOpenFilesAtTheSameTime) {
    class CountingFileSystem : public platform::Win32FileSystem {
    public:
        std::unique_ptr<platform::FolderListing> listFolder(
            const std::string& path) const override {
            class Counting : public platform::FolderListing {
            public:
                Counting(std::unique_ptr<platform::FolderListing> listing,
                         const CountingFileSystem& owner)
                    : listing_(std::move(listing)), owner_(owner) {}
                bool next(platform::FolderEntry& entry) override {
                    const int atOnce = ++owner_.opening;
                    owner_.mostAtOnce = std::max(owner_.mostAtOnce.load(), atOnce);
                    const bool more = listing_->next(entry);
                    --owner_.opening;
                    return more;
                }

            private:
                std::unique_ptr<platform::FolderListing> listing_;
                const CountingFileSystem& owner_;
            };
            return std::make_unique<Counting>(Win32FileSystem::listFolder(path), *this);
        }
        mutable std::atomic<int> opening = 0;
        mutable std::atomic<int> mostAtOnce = 0;
    };
    for (int folder = 0; folder < 20; ++folder) {
        for (int file = 0; file < 100; ++file) {
            makeFile("folder " + std::to_string(folder) + "\\file " + std::to_string(file));
        }
    }
    CountingFileSystem counting;

    engine::TreeWalk walk(counting, folder());
    std::size_t files = 0;
    while (auto walked = walk.next(events)) {
        files += walked->files.size();
    }

    EXPECT_EQ(files, 2000u);
    EXPECT_GE(counting.mostAtOnce, 2);
}

}  // namespace
}  // namespace kestrava::testing
