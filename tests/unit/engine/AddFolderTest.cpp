#include "engine/AddFolder.h"

#include <algorithm>
#include <filesystem>

#include "unit/engine/EngineFixture.h"

namespace kestrava::testing {
namespace {

namespace fs = std::filesystem;
using GetSubDirectories2016Test = EngineFixture;

TEST_F(GetSubDirectories2016Test, ExtendsTheListLevelByLevel) {
    makeFolder("North/Deep");
    makeFolder("South");

    const auto folders = walk(folder());

    ASSERT_EQ(folders.size(), 4u);
    EXPECT_EQ(folders[0], folder());
    // Within a parent the file system's order holds; Deep comes after both of its level.
    EXPECT_TRUE(std::is_permutation(folders.begin() + 1, folders.begin() + 3,
                                    std::vector{folder("North"), folder("South")}.begin()));
    EXPECT_EQ(folders[3], folder("North/Deep"));
    // Once per folder visited (4), per sub-folder name (3) and per folder merged (4:
    // Deep joins its level's list, which then joins the top list whole).
    EXPECT_EQ(events.pumps, 11);
    EXPECT_TRUE(dialogs.shown.empty());
}

TEST_F(GetSubDirectories2016Test, LeavesAFolderWithoutSubFoldersAlone) {
    makeFile("only-a-file.txt");
    EXPECT_EQ(walk(folder()), engine::FolderList{folder()});
    // A path without its final separator still gets proper sub-folder paths.
    makeFolder("Inner");
    const std::string bare = tree.string();
    EXPECT_EQ(walk(bare), (engine::FolderList{bare, folder("Inner")}));
}

// A name is any bytes but "/": one that is no valid text, holds a control character or
// a question mark is walked like any other, or anyone who may make a folder in the
// tree could hide its whole subtree from the history.
TEST_F(GetSubDirectories2016Test, WalksEverySubFolderWhateverItsName) {
    const std::vector<std::string> names{"fine",       ".hidden",     "Übersicht",
                                         "bad\xff",    "control\x01", "question?",
                                         "delete\x7f", "c1\xc2\x85",  "line\r\nbreak"};
    engine::FolderList expected{folder()};
    for (const std::string& name : names) {
        makeFolder(name + "/inner");
        expected.push_back(folder(name));
        expected.push_back(folder(name + "/inner"));
    }
    auto folders = walk(folder());
    std::sort(folders.begin(), folders.end());
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(folders, expected);
    EXPECT_TRUE(dialogs.shown.empty());
}

TEST_F(GetSubDirectories2016Test, DoesNotFollowLinksToFolders) {
    makeFolder("a");
    fs::create_directory_symlink("..", tree.path() / "a" / "up");  // a loop
    fs::create_directory_symlink("/", tree.path() / "root");       // out of the tree
    fs::create_symlink("self", tree.path() / "self");              // a link to itself

    EXPECT_EQ(walk(folder()), (engine::FolderList{folder(), folder("a")}));
    EXPECT_TRUE(dialogs.shown.empty());
}

TEST_F(GetSubDirectories2016Test, DropsAFolderThatVanishesBeforeItIsListedWithoutAWord) {
    makeFolder("North/Deep");
    makeFolder("South/Deeper");
    // The fourth pump comes as the first sub-folder is visited, before it is listed.
    events.onPump = [&] {
        if (events.pumps == 4) {
            fs::remove_all(tree.path() / "South");
        }
    };

    EXPECT_EQ(walk(folder()),
              (engine::FolderList{folder(), folder("North"), folder("North/Deep")}));
    EXPECT_TRUE(dialogs.shown.empty());
}

using ListFilesTest = EngineFixture;

TEST_F(ListFilesTest, ListsOpenableFilesOnlyHiddenOnesIncluded) {
    makeFile("notes.txt");
    makeFile(".hidden");
    makeFolder("Archive");
    fs::create_symlink("notes.txt", tree.path() / "link.txt");
    fs::create_symlink("missing", tree.path() / "dangling.txt");
    ASSERT_EQ(::mkfifo((tree.path() / "pipe.txt").c_str(), 0600), 0);

    const auto files = engine::ListFiles(fileSystem, events, tree.string(), "*.*");
    std::vector<std::string> names;
    for (std::size_t index = 0; index < files.size(); ++index) {
        names.emplace_back(files[index].name);
    }
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, (std::vector<std::string>{".hidden", "link.txt", "notes.txt"}));
    EXPECT_EQ(engine::ListFiles(fileSystem, events, folder("Archive"), "*.*").size(), 0u);
    EXPECT_EQ(engine::ListFiles(fileSystem, events, folder(), "*.md").size(), 0u);
    EXPECT_EQ(engine::ListFiles(fileSystem, events, folder(), "n?tes.*").size(), 1u);
    EXPECT_THROW(engine::ListFiles(fileSystem, events, folder("missing"), "*.*"),
                 platform::RuntimeError);
    EXPECT_TRUE(engine::IsOpenableFile(fileSystem, (tree.path() / "link.txt").string()));
    EXPECT_FALSE(engine::IsOpenableFile(fileSystem, (tree.path() / "pipe.txt").string()));
    EXPECT_FALSE(engine::IsOpenableFile(fileSystem, folder("Archive")));
}

TEST(MatchesPattern, TakesStarAndQuestionMarkAndStarDotStarForEverything) {
    EXPECT_TRUE(engine::MatchesPattern("README", "*.*"));
    EXPECT_TRUE(engine::MatchesPattern("a.tar.gz", "*.gz"));
    EXPECT_TRUE(engine::MatchesPattern("a.tar.gz", "a*z"));
    EXPECT_TRUE(engine::MatchesPattern("abc", "a?c"));
    EXPECT_FALSE(engine::MatchesPattern("abc", "a?d"));
    EXPECT_FALSE(engine::MatchesPattern("notes.txt", "*.md"));
    EXPECT_TRUE(engine::MatchesPattern("", "*"));
}

}  // namespace
}  // namespace kestrava::testing
