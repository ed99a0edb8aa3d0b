#include "engine/AddFolder.h"

#include <algorithm>
#include <filesystem>

#include "platform/PathRules.h"
#include "unit/engine/EngineFixture.h"

namespace kestrava::testing {
namespace {

namespace fs = std::filesystem;
using GetSubDirectories2016Test = EngineFixture;

TEST_F(GetSubDirectories2016Test, WalksLevelByLevel) {
    makeFolder("North/Deep");
    makeFolder("South");

    const auto folders = walk(folder());

    ASSERT_EQ(folders.size(), 4u);
    EXPECT_EQ(folders[0], folder());
    // Within a parent the file system's order holds; Deep comes after both of its level.
    EXPECT_TRUE(std::is_permutation(folders.begin() + 1, folders.begin() + 3,
                                    std::vector{folder("North"), folder("South")}.begin()));
    EXPECT_EQ(folders[3], folder("North/Deep"));
    EXPECT_TRUE(dialogs.shown.empty());
}

// The top folder is walked as given; the folders below it end in a separator.
TEST_F(GetSubDirectories2016Test, TakesTheTopFolderAsGiven) {
    makeFile("only-a-file.txt");
    EXPECT_EQ(walk(folder()), std::vector{folder()});
    makeFolder("Inner");
    const std::string bare = tree.string();
    EXPECT_EQ(walk(bare), (std::vector{bare, folder("Inner")}));
}

// Nothing to walk where the top is no folder, or its path reaches the platform's limit.
TEST_F(GetSubDirectories2016Test, AnythingButAFolderGivesAnEmptyWalk) {
    makeFile("file.txt");
    EXPECT_TRUE(walk(folder("missing")).empty());
    EXPECT_TRUE(walk(tree.string() + "/file.txt").empty());
    EXPECT_TRUE(walk(folder() + std::string(platform::PathLengthLimit, 'x') + "/").empty());
    EXPECT_TRUE(dialogs.shown.empty());
}

// A name is any bytes but "/": one that is no valid text, holds a control character or
// a question mark is walked like any other, or anyone who may make a folder in the
// tree could hide its whole subtree from the history.
TEST_F(GetSubDirectories2016Test, WalksEverySubFolderWhateverItsName) {
    const std::vector<std::string> names{"fine",       ".hidden",     "Übersicht",
                                         "bad\xff",    "control\x01", "question?",
                                         "delete\x7f", "c1\xc2\x85",  "line\r\nbreak"};
    std::vector<std::string> expected{folder()};
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
