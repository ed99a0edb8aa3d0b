#include <algorithm>

#include "unit/engine/win32/WindowsEngineFixture.h"

namespace kestrava::testing {
namespace {

using Folders = engine::FolderList;

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

}  // namespace
}  // namespace kestrava::testing
