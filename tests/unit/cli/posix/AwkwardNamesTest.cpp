#include <gtest/gtest.h>

#include <filesystem>

#include "unit/cli/CliFixture.h"

namespace kestrava::testing {
namespace {

// Names as Linux allows them: with bars, control characters (which the log writes as
// "?"), quotes, and bytes that are no valid text at all.
class AwkwardNames : public CliFixture {};

TEST_F(AwkwardNames, TwoNamesTheLogWritesAlikeAreOnePathListedTwice) {
    makeFile(
        "ctl\x01"
        "a.txt",
        1);
    makeFile(
        "ctl\x02"
        "a.txt",
        2);
    makeFile("pipe|name.txt", 1);
    logFilesNow();
    std::filesystem::remove(tree.path() /
                            "ctl\x02"
                            "a.txt");
    std::filesystem::resize_file(tree.path() / "pipe|name.txt", 2048);
    SetModifiedTime(tree.path() / "pipe|name.txt", Dec6At1000);
    logFilesNow();

    const Answer answer = run({"diff"});

    EXPECT_EQ(answer.out, "- " + logged("ctl?a.txt") + "\nM " + logged("pipe|name.txt") +
                              "\nentry -2 [12/7/2026 3:17:16 AM] to entry -1 [12/7/2026 4:17:16 "
                              "AM]: 0 added, 1 removed, 1 modified\n");
    EXPECT_EQ(run({"entries"}).out,
              "1  12/7/2026 3:17:16 AM  3 files\n2  12/7/2026 4:17:16 AM  2 files  +0 -1 M1\n");
}

// Text and CSV keep the log's bytes; JSON is valid UTF-8 whatever the log holds.
TEST_F(AwkwardNames, JsonIsValidTextAndCsvQuotesWhatItMust) {
    makeFile("bad\xff.txt", 1);
    logFilesNow();
    makeFile("say \"hi\".txt", 1);
    std::filesystem::remove(tree.path() / "bad\xff.txt");
    logFilesNow();

    EXPECT_EQ(run({"show", "1"}).out, logged("bad\xff.txt") + "|1 Bytes|12/6/2026 10:00:00 AM\n");
    EXPECT_EQ(run({"show", "1", "--json"}).out,
              "[\n  {\"path\": \"" + logged("bad\xef\xbf\xbd.txt") +
                  "\", \"size\": \"1 Bytes\", \"modified\": \"12/6/2026 10:00:00 AM\"}\n]\n");
    EXPECT_EQ(run({"show", "--csv"}).out, "path,size,modified\r\n\"" +
                                              logged("say \"\"hi\"\".txt") +
                                              "\",1 Bytes,12/6/2026 10:00:00 AM\r\n");
    const std::string json = run({"diff", "--json"}).out;
    EXPECT_NE(json.find("\"path\": \"" + logged("say \\\"hi\\\".txt") + "\""), std::string::npos);
    EXPECT_NE(json.find("\"path\": \"" + logged("bad\xef\xbf\xbd.txt") + "\""), std::string::npos);
}

}  // namespace
}  // namespace kestrava::testing
