#include <gtest/gtest.h>

#include "unit/cli/CliFixture.h"

namespace kestrava::testing {
namespace {

using SnapshotExcludeOnWindows = CliFixture;

// Names compare without case, as the file system compares them, and a pattern may
// separate its folders with "\" as well as "/".
TEST_F(SnapshotExcludeOnWindows, IgnoresCaseAndTakesEitherSeparator) {
    makeFile("notes.txt", 1);
    makeFile("Thumbs.DB", 1);
    makeFile("Node_Modules/lib/x.js", 1);
    makeFile("Build/out.o", 1);
    makeFile("src/build/kept.c", 1);
    makeFile("src/Cache/a.tmp", 1);

    const Answer answer = run({"snapshot", folder(), "--exclude", "node_modules/", "--exclude",
                               "\\build\\", "--exclude", "thumbs.db", "--exclude", "SRC/cache/*"});

    EXPECT_EQ(answer.status, 0) << answer.err;
    EXPECT_EQ(run({"show"}).out, logged("notes.txt") + "|1 Bytes|12/6/2026 10:00:00 AM\n" +
                                     logged("src/build/kept.c") +
                                     "|1 Bytes|12/6/2026 10:00:00 AM\n");
}

}  // namespace
}  // namespace kestrava::testing
