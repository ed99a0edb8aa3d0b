#include <gtest/gtest.h>

#include "history/PathFilter.h"

namespace kestrava::history {
namespace {

TEST(PlatformPatternsTest, CaseCountsAndABackslashEscapes) {
    PathFilter filter;
    filter.add(PatternKind::Exclude, "/Cache/*.TMP");
    filter.add(PatternKind::Exclude, R"(\#notes)");
    EXPECT_TRUE(filter.keeps("cache/a.tmp", false));
    EXPECT_FALSE(filter.keeps("Cache/a.TMP", false));
    EXPECT_FALSE(filter.keeps("#notes", false));
    EXPECT_TRUE(filter.keeps(R"(Cache\a.TMP)", false));  // one name, "Cache\a.TMP"
}

}  // namespace
}  // namespace kestrava::history
