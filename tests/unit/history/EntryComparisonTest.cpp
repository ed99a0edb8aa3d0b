#include "history/EntryComparison.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <random>
#include <string>
#include <vector>

namespace kestrava::history {
namespace {

std::string Entry(const std::vector<std::string>& lines) {
    std::string text;
    for (const std::string& line : lines) {
        text += line + "\r\n";
    }
    return text;
}

std::vector<std::string> PathsOf(const std::vector<FileLine>& files) {
    std::vector<std::string> paths;
    for (const FileLine& file : files) {
        paths.emplace_back(file.path);
    }
    return paths;
}

std::vector<std::string> ModifiedPaths(const EntryChanges& changes) {
    std::vector<std::string> paths;
    for (const ModifiedFile& file : changes.modified) {
        paths.emplace_back(file.after.path);
    }
    return paths;
}

EntryChanges Sorted(EntryChanges changes) {
    SortByPath(changes);
    return changes;
}

using PathList = std::vector<std::string>;

TEST(EntryComparison, FindsEachKindOfChangeWhereverItLies) {
    const std::string before =
        Entry({"/w/a|1 KB|12/7/2026", "/w/b|2 KB|12/7/2026", "/w/c|3 KB|12/7/2026",
               "/w/d|4 KB|12/7/2026", "/w/e|5 KB|12/7/2026"});
    // First gone, second resized, third touched, one added in the middle and one at the end.
    const std::string after =
        Entry({"/w/b|9 KB|12/7/2026", "/w/c|3 KB|12/8/2026", "/w/new|1 Bytes|12/8/2026",
               "/w/d|4 KB|12/7/2026", "/w/e|5 KB|12/7/2026", "/w/z|0 Bytes|12/8/2026"});

    const EntryChanges changes = Sorted(CompareEntries(before, after));

    EXPECT_EQ(PathsOf(changes.added), (PathList{"/w/new", "/w/z"}));
    EXPECT_EQ(PathsOf(changes.removed), (PathList{"/w/a"}));
    ASSERT_EQ(ModifiedPaths(changes), (PathList{"/w/b", "/w/c"}));
    EXPECT_EQ(changes.modified[0].before.size, "2 KB");
    EXPECT_EQ(changes.modified[0].after.size, "9 KB");
    EXPECT_EQ(changes.modified[1].before.modified, "12/7/2026");
    EXPECT_EQ(changes.modified[1].after.modified, "12/8/2026");
}

// A folder may bear the name of the tree it lies in: one line can end with all of another.
TEST(EntryComparison, ALineThatEndsWithAllOfAnotherIsStillItsOwnFile) {
    const std::string before = Entry({"/w/b/w/a|1 KB|d"});
    const std::string after = Entry({"/w/a|1 KB|d"});

    const EntryChanges changes = CompareEntries(before, after);

    EXPECT_EQ(PathsOf(changes.removed), (PathList{"/w/b/w/a"}));
    EXPECT_EQ(PathsOf(changes.added), (PathList{"/w/a"}));
    EXPECT_EQ(changes.unreadableBefore + changes.unreadableAfter, 0u);
}

TEST(EntryComparison, TheSameFilesInAnotherOrderAreNoChange) {
    const std::vector<std::string> lines{"/w/a|1 KB|d", "/w/b|2 KB|d", "/w/c|3 KB|d",
                                         "/w/d|4 KB|d"};
    std::vector<std::string> shuffled = lines;
    std::reverse(shuffled.begin(), shuffled.end());

    EXPECT_TRUE(CompareEntries(Entry(lines), Entry(shuffled)).empty());
    EXPECT_TRUE(CompareEntries(Entry(lines), Entry(lines)).empty());
    EXPECT_TRUE(CompareEntries("", "").empty());
}

// The path is what lies before the last two bars: a name may hold bars of its own.
TEST(EntryComparison, APathMayHoldBars) {
    const std::string before = Entry({"/w/a|b|1 KB|d"});
    const std::string after = Entry({"/w/a|b|2 KB|d", "/w/a|b|c|1 KB|d"});

    const EntryChanges changes = CompareEntries(before, after);

    EXPECT_EQ(PathsOf(changes.added), (PathList{"/w/a|b|c"}));
    EXPECT_EQ(ModifiedPaths(changes), (PathList{"/w/a|b"}));
    EXPECT_TRUE(changes.removed.empty());
}

// Two names that the log writes alike are one path listed twice: each listing counts.
TEST(EntryComparison, APathListedTwiceIsComparedAsAMultiset) {
    const std::string twice = Entry({"/w/a?b|1 KB|d", "/w/x|1 KB|d", "/w/a?b|2 KB|d"});
    const std::string reordered = Entry({"/w/a?b|2 KB|d", "/w/x|1 KB|d", "/w/a?b|1 KB|d"});
    const std::string once = Entry({"/w/x|1 KB|d", "/w/a?b|2 KB|d"});
    const std::string oneResized = Entry({"/w/a?b|1 KB|d", "/w/x|1 KB|d", "/w/a?b|3 KB|d"});

    EXPECT_TRUE(CompareEntries(twice, reordered).empty());

    const EntryChanges oneGone = CompareEntries(twice, once);
    EXPECT_EQ(PathsOf(oneGone.removed), (PathList{"/w/a?b"}));
    EXPECT_EQ(oneGone.removed[0].size, "1 KB");
    EXPECT_TRUE(oneGone.added.empty() && oneGone.modified.empty());

    const EntryChanges resized = CompareEntries(twice, oneResized);
    ASSERT_EQ(ModifiedPaths(resized), (PathList{"/w/a?b"}));
    EXPECT_EQ(resized.modified[0].before.size, "2 KB");
    EXPECT_EQ(resized.modified[0].after.size, "3 KB");
    EXPECT_TRUE(resized.added.empty() && resized.removed.empty());
}

TEST(EntryComparison, LinesThatNameNoFileAreCountedAndLeftOut) {
    const std::string before = Entry({"/w/a|1 KB|d", "garbage", "/w/b|1 KB|d"});
    const std::string after = Entry({"/w/a|1 KB|d", "/w/b|2 KB|d", "x|y", ""});

    const EntryChanges changes = CompareEntries(before, after);

    EXPECT_EQ(changes.unreadableBefore, 1u);
    EXPECT_EQ(changes.unreadableAfter, 2u);
    EXPECT_EQ(ModifiedPaths(changes), (PathList{"/w/b"}));
    EXPECT_TRUE(changes.added.empty() && changes.removed.empty());
}

// What a comparison should find, the slow and obvious way: per path, the lines both
// entries hold are unchanged; of the rest, as many pairs as there are are modified, and
// the remainder added or removed.
struct Counts {
    std::size_t added = 0;
    std::size_t removed = 0;
    std::size_t modified = 0;
    bool operator==(const Counts&) const = default;
};

std::map<std::string, Counts> Expected(const std::vector<std::string>& before,
                                       const std::vector<std::string>& after) {
    const auto pathOf = [](const std::string& line) {
        return line.substr(0, line.rfind('|', line.rfind('|') - 1));
    };
    // Per path, per line: how often each entry lists it.
    std::map<std::string, std::map<std::string, std::pair<int, int>>> listings;
    for (const std::string& line : before) {
        ++listings[pathOf(line)][line].first;
    }
    for (const std::string& line : after) {
        ++listings[pathOf(line)][line].second;
    }
    std::map<std::string, Counts> expected;
    for (const auto& [path, lines] : listings) {
        int leftBefore = 0;
        int leftAfter = 0;
        for (const auto& [line, times] : lines) {
            const int unchanged = std::min(times.first, times.second);
            leftBefore += times.first - unchanged;
            leftAfter += times.second - unchanged;
        }
        const int paired = std::min(leftBefore, leftAfter);
        if (leftBefore + leftAfter > 0) {
            expected[path] = {static_cast<std::size_t>(leftAfter - paired),
                              static_cast<std::size_t>(leftBefore - paired),
                              static_cast<std::size_t>(paired)};
        }
    }
    return expected;
}

std::map<std::string, Counts> Found(const EntryChanges& changes) {
    std::map<std::string, Counts> found;
    for (const FileLine& file : changes.added) {
        ++found[std::string(file.path)].added;
    }
    for (const FileLine& file : changes.removed) {
        ++found[std::string(file.path)].removed;
    }
    for (const ModifiedFile& file : changes.modified) {
        EXPECT_EQ(file.before.path, file.after.path);
        ++found[std::string(file.after.path)].modified;
    }
    return found;
}

// Random edits of a listing, of every kind and size the walk side by side must survive:
// single files and long runs added, removed, changed and moved, and paths listed twice.
TEST(EntryComparison, AgreesWithTheObviousComparisonOnRandomEdits) {
    std::mt19937 random(20261207);
    const auto chance = [&](int percent) { return static_cast<int>(random() % 100) < percent; };
    for (int round = 0; round < 300; ++round) {
        std::vector<std::string> before;
        const int files = static_cast<int>(random() % 400);
        for (int file = 0; file < files; ++file) {
            // Few enough names that some come twice, and some that end like others.
            const std::string folder = chance(10) ? "/t/t/" : "/t/";
            before.push_back(folder + std::to_string(random() % 500) + "|" +
                             std::to_string(random() % 3) + " KB|d");
        }
        std::vector<std::string> after;
        for (std::size_t at = 0; at < before.size(); ++at) {
            if (chance(3)) {
                at += random() % 60;  // a run removed
                continue;
            }
            if (chance(3)) {
                for (int added = static_cast<int>(random() % 50); added > 0; --added) {
                    after.push_back("/t/n" + std::to_string(random() % 100) + "|1 KB|d");
                }
            }
            after.push_back(chance(5) ? before[at].substr(0, before[at].size() - 1) + "e"
                                      : before[at]);
        }
        if (chance(20) && after.size() > 2) {
            std::swap(after.front(), after[random() % after.size()]);
        }

        EXPECT_EQ(Found(CompareEntries(Entry(before), Entry(after))), Expected(before, after))
            << "round " << round;
    }
}

// Nothing lines up by position: a run gone near the start, files come at the end, some
// changed, some listed twice, and the whole listing turned about in places.
TEST(EntryComparison, AgreesWithTheObviousComparisonWhenNothingLinesUp) {
    std::mt19937 random(20261209);
    for (int round = 0; round < 50; ++round) {
        std::vector<std::string> before;
        for (int file = 0; file < 3000; ++file) {
            before.push_back("/s/" + std::to_string(random() % 2500) + "|" +
                             std::to_string(random() % 4) + " KB|d");
        }
        std::vector<std::string> after(before.begin(), before.begin() + 30);
        after.insert(after.end(), before.begin() + 30 + random() % 400, before.end());
        for (int changed = 0; changed < 100; ++changed) {
            after[random() % after.size()] += "x";
        }
        for (int added = 0; added < 300; ++added) {
            after.push_back("/s/" + std::to_string(random() % 3000) + "|1 KB|d");
        }
        if (round % 2 == 1) {
            std::reverse(after.begin() + 100, after.begin() + 2000);
        }
        EXPECT_EQ(Found(CompareEntries(Entry(before), Entry(after))), Expected(before, after))
            << "round " << round;
    }
}

}  // namespace
}  // namespace kestrava::history
