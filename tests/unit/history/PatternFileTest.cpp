#include <gtest/gtest.h>

#include <string>

#include "history/PatternFile.h"
#include "platform/RuntimeError.h"
#include "support/NativePaths.h"
#include "support/NativeSeams.h"
#include "support/TemporaryFolder.h"

namespace kestrava::history {
namespace {

constexpr PatternRules CaseCounts{false, false};

PathFilter FromLines(const std::string& text, PatternRules rules = CaseCounts) {
    PathFilter filter(rules);
    AddPatternLines(filter, text, "patterns.txt");
    return filter;
}

TEST(PatternFileTest, ALineIsAPatternThatExcludes) {
    const PathFilter filter = FromLines("*.tmp\nnode_modules/\n/build");
    EXPECT_FALSE(filter.keeps("a/b.tmp", false));
    EXPECT_FALSE(filter.goesInto("web/node_modules"));
    EXPECT_FALSE(filter.goesInto("build"));
    EXPECT_TRUE(filter.keeps("a/b.txt", false));
}

TEST(PatternFileTest, CommentsAndBlankLinesSayNothing) {
    const PathFilter filter = FromLines("# caches\n\n   \n#*.txt\n*.tmp\n");
    EXPECT_TRUE(filter.keeps("a.txt", false));
    EXPECT_TRUE(filter.keeps("# caches", false));
    EXPECT_FALSE(filter.keeps("a.tmp", false));
    EXPECT_TRUE(FromLines("").empty());
    EXPECT_TRUE(FromLines("\r\n# only a comment\r\n").empty());
}

TEST(PatternFileTest, ReadsWindowsLineEndsAndAByteOrderMark) {
    const PathFilter filter = FromLines("\xEF\xBB\xBF*.tmp\r\n/build/\r\nlast.log");
    EXPECT_FALSE(filter.keeps("x.tmp", false));
    EXPECT_FALSE(filter.goesInto("build"));
    EXPECT_FALSE(filter.keeps("last.log", false));
    EXPECT_TRUE(filter.keeps("x.tmp\r", false));
}

TEST(PatternFileTest, AnExclamationMarkIncludesAgain) {
    const PathFilter filter = FromLines("*.log\n!keep.log\n");
    EXPECT_FALSE(filter.keeps("a.log", false));
    EXPECT_TRUE(filter.keeps("d/keep.log", false));
}

TEST(PatternFileTest, EscapesWhereABackslashEscapes) {
    const PathFilter filter = FromLines("\\#hash\n\\!bang\ntrailing\\ \nspaces   \n");
    EXPECT_FALSE(filter.keeps("#hash", false));
    EXPECT_FALSE(filter.keeps("!bang", false));
    EXPECT_FALSE(filter.keeps("trailing ", false));
    EXPECT_TRUE(filter.keeps("trailing", false));
    EXPECT_FALSE(filter.keeps("spaces", false));
    // Where it separates, "\" at a line's start anchors the pattern.
    const PathFilter windows = FromLines("\\#hash\n", {true, true});
    EXPECT_FALSE(windows.keeps("#HASH", false));
    EXPECT_TRUE(windows.keeps("d\\#hash", false));
}

TEST(PatternFileTest, NamesTheLineOfAPatternItCantRead) {
    try {
        FromLines("*.tmp\r\n# fine\r\nreport[2026.txt\r\n");
        ADD_FAILURE();
    } catch (const platform::RuntimeError& error) {
        EXPECT_EQ(error.description(),
                  "patterns.txt, line 3: not a pattern: \"report[2026.txt\" (a \"[\" that is "
                  "never closed)");
    }
}

TEST(PatternFileTest, ReadsAFileAndNamesOneThatCantBeRead) {
    const testing::TemporaryFolder folder;
    testing::NativeSeams native;
    const std::string path = testing::ProgramText(folder.writeFile("ignore.txt", "*.tmp\n"));
    PathFilter filter(CaseCounts);
    AddPatternFile(filter, native.fileSystem(), path);
    EXPECT_FALSE(filter.keeps("a.tmp", false));

    const std::string missing = testing::ProgramText(folder.path() / "missing.txt");
    try {
        AddPatternFile(filter, native.fileSystem(), missing);
        ADD_FAILURE();
    } catch (const platform::RuntimeError& error) {
        EXPECT_EQ(error.description().rfind("the pattern file " + missing + " can't be read (", 0),
                  0u)
            << error.description();
    }
}

}  // namespace
}  // namespace kestrava::history
