#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <map>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "cli/ReportData.h"
#include "cli/SizeText.h"
#include "history/FileLine.h"
#include "unit/cli/CliFixture.h"

namespace kestrava::testing {
namespace {

// One entry of a report's data, and its files rebuilt from the entries before it.
struct ReportedEntry {
    std::string header;  // number|files|bytes|added|removed|modified, then |date
    std::vector<std::string> files;
};

std::vector<std::string> Fields(const std::string& line) {
    std::vector<std::string> fields;
    std::istringstream in(line);
    for (std::string field; std::getline(in, field, '|');) {
        fields.push_back(field);
    }
    return fields;
}

// Walks the data as the page does: the first entry's files, then what each next one
// took away and brought.
std::vector<ReportedEntry> ReadData(const std::string& data) {
    std::istringstream in(data);
    std::string line;
    std::getline(in, line);
    EXPECT_EQ(line, "KESTRAVA REPORT 1");
    std::vector<ReportedEntry> entries;
    std::vector<std::string> files;
    while (std::getline(in, line) && line.starts_with("E|")) {
        const std::vector<std::string> fields = Fields(line);
        for (int gone = std::stoi(fields[7]); gone > 0; --gone) {
            std::getline(in, line);
            const auto at = std::find(files.begin(), files.end(), line);
            EXPECT_NE(at, files.end()) << "gone, but not there: " << line;
            if (at != files.end()) {
                files.erase(at);
            }
        }
        for (int came = std::stoi(fields[8]); came > 0; --came) {
            std::getline(in, line);
            files.push_back(line);
        }
        std::string header = fields[1];
        for (std::size_t at = 2; at < fields.size(); ++at) {
            header += '|' + (at == 7 || at == 8 ? std::string() : fields[at]);
        }
        entries.push_back({header, files});
    }
    return entries;
}

std::vector<std::string> Sorted(std::vector<std::string> lines) {
    std::sort(lines.begin(), lines.end());
    return lines;
}

class Report : public CliFixture {
protected:
    // Entries of a tree where files come, change and go.
    void logEntries(int count) {
        for (int entry = 0; entry < count; ++entry) {
            makeFile("kept.txt", 10);
            makeFile("a b/grows.bin", 1000 * (entry + 1));
            makeFile("sub/new " + std::to_string(entry) + ".log", 1536);
            if (entry % 2 == 1) {
                std::filesystem::remove(tree.path() / "sub" /
                                        ("new " + std::to_string(entry - 1) + ".log"));
            }
            logFilesNow();
        }
    }

    std::string data(std::uint64_t first, std::uint64_t last,
                     const history::PathFilter& filter = history::PathFilter()) {
        std::ostringstream out;
        std::ostringstream err;
        cli::Console console(out, err, native.englishLocale());
        cli::HistoryLog history(native.fileSystem(), logPath, console);
        return cli::CollectReportData(history, first, last, filter, native.englishLocale());
    }

