#include <gtest/gtest.h>

#include <fstream>
#include <string>
#include <vector>

#include "history/Glob.h"
#include "unit/cli/CliFixture.h"

namespace kestrava::testing {
namespace {

// An entry as the window writes it, of the lines given (path|size|date).
std::string Entry(int minute, const std::vector<std::string>& lines) {
    std::string entry =
        "[12/7/2026 3:" + std::to_string(10 + minute) + ":00 AM]\r\nFile|Size|Date Modified\r\n";
    for (const std::string& line : lines) {
        entry += line + "\r\n";
    }
    return entry;
}

// A history of hand-written entries, read from the text log, from the store, and from
// both with the boundary between them anywhere: every reading must say the same.
class History : public CliFixture {
protected:
    void writeLog(const std::vector<std::string>& entries) {
        std::string bytes;
        for (const std::string& entry : entries) {
            bytes += entry;
        }
        std::ofstream(PathOfText(logPath), std::ios::binary) << bytes;
        entryCount = entries.size();
    }

    // The answer of the text log, then checks that the store, and the store with the
    // newest entries kept in the text log, answer alike.
    Answer runEverywhere(const std::vector<std::string>& arguments) {
        const std::string text = log();
        const Answer fromText = run(arguments);
        for (std::size_t kept = 0; kept < entryCount; ++kept) {
            std::ofstream(PathOfText(logPath), std::ios::binary) << text;
            std::filesystem::remove(PathOfText(logPath + ".history"));
            EXPECT_EQ(run({"compact", "--keep-text", std::to_string(kept)}).status, 0);
            const Answer fromStore = run(arguments);
            EXPECT_EQ(fromStore.out, fromText.out) << kept << " entries kept in the text log";
            EXPECT_EQ(fromStore.err, fromText.err) << kept << " entries kept in the text log";
            EXPECT_EQ(fromStore.status, fromText.status);
        }
        std::ofstream(PathOfText(logPath), std::ios::binary) << text;
        std::filesystem::remove(PathOfText(logPath + ".history"));
        return fromText;
    }

