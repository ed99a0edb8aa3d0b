#include <gtest/gtest.h>

#include <initializer_list>
#include <string>
#include <utility>

#include "history/PathFilter.h"
#include "platform/RuntimeError.h"

namespace kestrava::history {
namespace {

constexpr PatternRules CaseCounts{false, false};

using Patterns = std::initializer_list<std::pair<PatternKind, const char*>>;
constexpr PatternKind In = PatternKind::Include;
constexpr PatternKind Out = PatternKind::Exclude;

PathFilter Filter(Patterns patterns, PatternRules rules = CaseCounts) {
    PathFilter filter(rules);
    for (const auto& [kind, pattern] : patterns) {
        filter.add(kind, pattern);
    }
    return filter;
}

TEST(PathFilterTest, APatternWithoutSeparatorMatchesANameAtAnyDepth) {
    const PathFilter filter = Filter({{Out, "*.tmp"}, {Out, "node_modules"}});
    EXPECT_FALSE(filter.keeps("a.tmp", false));
    EXPECT_FALSE(filter.keeps("deep/down/a.tmp", false));
    EXPECT_TRUE(filter.keeps("a.tmp.txt", false));
    EXPECT_FALSE(filter.keeps("web/node_modules/x/index.js", false));
    EXPECT_FALSE(filter.goesInto("web/node_modules"));
    EXPECT_TRUE(filter.goesInto("web/node_modules_old"));
}

TEST(PathFilterTest, ASeparatorAtTheStartOrInTheMiddleAnchorsAtTheRoot) {
    const PathFilter filter = Filter({{Out, "/build"}, {Out, "docs/*.pdf"}});
    EXPECT_FALSE(filter.goesInto("build"));
    EXPECT_FALSE(filter.keeps("build/out.o", false));
    EXPECT_TRUE(filter.goesInto("src/build"));
    EXPECT_TRUE(filter.keeps("src/build/out.o", false));
    EXPECT_FALSE(filter.keeps("docs/a.pdf", false));
    EXPECT_TRUE(filter.keeps("old/docs/a.pdf", false));
    EXPECT_TRUE(filter.keeps("docs/sub/a.pdf", false));  // "*" stays within a name
}

TEST(PathFilterTest, DoubleStarsCrossFolders) {
    const PathFilter filter = Filter({{Out, "docs/**/*.pdf"}, {Out, "**/cache"}, {Out, "logs/**"}});
    EXPECT_FALSE(filter.keeps("docs/a.pdf", false));
    EXPECT_FALSE(filter.keeps("docs/x/y/a.pdf", false));
    EXPECT_TRUE(filter.keeps("other/docs/a.pdf", false));
    EXPECT_FALSE(filter.keeps("cache", false));
    EXPECT_FALSE(filter.goesInto("a/b/cache"));
    EXPECT_TRUE(filter.goesInto("logs"));  // "logs/**" is what is inside, not the folder
    EXPECT_FALSE(filter.keeps("logs/today.log", false));
    EXPECT_FALSE(filter.goesInto("logs/old"));
}

TEST(PathFilterTest, ATrailingSeparatorMatchesAFolderAndEverythingBelowIt) {
    const PathFilter filter = Filter({{Out, "build/"}, {Out, "/out/"}});
    EXPECT_TRUE(filter.keeps("build", false));  // a file of that name stays
    EXPECT_FALSE(filter.keeps("build", true));
    EXPECT_FALSE(filter.goesInto("src/build"));
    EXPECT_FALSE(filter.keeps("src/build/deep/x.o", false));
    EXPECT_FALSE(filter.keeps("out/x", false));
    EXPECT_TRUE(filter.keeps("src/out/x", false));
}

TEST(PathFilterTest, TheLastPatternThatMatchesDecides) {
    const PathFilter filter =
        Filter({{Out, "*.log"}, {In, "important.log"}, {Out, "/old/important.log"}});
    EXPECT_FALSE(filter.keeps("a.log", false));
    EXPECT_TRUE(filter.keeps("x/important.log", false));
    EXPECT_FALSE(filter.keeps("old/important.log", false));
    EXPECT_TRUE(filter.keeps("a.txt", false));  // matched by none: kept
    const PathFilter reversed = Filter({{In, "important.log"}, {Out, "*.log"}});
    EXPECT_FALSE(reversed.keeps("important.log", false));
}

TEST(PathFilterTest, NothingBelowAFolderLeftOutComesBack) {
    // The folder is never read, so a file in it can't be included again.
    const PathFilter filter = Filter({{Out, "build/"}, {In, "build/keep.txt"}});
    EXPECT_FALSE(filter.goesInto("build"));
    EXPECT_FALSE(filter.keeps("build/keep.txt", false));
    // Its contents left out, and not the folder, the file does come back.
    const PathFilter contents = Filter({{Out, "build/*"}, {In, "build/keep.txt"}});
    EXPECT_TRUE(contents.goesInto("build"));
    EXPECT_TRUE(contents.keeps("build/keep.txt", false));
    EXPECT_FALSE(contents.keeps("build/x.o", false));
}

TEST(PathFilterTest, AFirstIncludeKeepsOnlyWhatIsIncluded) {
    const PathFilter filter = Filter({{In, "*.docx"}, {In, "/reports/"}, {Out, "*~*"}});
    EXPECT_TRUE(filter.keeps("deep/report.docx", false));
    EXPECT_FALSE(filter.keeps("deep/report.pdf", false));
    EXPECT_TRUE(filter.keeps("reports/2026/q1.pdf", false));  // below a folder included
    EXPECT_FALSE(filter.keeps("reports/a~b.pdf", false));
    EXPECT_TRUE(filter.goesInto("deep"));  // walked for what it may hold
    EXPECT_FALSE(filter.keeps("deep", true));
}

TEST(PathFilterTest, CaseCountsUnlessIgnored) {
    EXPECT_TRUE(Filter({{Out, "*.TMP"}}).keeps("a.tmp", false));
    EXPECT_FALSE(Filter({{Out, "*.TMP"}}, {true, false}).keeps("a.tmp", false));
    EXPECT_FALSE(Filter({{Out, "/Build/"}}, {true, false}).goesInto("BUILD"));
}

TEST(PathFilterTest, OnWindowsBothSeparatorsSeparate) {
    const PathFilter filter = Filter({{Out, R"(\Build\)"}, {Out, "docs/*.pdf"}}, {true, true});
    EXPECT_FALSE(filter.goesInto("build"));
    EXPECT_FALSE(filter.keeps(R"(build\x.o)", false));
    EXPECT_TRUE(filter.goesInto(R"(src\build)"));
    EXPECT_FALSE(filter.keeps(R"(DOCS\A.PDF)", false));
    EXPECT_TRUE(filter.keeps(R"(docs\sub\a.pdf)", false));
}

TEST(PathFilterTest, APatternThatNamesNothingIsRefused) {
    for (const char* pattern : {"", "/", "//"}) {
        PathFilter filter(CaseCounts);
        try {
            filter.add(PatternKind::Exclude, pattern);
            ADD_FAILURE() << "\"" << pattern << "\" was taken";
        } catch (const platform::RuntimeError& error) {
            EXPECT_EQ(error.description(),
                      "not a pattern: \"" + std::string(pattern) + "\" (it names no file)");
        }
    }
}

// A walk asks about a file only once its folders were let in, and skips asking about
// them again; the answers must be the ones a reader of the whole path gets.
TEST(PathFilterTest, AWalksShortcutAnswersAsTheWholePathDoes) {
    const char* paths[] = {"a.tmp",           "x/a.tmp",    "keep/a.tmp",
                           "keep/deep/b.txt", "docs/x.pdf", "docs/old/x.pdf",
                           "old/docs/x.pdf",  "b.txt",      "build/x.o"};
    for (const PathFilter& filter :
         {Filter({{Out, "*.tmp"}, {In, "keep/"}, {Out, "docs/**/*.pdf"}, {Out, "/build"}}),
          Filter({{In, "*.pdf"}, {In, "keep/"}, {Out, "old/"}, {Out, "*.tmp"}}),
          Filter({{In, "keep/**"}, {Out, "deep/"}})}) {
        for (const std::string path : paths) {
            bool walked = true;
            for (std::size_t at = path.find('/'); at != std::string::npos;
                 at = path.find('/', at + 1)) {
                walked = walked && filter.goesInto(path.substr(0, at));
            }
            if (walked) {
                EXPECT_EQ(filter.keepsInWalkedFolder(path, false), filter.keeps(path, false))
                    << path;
            }
        }
    }
}

TEST(PathFilterTest, AnEmptyFilterKeepsEverything) {
    const PathFilter filter(CaseCounts);
    EXPECT_TRUE(filter.keeps("a/b/c", false));
    EXPECT_TRUE(filter.goesInto("a"));
}

}  // namespace
}  // namespace kestrava::history