    // What entries --json and show --raw say of an entry, as the data holds it.
    ReportedEntry expected(int number, bool first) {
        const std::string json = run({"entries", "--json"}).out;
        const std::string key = "{\"entry\": " + std::to_string(number) + ", ";
        const std::size_t at = json.find(key);
        const std::string object = json.substr(at, json.find('}', at) - at);
        const auto value = [&](const std::string& name) {
            const std::size_t start = object.find("\"" + name + "\": ") + name.size() + 4;
            return object.substr(start, object.find_first_of(",}", start) - start);
        };
        std::vector<std::string> files;
        double bytes = 0;
        const std::string raw = run({"show", std::to_string(number), "--raw"}).out;
        std::size_t line = raw.find("Date Modified\r\n") + 15;
        while (line < raw.size()) {
            const std::string_view text = history::NextLine(raw, line);
            if (const auto file = history::ParseFileLine(text)) {
                files.emplace_back(text);
                bytes += cli::BytesOfSizeText(file->size).value_or(0);
            }
        }
        const std::string date = value("date");
        std::string header = std::to_string(number) + '|' + value("files") + '|' +
                             std::to_string(std::llround(bytes)) + '|';
        header += first ? "||" : value("added") + '|' + value("removed") + '|' + value("modified");
        header += "|||" + date.substr(1, date.size() - 2);
        return {header, Sorted(files)};
    }
};

TEST(SizeText, ReadsBackWhatTheLogWrites) {
    EXPECT_EQ(cli::BytesOfSizeText("0 Bytes"), 0.0);
    EXPECT_EQ(cli::BytesOfSizeText("999 Bytes"), 999.0);
    EXPECT_EQ(cli::BytesOfSizeText("1.5 KB"), 1536.0);
    EXPECT_EQ(cli::BytesOfSizeText("1,5 KB"), 1536.0);
    EXPECT_EQ(cli::BytesOfSizeText("1\xD9\xAB"
                                   "5 KB"),
              1536.0);  // a separator of two bytes
    EXPECT_EQ(cli::BytesOfSizeText("2 GB"), 2.0 * 1024 * 1024 * 1024);
    EXPECT_EQ(cli::BytesOfSizeText("1.2 TB"), 1.2 * 1024 * 1024 * 1024 * 1024);
    for (const char* text : {"", "KB", " KB", "1.5", "1.5 kb", "1.5.5 KB", ".5 KB", "x KB"}) {
        EXPECT_EQ(cli::BytesOfSizeText(text), std::nullopt) << text;
    }
}

// Every entry of the data, stored or in the text log, is what entries and show say of
// it: its counts, its date, its files rebuilt from what changed, and their sizes summed.
TEST_F(Report, EachEntryIsWhatEntriesAndShowSayOfIt) {
    logEntries(4);
    ASSERT_EQ(run({"compact"}).status, 0);
    logEntries(3);
    for (const auto& [first, last] : {std::pair{1, 7}, std::pair{2, 3}, std::pair{5, 7},
                                      std::pair{3, 6}, std::pair{4, 5}, std::pair{7, 7}}) {
        const std::vector<ReportedEntry> entries = ReadData(data(first, last));
        ASSERT_EQ(entries.size(), static_cast<std::size_t>(last - first + 1));
        for (int number = first; number <= last; ++number) {
            const ReportedEntry& reported = entries[static_cast<std::size_t>(number - first)];
            const ReportedEntry wanted = expected(number, number == 1);
            EXPECT_EQ(reported.header, wanted.header) << first << " to " << last;
            EXPECT_EQ(Sorted(reported.files), wanted.files) << "entry " << number;
        }
    }
}

TEST_F(Report, HoldsOnlyWhatTheFilterKeeps) {
    logEntries(3);
    ASSERT_EQ(run({"compact"}).status, 0);
    logEntries(2);
    history::PathFilter filter;
    filter.add(history::PatternKind::Exclude, "*.log");
    const std::vector<ReportedEntry> entries = ReadData(data(1, 5, filter));
    history::PathFilter folderFilter;  // the .log files are all in sub
    folderFilter.add(history::PatternKind::Exclude, "sub/");
    EXPECT_EQ(data(1, 5, folderFilter), data(1, 5, filter));
    ASSERT_EQ(entries.size(), 5U);
    for (const ReportedEntry& entry : entries) {
        EXPECT_EQ(entry.files.size(), 2U);
        for (const std::string& file : entry.files) {
            EXPECT_EQ(file.find(".log|"), std::string::npos) << file;
        }
        EXPECT_EQ(Fields(entry.header)[1], "2");
    }
    // The file that grows is modified in every entry after the first, and nothing else.
    EXPECT_EQ(Fields(entries[1].header)[3], "0");
    EXPECT_EQ(Fields(entries[1].header)[4], "0");
    EXPECT_EQ(Fields(entries[4].header)[5], "1");
}

TEST_F(Report, WritesOnePageThatHoldsEverything) {
    logEntries(2);
    const std::string page = ProgramText(temporary.path() / "report.html");

    const Answer written = run({"--log", logPath, "report", "--html", page});

    EXPECT_EQ(written.status, 0) << written.err;
    const std::string html = ReadWholeFile(PathOfText(page));
    EXPECT_TRUE(html.starts_with("<!DOCTYPE html>"));
    for (const char* marker : {"@STYLE@", "@DATA@", "@SCRIPT@", "src=", "href="}) {
        EXPECT_EQ(html.find(marker), std::string::npos) << marker;
    }
    EXPECT_NE(html.find("DecompressionStream"), std::string::npos);
    EXPECT_FALSE(std::filesystem::exists(PathOfText(page + ".new")));
}

TEST_F(Report, RefusesWhatItCantDo) {
    logEntries(3);
    const std::string page = ProgramText(temporary.path() / "report.html");
    const auto status = [&](const std::vector<std::string>& arguments) {
        std::vector<std::string> all = {"--log", logPath};
        all.insert(all.end(), arguments.begin(), arguments.end());
        return run(all);
    };
    EXPECT_EQ(status({"report"}).status, 2);
    EXPECT_EQ(status({"report", "--html", page, "--json"}).status, 2);
    EXPECT_EQ(status({"report", "1", "2", "3", "--html", page}).status, 2);
    EXPECT_EQ(status({"entries", "--html", page}).status, 2);
    const Answer missing = status({"report", "4", "--html", page});
    EXPECT_EQ(missing.status, 2);
    EXPECT_EQ(missing.err, "kestrava-log: there is no entry 4: the log holds 3 whole entries\n");
    EXPECT_EQ(status({"report", "3", "1", "--html", page}).status, 2);
    EXPECT_FALSE(std::filesystem::exists(PathOfText(page)));
    EXPECT_EQ(status({"report", "-2", "--html", page}).status, 0);
    EXPECT_EQ(status({"report", "--exclude", "*.log", "--html", page}).status, 0);
}

}  // namespace
}  // namespace kestrava::testing