    std::size_t entryCount = 0;
};

TEST_F(History, TellsWhenAFileAppearedChangedVanishedAndCameBack) {
    writeLog({Entry(1, {"/data/keep.txt|1 KB|12/6/2026 10:00:00 AM",
                        "/data/report.docx|10 KB|12/6/2026 10:00:00 AM"}),
              Entry(2, {"/data/keep.txt|1 KB|12/6/2026 10:00:00 AM",
                        "/data/report.docx|12 KB|12/7/2026 3:11:00 AM"}),
              Entry(3, {"/data/keep.txt|1 KB|12/6/2026 10:00:00 AM"}),
              Entry(4, {"/data/keep.txt|1 KB|12/6/2026 10:00:00 AM"}),
              Entry(5, {"/data/report.docx|12 KB|12/7/2026 3:11:00 AM",
                        "/data/keep.txt|1 KB|12/6/2026 10:00:00 AM"}),
              Entry(6, {"/data/report.docx|12 KB|12/7/2026 3:16:00 AM",
                        "/data/keep.txt|1 KB|12/6/2026 10:00:00 AM"})});

    const Answer text = runEverywhere({"history", "report.docx"});
    const Answer json = runEverywhere({"history", "--json", "/data/report.*"});

    EXPECT_EQ(text.status, 0);
    EXPECT_EQ(text.out,
              "/data/report.docx\n"
              "  1  12/7/2026 3:11:00 AM  appeared  10 KB  12/6/2026 10:00:00 AM\n"
              "  2  12/7/2026 3:12:00 AM  changed  10 KB -> 12 KB  12/6/2026 10:00:00 AM -> "
              "12/7/2026 3:11:00 AM\n"
              "  3  12/7/2026 3:13:00 AM  vanished\n"
              "  5  12/7/2026 3:15:00 AM  appeared  12 KB  12/7/2026 3:11:00 AM\n"
              "  6  12/7/2026 3:16:00 AM  changed  12 KB  12/7/2026 3:11:00 AM -> 12/7/2026 "
              "3:16:00 AM\n");
    EXPECT_EQ(json.out,
              "[\n"
              "  {\"path\": \"/data/report.docx\", \"events\": [\n"
              "    {\"entry\": 1, \"date\": \"12/7/2026 3:11:00 AM\", \"kind\": \"appeared\", "
              "\"size\": \"10 KB\", \"modified\": \"12/6/2026 10:00:00 AM\"},\n"
              "    {\"entry\": 2, \"date\": \"12/7/2026 3:12:00 AM\", \"kind\": \"changed\", "
              "\"before\": {\"size\": \"10 KB\", \"modified\": \"12/6/2026 10:00:00 AM\"}, "
              "\"after\": {\"size\": \"12 KB\", \"modified\": \"12/7/2026 3:11:00 AM\"}},\n"
              "    {\"entry\": 3, \"date\": \"12/7/2026 3:13:00 AM\", \"kind\": \"vanished\"},\n"
              "    {\"entry\": 5, \"date\": \"12/7/2026 3:15:00 AM\", \"kind\": \"appeared\", "
              "\"size\": \"12 KB\", \"modified\": \"12/7/2026 3:11:00 AM\"},\n"
              "    {\"entry\": 6, \"date\": \"12/7/2026 3:16:00 AM\", \"kind\": \"changed\", "
              "\"before\": {\"size\": \"12 KB\", \"modified\": \"12/7/2026 3:11:00 AM\"}, "
              "\"after\": {\"size\": \"12 KB\", \"modified\": \"12/7/2026 3:16:00 AM\"}}\n"
              "  ]}\n"
              "]\n");
}

TEST_F(History, ARenameIsAVanishAndAnAppearAndAFolderPatternTakesWhatIsBelow) {
    writeLog({Entry(1, {"/data/old name.txt|3 Bytes|12/6/2026 10:00:00 AM",
                        "/data/Sub/deep/a.txt|1 Bytes|12/6/2026 10:00:00 AM",
                        "/data/other.txt|1 Bytes|12/6/2026 10:00:00 AM"}),
              Entry(2, {"/data/new name.txt|3 Bytes|12/6/2026 10:00:00 AM",
                        "/data/Sub/deep/a.txt|1 Bytes|12/6/2026 10:00:00 AM",
                        "/data/other.txt|1 Bytes|12/6/2026 10:00:00 AM"})});

    EXPECT_EQ(runEverywhere({"history", "* name.txt"}).out,
              "/data/new name.txt\n"
              "  2  12/7/2026 3:12:00 AM  appeared  3 Bytes  12/6/2026 10:00:00 AM\n"
              "/data/old name.txt\n"
              "  1  12/7/2026 3:11:00 AM  appeared  3 Bytes  12/6/2026 10:00:00 AM\n"
              "  2  12/7/2026 3:12:00 AM  vanished\n");
    EXPECT_EQ(runEverywhere({"history", "Sub/", "other.txt", "--exclude", "other.*"}).out,
              "/data/Sub/deep/a.txt\n"
              "  1  12/7/2026 3:11:00 AM  appeared  1 Bytes  12/6/2026 10:00:00 AM\n");
}

// "|" may be in a name (size and date texts never hold one); "?" stands for characters
// the log's encoding lacked, so two names may be logged alike: one path to a reader,
// whose first line counts.
TEST_F(History, NamesWithBarsAndQuestionMarksAreTheirOwnPaths) {
    writeLog({Entry(1, {"/data/a|b.txt|1 Bytes|12/6/2026 10:00:00 AM",
                        "/data/??.txt|2 Bytes|12/6/2026 10:00:00 AM",
                        "/data/??.txt|3 Bytes|12/6/2026 10:00:00 AM"}),
              Entry(2, {"/data/a|b.txt|5 Bytes|12/6/2026 10:00:00 AM",
                        "/data/??.txt|3 Bytes|12/6/2026 10:00:00 AM"}),
              Entry(3, {"/data/a|b.txt|5 Bytes|12/6/2026 10:00:00 AM"})});

    EXPECT_EQ(runEverywhere({"history", "a|b.txt"}).out,
              "/data/a|b.txt\n"
              "  1  12/7/2026 3:11:00 AM  appeared  1 Bytes  12/6/2026 10:00:00 AM\n"
              "  2  12/7/2026 3:12:00 AM  changed  1 Bytes -> 5 Bytes  12/6/2026 10:00:00 AM\n");
    // "?" in a pattern is any one character: "??.txt" is the name and "a|b.txt" is not.
    EXPECT_EQ(runEverywhere({"history", "??.txt"}).out,
              "/data/??.txt\n"
              "  1  12/7/2026 3:11:00 AM  appeared  2 Bytes  12/6/2026 10:00:00 AM\n"
              "  2  12/7/2026 3:12:00 AM  changed  2 Bytes -> 3 Bytes  12/6/2026 10:00:00 AM\n"
              "  3  12/7/2026 3:13:00 AM  vanished\n");
}

TEST_F(History, NothingMatchedIsStatus1AndAPatternThatCantBeReadIsStatus2) {
    writeLog({Entry(1, {"/data/a.txt|1 Bytes|12/6/2026 10:00:00 AM"})});

    const Answer none = runEverywhere({"history", "b.txt"});
    const Answer noneJson = run({"history", "b.txt", "--json"});
    const Answer broken = run({"history", "[b.txt"});
    const Answer nothing = run({"history"});

    EXPECT_EQ(none.status, 1);
    EXPECT_EQ(none.out, "");
    EXPECT_EQ(noneJson.out, "[]\n");
    EXPECT_EQ(broken.status, 2);
    EXPECT_EQ(broken.err,
              "kestrava-log: not a pattern: \"[b.txt\" (a \"[\" that is never closed) (see "
              "kestrava-log --help)\n");
    EXPECT_EQ(nothing.status, 2);
    EXPECT_EQ(nothing.err,
              "kestrava-log: history takes one pattern or more (see kestrava-log --help)\n");
}

// Only temporary files and a cache changed between the entries 2 and 3.
class Filters : public History {
protected:
    void SetUp() override {
        writeLog({Entry(1, {"/data/a.txt|1 Bytes|12/6/2026 10:00:00 AM",
                            "/data/x.tmp|1 Bytes|12/6/2026 10:00:00 AM"}),
                  Entry(2, {"/data/a.txt|2 Bytes|12/6/2026 10:00:00 AM",
                            "/data/x.tmp|1 Bytes|12/6/2026 10:00:00 AM",
                            "/data/node_modules/m/i.js|1 Bytes|12/6/2026 10:00:00 AM"}),
                  Entry(3, {"/data/a.txt|2 Bytes|12/6/2026 10:00:00 AM",
                            "/data/y.TMP|1 Bytes|12/6/2026 10:00:00 AM",
                            "/data/node_modules/m/i.js|9 Bytes|12/6/2026 10:00:00 AM",
                            "not a file line"})});
    }
};

TEST_F(Filters, EntriesCountsFollowTheFilter) {
    const Answer all = runEverywhere({"entries"});
    const Answer filtered =
        runEverywhere({"entries", "--exclude", "*.tmp", "--exclude", "node_modules/"});
    const Answer included = runEverywhere({"entries", "--json", "--include", "*.js"});

    EXPECT_EQ(all.out,
              "1  12/7/2026 3:11:00 AM  2 files\n"
              "2  12/7/2026 3:12:00 AM  3 files  +1 -0 M1\n"
              "3  12/7/2026 3:13:00 AM  3 files  +1 -1 M1\n");
    // Case counts in patterns but on Windows, where "y.TMP" is a temporary file too.
    EXPECT_EQ(filtered.out,
              "1  12/7/2026 3:11:00 AM  1 file\n"
              "2  12/7/2026 3:12:00 AM  1 file  +0 -0 M1\n" +
                  std::string(history::PatternRules::Platform().ignoreCase
                                  ? "3  12/7/2026 3:13:00 AM  1 file  +0 -0 M0\n"
                                  : "3  12/7/2026 3:13:00 AM  2 files  +1 -0 M0\n"));
    EXPECT_EQ(filtered.err,
              "kestrava-log: entry 3 holds 1 line that names no file (not "
              "path|size|date); left out\n");
    EXPECT_NE(included.out.find("{\"entry\": 2, \"date\": \"12/7/2026 3:12:00 AM\", \"files\": "
                                "1, \"changes\": {\"added\": 1, \"removed\": 0, \"modified\": 0}}"),
              std::string::npos)
        << included.out;
}

TEST_F(Filters, DiffListsAndStatusesFollowTheFilter) {
    const Answer all = runEverywhere({"diff", "2", "3"});
    const Answer filtered = runEverywhere({"diff", "2", "3", "--ignore-case", "--exclude", "*.tmp",
                                           "--exclude", "/data/node_modules/"});
    const Answer json = runEverywhere({"diff", "1", "2", "--json", "--exclude", "a.txt"});

    EXPECT_EQ(all.status, 1);
    EXPECT_EQ(filtered.status, 0);
    EXPECT_EQ(filtered.out,
              "entry 2 [12/7/2026 3:12:00 AM] to entry 3 [12/7/2026 3:13:00 AM]: no changes\n");
    EXPECT_EQ(json.status, 1);
    EXPECT_NE(json.out.find("\"modified\": []"), std::string::npos) << json.out;
    EXPECT_NE(json.out.find("\"path\": \"/data/node_modules/m/i.js\""), std::string::npos);
}

TEST_F(Filters, ShowLeavesExcludedFilesOut) {
    EXPECT_EQ(runEverywhere({"show", "2", "--exclude", "node_modules/", "--exclude", "x.*"}).out,
              "/data/a.txt|2 Bytes|12/6/2026 10:00:00 AM\n");
    EXPECT_EQ(runEverywhere({"show", "2", "--raw", "--include", "*.js"}).out,
              "[12/7/2026 3:12:00 AM]\r\nFile|Size|Date Modified\r\n"
              "/data/node_modules/m/i.js|1 Bytes|12/6/2026 10:00:00 AM\r\n");
    EXPECT_EQ(runEverywhere({"show", "1", "--csv", "--exclude", "/data/"}).out,
              "path,size,modified\r\n");
}

TEST_F(Filters, APatternFileThatCantBeReadIsStatus2NamingIt) {
    const std::string patterns = ProgramText(temporary.path() / "patterns.txt");
    std::ofstream(PathOfText(patterns), std::ios::binary) << "*.tmp\n[z-\n";

    for (const char* command : {"entries", "diff", "show", "history"}) {
        std::vector<std::string> arguments = {command, "--exclude-from", patterns};
        if (std::string(command) == "history") {
            arguments.push_back("a.txt");
        }
        const Answer answer = run(arguments);
        EXPECT_EQ(answer.status, 2) << command;
        EXPECT_EQ(answer.err, "kestrava-log: " + patterns +
                                  ", line 2: not a pattern: \"[z-\" (a \"[\" that is never "
                                  "closed)\n")
            << command;
        EXPECT_EQ(answer.out, "") << command;
    }
}

}  // namespace
}  // namespace kestrava::testing
