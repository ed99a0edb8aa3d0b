#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "fakes/ObservedFileSystem.h"
#include "unit/cli/CliFixture.h"

namespace kestrava::testing {
namespace {

class SnapshotExclude : public CliFixture {
protected:
    SnapshotExclude() {
        makeFile("notes.txt", 1536);
        makeFile("scratch.tmp", 10);
        makeFile("build/out.o", 100);
        makeFile("build/deep/more.o", 100);
        makeFile("src/build/kept.c", 5);
        makeFile("web/node_modules/lib/index.js", 7);
        makeFile("web/app.js", 7);
    }

    // The window's entry of the tree without the lines of the paths given.
    std::string windowEntryWithout(const std::vector<std::string>& leftOut) {
        const std::string windowLog = ProgramText(temporary.path() / "window.txt");
        engine::LogFilesNow(folder(), windowLog, rows, tools);
        std::string entry;
        const std::string whole = ReadWholeFile(PathOfText(windowLog));
        for (std::size_t at = 0; at < whole.size();) {
            const std::size_t end = whole.find('\n', at) + 1;
            const std::string line = whole.substr(at, end - at);
            bool kept = true;
            for (const std::string& relative : leftOut) {
                kept = kept && !line.starts_with(logged(relative) + "|");
            }
            if (kept) {
                entry += line;
            }
            at = end;
        }
        return entry;
    }
};

TEST_F(SnapshotExclude, LeavesOutWhatThePatternsNameAndNothingElse) {
    const std::string expected = windowEntryWithout(
        {"scratch.tmp", "build/out.o", "build/deep/more.o", "web/node_modules/lib/index.js"});

    const Answer answer = run({"snapshot", folder(), "--exclude", "*.tmp", "--exclude=/build/",
                               "--exclude", "node_modules"});

    EXPECT_EQ(answer.status, 0);
    EXPECT_EQ(answer.out + answer.err, "");
    EXPECT_EQ(log(), expected);
}

TEST_F(SnapshotExclude, PatternsThatMatchNothingLeaveTheWindowsEntry) {
    const std::string expected = windowEntryWithout({});
    EXPECT_EQ(run({"snapshot", "--exclude", "*.nothing", folder()}).status, 0);
    EXPECT_EQ(log(), expected);
}

TEST_F(SnapshotExclude, NeverReadsAFolderLeftOut) {
    // Listing build/ fails, so a snapshot that so much as opened it would report it.
    fakes::ObservedFileSystem failing(native.fileSystem());
    failing.failingFolder = logged("build");
    EXPECT_EQ(runOn(failing, {"snapshot", folder()}).status, 1);

    const Answer answer = runOn(failing, {"snapshot", folder(), "--exclude", "/build"});

    EXPECT_EQ(answer.status, 0);
    EXPECT_EQ(answer.err, "");
}

TEST_F(SnapshotExclude, ReadsPatternFilesInTheirPlaceAmongTheOptions) {
    const std::string expected = windowEntryWithout({"scratch.tmp", "build/out.o"});
    const std::string patterns =
        ProgramText(temporary.writeFile("patterns.txt", "# left out\r\n*.tmp\r\n\r\nbuild/*\r\n"));

    const Answer answer =
        run({"snapshot", folder(), "--exclude-from", patterns, "--include", "build/deep"});

    EXPECT_EQ(answer.status, 0);
    EXPECT_EQ(log(), expected);
}

TEST_F(SnapshotExclude, AFirstIncludeKeepsOnlyWhatIsIncluded) {
    const std::string expected =
        windowEntryWithout({"notes.txt", "scratch.tmp", "build/out.o", "build/deep/more.o",
                            "src/build/kept.c", "web/node_modules/lib/index.js"});
    EXPECT_EQ(run({"snapshot", folder(), "--include", "*.js", "--exclude", "node_modules/"}).status,
              0);
    EXPECT_EQ(log(), expected);
}

TEST_F(SnapshotExclude, APatternThatCantBeReadIsAUsageErrorAndNothingIsWritten) {
    const Answer answer = run({"snapshot", folder(), "--exclude", "report[2026"});
    EXPECT_EQ(answer.status, 2);
    EXPECT_EQ(answer.err,
              "kestrava-log: not a pattern: \"report[2026\" (a \"[\" that is never closed) (see "
              "kestrava-log --help)\n");

    const std::string patterns = ProgramText(temporary.writeFile("patterns.txt", "*.tmp\n[z-\n"));
    const Answer fromFile = run({"snapshot", folder(), "--exclude-from", patterns});
    EXPECT_EQ(fromFile.status, 2);
    EXPECT_EQ(fromFile.err,
              "kestrava-log: " + patterns +
                  ", line 2: not a pattern: \"[z-\" (a \"[\" that is never closed)\n");

    const Answer missing = run({"snapshot", folder(), "--exclude-from", patterns + ".gone"});
    EXPECT_EQ(missing.status, 2);
    EXPECT_TRUE(missing.err.starts_with("kestrava-log: the pattern file " + patterns +
                                        ".gone can't be read ("))
        << missing.err;
    EXPECT_FALSE(std::filesystem::exists(PathOfText(logPath)));
}

TEST_F(SnapshotExclude, OptionsThatAreMissingOrOutOfPlaceAreUsageErrors) {
    for (const auto& [arguments, message] :
         std::vector<std::pair<std::vector<std::string>, std::string>>{
             {{"snapshot", folder(), "--exclude"}, "--exclude names no pattern"},
             {{"snapshot", folder(), "--include"}, "--include names no pattern"},
             {{"snapshot", folder(), "--exclude-from="}, "--exclude-from names no file"},
             {{"snapshot", folder(), "--exclude", "/"}, "not a pattern: \"/\" (it names no file)"},
             {{"compact", "--exclude", "*.tmp"},
              "--include, --exclude, --exclude-from and --ignore-case are for the commands "
              "that read and for snapshot"},
             {{"prune", "--keep-last", "1", "--ignore-case"},
              "--include, --exclude, --exclude-from and --ignore-case are for the commands "
              "that read and for snapshot"}}) {
        const Answer answer = run(arguments);
        EXPECT_EQ(answer.status, 2);
        EXPECT_EQ(answer.err, "kestrava-log: " + message + " (see kestrava-log --help)\n");
    }
    EXPECT_FALSE(std::filesystem::exists(PathOfText(logPath)));
}

TEST_F(SnapshotExclude, IgnoresCaseWhenAsked) {
    const std::string expected = windowEntryWithout({"notes.txt", "web/app.js"});
    EXPECT_EQ(run({"snapshot", folder(), "--ignore-case", "--exclude", "NOTES.TXT", "--exclude",
                   "/Web/*.JS"})
                  .status,
              0);
    EXPECT_EQ(log(), expected);
}

}  // namespace
}  // namespace kestrava::testing
