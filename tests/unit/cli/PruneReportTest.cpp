#include "cli/PruneReport.h"

#include <gtest/gtest.h>

#include <sstream>

#include "support/NativeSeams.h"

namespace kestrava::cli {
namespace {

using history::KeepReason;

history::EntryVerdict Verdict(std::int64_t number, std::string date,
                              std::initializer_list<KeepReason> reasons) {
    history::EntryVerdict verdict{number, std::move(date), {}};
    for (const KeepReason reason : reasons) {
        verdict.reasons.add(reason);
    }
    return verdict;
}

class PruneReportTest : public ::testing::Test {
protected:
    std::string report(Format format, bool dryRun) {
        std::ostringstream out;
        std::ostringstream err;
        Console console(out, err, seams.englishLocale());
        WritePruneReport(verdicts, format, dryRun, console);
        EXPECT_EQ(err.str(), "");
        return out.str();
    }

    testing::NativeSeams seams;
    std::vector<history::EntryVerdict> verdicts{
        Verdict(1, "12/6/2026 11:00:00 PM", {KeepReason::Oldest, KeepReason::Daily}),
        Verdict(2, "12/7/2026 12:00:07 AM", {}),
        Verdict(3, "Nikolaus \"1\"", {KeepReason::UnreadableDate}),
        Verdict(4, "12/7/2026 1:00:07 AM", {KeepReason::Hourly, KeepReason::Newest}),
    };
};

TEST_F(PruneReportTest, GivesEveryEntryWithTheRulesThatKeepItAndTheCounts) {
    EXPECT_EQ(report(Format::Text, false),
              "1  12/6/2026 11:00:00 PM  keep  oldest, daily\n"
              "2  12/7/2026 12:00:07 AM  remove\n"
              "3  Nikolaus \"1\"  keep  unreadable date\n"
              "4  12/7/2026 1:00:07 AM  keep  newest, hourly\n"
              "3 entries kept, 1 entry removed\n");
    EXPECT_EQ(report(Format::Text, true).substr(report(Format::Text, true).rfind("3 entries")),
              "3 entries kept, 1 entry would be removed (a dry run: nothing was changed)\n");
}

TEST_F(PruneReportTest, GivesTheSameAsJson) {
    EXPECT_EQ(report(Format::Json, true),
              "[\n"
              "  {\"entry\": 1, \"date\": \"12/6/2026 11:00:00 PM\", \"kept\": true, "
              "\"rules\": [\"oldest\", \"daily\"]},\n"
              "  {\"entry\": 2, \"date\": \"12/7/2026 12:00:07 AM\", \"kept\": false, "
              "\"rules\": []},\n"
              "  {\"entry\": 3, \"date\": \"Nikolaus \\\"1\\\"\", \"kept\": true, "
              "\"rules\": [\"unreadable date\"]},\n"
              "  {\"entry\": 4, \"date\": \"12/7/2026 1:00:07 AM\", \"kept\": true, "
              "\"rules\": [\"newest\", \"hourly\"]}\n"
              "]\n");
    verdicts.clear();
    EXPECT_EQ(report(Format::Json, false), "[]\n");
}

}  // namespace
}  // namespace kestrava::cli
