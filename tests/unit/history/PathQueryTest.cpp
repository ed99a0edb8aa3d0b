#include <gtest/gtest.h>

#include <random>
#include <string>

#include "history/FileTimeline.h"
#include "history/LoggedPaths.h"
#include "history/PathQuery.h"

namespace kestrava::history {
namespace {

constexpr PatternRules Posix{false, false};
constexpr PatternRules Windows{true, true};

TEST(PathQueryTest, TheLongestLiteralIsWhatEveryMatchHolds) {
    EXPECT_EQ(LongestLiteral("report.docx", Posix), "report.docx");
    EXPECT_EQ(LongestLiteral("/home/ann/Documents/*.odt", Posix), "Documents");
    EXPECT_EQ(LongestLiteral("[abcdefgh]x.txt", Posix), "x.txt");
    EXPECT_EQ(LongestLiteral("[]abcdefgh]x", Posix), "x");
    EXPECT_EQ(LongestLiteral("[[:alpha:]]yz", Posix), "yz");
    EXPECT_EQ(LongestLiteral(R"(\*abc\?de)", Posix), "abc");
    EXPECT_EQ(LongestLiteral(R"(C:\Users\ann\**)", Windows), "Users");
    EXPECT_EQ(LongestLiteral("Büro/plan.txt", Windows), "plan.txt");  // "ü" folds beyond ASCII
    EXPECT_EQ(LongestLiteral("Büro", Posix), "Büro");
    EXPECT_EQ(LongestLiteral("*", Posix), "");
}

// Horspool's skips against a plain search, on texts of few letters, where near misses
// and overlaps abound.
TEST(PathQueryTest, LiteralSearchFindsWhatAPlainSearchFinds) {
    std::mt19937 random(27);
    const std::string letters = "abAB|/\n";
    const auto make = [&](std::size_t size) {
        std::string text;
        for (std::size_t at = 0; at < size; ++at) {
            text += letters[random() % letters.size()];
        }
        return text;
    };
    const auto lower = [](std::string text) {
        for (char& c : text) {
            c = c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c;
        }
        return text;
    };
    for (int round = 0; round < 2000; ++round) {
        const std::string text = make(random() % 60);
        const std::string literal = make(1 + random() % 4);
        const bool ignoreCase = round % 2 == 1;
        const LiteralSearch search(literal, ignoreCase);
        const std::string searched = ignoreCase ? lower(text) : text;
        const std::string sought = ignoreCase ? lower(literal) : literal;
        for (std::size_t from = 0; from <= text.size(); ++from) {
            ASSERT_EQ(search.find(text, from), searched.find(sought, from))
                << "\"" << literal << "\" in \"" << text << "\" from " << from;
        }
    }
}

TEST(PathQueryTest, ALongLiteralIsFoundByItsBeginning) {
    const std::string literal = "/" + std::string(300, 'a') + "/b";
    const std::string text = "x" + std::string(298, 'a') + "\n" + literal + "|1|d\n";
    EXPECT_EQ(LiteralSearch(literal, false).find(text, 0), 300U);
    EXPECT_EQ(LiteralSearch("/" + std::string(300, 'A'), true).find(text, 0), 300U);
}

// The log holds full paths: patterns match them as if the file system's root were the
// folder snapshotted.
TEST(PathQueryTest, LoggedPathsAreMatchedFromTheirStartOrByNameAtAnyDepth) {
    PathFilter posix(Posix);
    posix.add(PatternKind::Exclude, "*.tmp");
    posix.add(PatternKind::Exclude, "node_modules/");
    posix.add(PatternKind::Exclude, "/home/ann/Documents/*.odt");
    EXPECT_FALSE(KeepsLoggedPath(posix, "/home/ann/x.tmp"));
    EXPECT_TRUE(KeepsLoggedPath(posix, "/home/ann/x.TMP"));
    EXPECT_FALSE(KeepsLoggedPath(posix, "/srv/app/node_modules/m/index.js"));
    EXPECT_TRUE(KeepsLoggedPath(posix, "/srv/app/node_modules"));  // a file of that name
    EXPECT_FALSE(KeepsLoggedPath(posix, "/home/ann/Documents/letter.odt"));
    EXPECT_TRUE(KeepsLoggedPath(posix, "/home/ann/Documents/old/letter.odt"));
    EXPECT_TRUE(KeepsLoggedPath(posix, "/home/bob/home/ann/Documents/letter.odt"));
    EXPECT_TRUE(KeepsLoggedPath(posix, R"(/home\ann\Documents\letter.odt)"));

    PathFilter windows(Windows);
    windows.add(PatternKind::Exclude, "C:/Users/ann/**");
    windows.add(PatternKind::Exclude, "$RECYCLE.BIN/");
    windows.add(PatternKind::Exclude, "//server/share/cache/");
    EXPECT_FALSE(KeepsLoggedPath(windows, R"(c:\users\ANN\Desktop\a.txt)"));
    EXPECT_FALSE(KeepsLoggedPath(windows, "C:/Users/ann/a.txt"));
    EXPECT_TRUE(KeepsLoggedPath(windows, R"(C:\Users\bob\a.txt)"));
    EXPECT_TRUE(KeepsLoggedPath(windows, R"(D:\C:\Users\ann\a.txt)"));
    EXPECT_FALSE(KeepsLoggedPath(windows, R"(D:\$Recycle.Bin\S-1-5\a.txt)"));
    EXPECT_FALSE(KeepsLoggedPath(windows, R"(\\server\share\Cache\a.txt)"));
    EXPECT_TRUE(KeepsLoggedPath(windows, R"(\\server\share\a.txt)"));

    EXPECT_TRUE(KeepsLoggedPath(PathFilter(Posix), "/anything"));
}

TEST(PathQueryTest, FilteredFilesKeepTheirOrderLineEndsAndLinesThatNameNoFile) {
    PathFilter filter(Posix);
    filter.add(PatternKind::Exclude, "*.tmp");
    std::string files =
        "/a/x.tmp|1|d\r\n/a/b.txt|2|d\r\nnot a file\n/a/y.tmp|3|d\n/a/c.txt|4|d\r\n/a/z.tmp|5|d";
    LeaveOutExcluded(files, filter);
    EXPECT_EQ(files, "/a/b.txt|2|d\r\nnot a file\n/a/c.txt|4|d\r\n");
}

TEST(PathQueryTest, AQueryAsksForWhatAPatternMatchesAndTheFilterKeeps) {
    PathFilter filter(Windows);
    filter.add(PatternKind::Exclude, "*.bak");
    const PathQuery query({"Budget.xlsx", "Reports/"}, filter);
    EXPECT_TRUE(query.asks(R"(C:\Users\ann\budget.XLSX)"));
    EXPECT_TRUE(query.asks(R"(C:\reports\2026\march.pdf)"));
    EXPECT_FALSE(query.asks(R"(C:\reports\2026\march.bak)"));
    EXPECT_FALSE(query.asks(R"(C:\Users\ann\budget.xlsx.old)"));
    EXPECT_TRUE(query.mayAsk(R"(C:\REPORTS\x|1|d)"));
    EXPECT_FALSE(query.mayAsk(R"(C:\Users\ann\plan.txt|1|d)"));

    // A pattern without a literal: every line is looked at.
    const PathQuery everything({"*.txt", "?"}, filter);
    EXPECT_TRUE(everything.literals().empty());
    EXPECT_TRUE(everything.mayAsk("anything"));
}

TEST(PathQueryTest, TimelinesFollowEachPathEntryByEntry) {
    Timelines timelines;
    const FileFacts small{"1 KB", "d1"};
    const FileFacts large{"2 KB", "d2"};
    timelines.recordEntry(1, "one", {{"/a", small}, {"/b", small}});
    timelines.recordEntry(2, "two", {{"/a", large}, {"/b", small}});
    timelines.recordEntry(3, "three", {{"/b", small}});
    timelines.recordEntry(4, "four", {{"/a", large}});

    const auto& byPath = timelines.byPath();
    ASSERT_EQ(byPath.size(), 2U);
    const std::vector<FileEvent>& a = byPath.at("/a");
    ASSERT_EQ(a.size(), 4U);
    EXPECT_EQ(a[0].kind, FileEventKind::Appeared);
    EXPECT_EQ(a[1].kind, FileEventKind::Changed);
    EXPECT_EQ(a[1].before, small);
    EXPECT_EQ(a[1].after, large);
    EXPECT_EQ(a[2].kind, FileEventKind::Vanished);
    EXPECT_EQ(a[2].date, "three");
    EXPECT_EQ(a[3].kind, FileEventKind::Appeared);
    EXPECT_EQ(a[3].entry, 4U);
    const std::vector<FileEvent>& b = byPath.at("/b");
    ASSERT_EQ(b.size(), 2U);
    EXPECT_EQ(b[1].kind, FileEventKind::Vanished);
    EXPECT_EQ(b[1].entry, 4U);
}

}  // namespace
}  // namespace kestrava::history
