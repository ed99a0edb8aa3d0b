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

// Judged in the ANSI code page: é and è are in 1252, Ω and 日 are not ("?"), € is one of
// its codes 127 to 159.
TEST_F(WalkOnWindows, LeavesOutNamesOutsideTheCodePageAndItsControlRange) {
    for (const char* name :
         {"Caf\xc3\xa9", "Syst\xc3\xa8me", "\xce\xa9mega", "\xe6\x97\xa5\xe6\x9c\xac",
          "\xe2\x82\xac"
          "uro"}) {
        makeFolder(std::string(name) + "\\inner");
    }
    EXPECT_EQ(Sorted(walk(folder())),
              Sorted({folder(), folder("Caf\xc3\xa9"), folder("Caf\xc3\xa9\\inner"),
                      folder("Syst\xc3\xa8me"), folder("Syst\xc3\xa8me\\inner")}));
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
