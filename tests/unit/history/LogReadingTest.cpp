#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "fakes/ObservedFileSystem.h"
#include "history/EntryIndex.h"
#include "history/LogEnd.h"
#include "history/LogFile.h"
#include "support/NativePaths.h"
#include "support/NativeSeams.h"
#include "support/TemporaryFolder.h"

namespace kestrava::history {
namespace {

using testing::ProgramText;

std::string EntryText(const std::string& date, const std::vector<std::string>& files = {}) {
    std::string text = "[" + date + "]\r\nFile|Size|Date Modified\r\n";
    for (const std::string& file : files) {
        text += file + "\r\n";
    }
    return text;
}

class LogReading : public ::testing::Test {
protected:
    std::string writeLog(const std::string& bytes) const {
        return ProgramText(folder.writeFile("Kestrava.txt", bytes));
    }

    // The dates of the whole entries, oldest first, as an index finds them from the
    // newest; and the torn entry's date, "-" when there is none.
    std::pair<std::vector<std::string>, std::string> read(const std::string& bytes) {
        const LogFile log(native.fileSystem(), writeLog(bytes));
        const LogEnd end = FindLogEnd(log);
        EntryIndex index(log, end);
        std::vector<std::string> dates;
        for (std::int64_t number = 1; const auto span = index.entry(number); ++number) {
            EXPECT_EQ(span->date,
                      index.entry(number - 1 - static_cast<std::int64_t>(index.count()))->date);
            dates.push_back(span->date);
        }
        return {dates, end.torn ? end.torn->date : "-"};
    }

    testing::TemporaryFolder folder;
    testing::NativeSeams native;
};

using Dates = std::vector<std::string>;

TEST_F(LogReading, NumbersWholeEntriesFromTheOldestAndFromTheNewest) {
    const std::string log = EntryText("d1", {"/w/a|1 KB|d"}) + EntryText("d2") +
                            EntryText("d3", {"/w/[x]|1 KB|d", "/w/b|2 KB|d"});
    const LogFile file(native.fileSystem(), writeLog(log));
    EntryIndex index(file, FindLogEnd(file));

    EXPECT_EQ(index.entry(-1)->date, "d3");
    EXPECT_EQ(index.entry(-3)->date, "d1");
    EXPECT_EQ(index.entry(2)->date, "d2");
    EXPECT_FALSE(index.entry(4));
    EXPECT_FALSE(index.entry(-4));
    EXPECT_FALSE(index.entry(0));
    EXPECT_EQ(index.count(), 3u);
    const auto newest = index.entry(-1);
    EXPECT_EQ(file.read(newest->filesStart, newest->end), "/w/[x]|1 KB|d\r\n/w/b|2 KB|d\r\n");
    const auto empty = index.entry(2);
    EXPECT_EQ(empty->filesStart, empty->end);
}

// Where the log was cut while an entry was written, the whole entries before it stay.
TEST_F(LogReading, ANewestEntryCutShortIsTornAndTheOthersStay) {
    const std::string whole = EntryText("d1", {"/w/a|1 KB|d"}) + EntryText("d2", {"/w/b|1 KB|d"});
    const std::string next = EntryText("d3", {"/w/c|1 KB|d"});

    EXPECT_EQ(read(whole), std::pair(Dates{"d1", "d2"}, std::string("-")));
    // Cut within a file line: the entry it belongs to is torn.
    EXPECT_EQ(read(whole + "[d3]\r\nFile|Size|Date Modified\r\n/w/c|1 K"),
              std::pair(Dates{"d1", "d2"}, std::string("d3")));
    EXPECT_EQ(read(whole.substr(0, whole.size() - 3)), std::pair(Dates{"d1"}, std::string("d2")));
    // Cut in the new entry's first two lines.
    for (const std::size_t length : {1, 3, 4, 5, 6, 10, 30}) {
        EXPECT_EQ(read(whole + next.substr(0, length)).first, (Dates{"d1", "d2"})) << length;
    }
    EXPECT_EQ(read(whole + "[d3]").second, "d3");
    EXPECT_EQ(read(whole + "[d3]\r\nFile|Si").second, "d3");
    EXPECT_EQ(read(whole + "[d3]\r\nFile|Size|Date Modified\r").second, "d3");
    EXPECT_EQ(read(whole + "[d3]\r\nFile|Size|Date Modified\r\n"),
              std::pair(Dates{"d1", "d2", "d3"}, std::string("-")));
    EXPECT_EQ(read(EntryText("d1").substr(0, 8)), std::pair(Dates{}, std::string("d1")));
}

// An entry begins only where a date line, at a line's start, is followed at once by the
// header line; line ends may be LF alone.
TEST_F(LogReading, WhatOnlyLooksLikeAnEntryIsNone) {
    const std::string longDate(300, 'x');
    const std::string log = "[not a date\r\nFile|Size|Date Modified\r\n" + EntryText("d1") +
                            "[d2]\r\n/w/a|1 KB|d\r\n/w/x[d3]\r\nFile|Size|Date Modified\r\n" + "[" +
                            longDate + "]\r\nFile|Size|Date Modified\r\n" +
                            "[d4]\nFile|Size|Date Modified\n/w/b|1 KB|d\n" +
                            "[d5]\r\nFile|Size|Date Modified|\r\n";

    EXPECT_EQ(read(log).first, (Dates{"d1", "d4"}));
    EXPECT_EQ(read("no entry here\r\n").first, Dates{});
    EXPECT_EQ(read(std::string("\0\x01[\xff]\0", 6)).first, Dates{});
}

// The newest entries are found from the end: however long the log, finding them reads
// about as much as they hold.
TEST_F(LogReading, TheNewestEntriesCostNoMoreReadingThanTheyHold) {
    const std::string path = writeLog(EntryText("d1", {"/w/a|1 KB|d"}));
    std::filesystem::resize_file(testing::PathOfText(path), 200 * 1024 * 1024);
    std::ofstream(testing::PathOfText(path), std::ios::binary | std::ios::app)
        << "\r\n"
        << EntryText("d2", {"/w/a|1 KB|d"}) << EntryText("d3", {"/w/a|2 KB|d"});
    fakes::ObservedFileSystem observed(native.fileSystem());
    const LogFile log(observed, path);
    EntryIndex index(log, FindLogEnd(log));

    EXPECT_EQ(index.entry(-2)->date, "d2");
    EXPECT_EQ(index.entry(-1)->date, "d3");
    EXPECT_LT(observed.bytesRead(), 1024u * 1024u);
    EXPECT_EQ(index.entry(1)->date, "d1");
}

}  // namespace
}  // namespace kestrava::history
