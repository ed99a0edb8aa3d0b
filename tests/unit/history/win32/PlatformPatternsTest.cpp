#include <gtest/gtest.h>

#include "history/PathFilter.h"

namespace kestrava::history {
namespace {

TEST(PlatformPatternsTest, CaseIsIgnoredAndBothSeparatorsSeparate) {
    PathFilter filter;
    filter.add(PatternKind::Exclude, "/Cache/*.TMP");
    filter.add(PatternKind::Exclude, R"(\$RECYCLE.BIN\)");
    EXPECT_FALSE(filter.keeps(R"(cache\a.tmp)", false));
    EXPECT_FALSE(filter.keeps("CACHE/A.Tmp", false));
    EXPECT_TRUE(filter.keeps(R"(old\cache\a.tmp)", false));
    EXPECT_FALSE(filter.goesInto("$Recycle.Bin"));
    EXPECT_TRUE(filter.goesInto(R"(d\$Recycle.Bin)"));
}

}  // namespace
}  // namespace kestrava::history
