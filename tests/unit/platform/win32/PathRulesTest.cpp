#include "platform/PathRules.h"

#include <gtest/gtest.h>

#include <string>

namespace kestrava::platform {
namespace {

TEST(WindowsPathRules, WriteBackslashesAndStopAtMaxPath) {
    EXPECT_EQ(PathSeparator, '\\');
    EXPECT_EQ(PathLengthLimit, 260u);
    EXPECT_TRUE(WalksLinkedFolders);
}

// MAX_PATH counts UTF-16 characters, not the bytes of the program's UTF-8.
TEST(WindowsPathRules, CountPathsInUtf16Characters) {
    EXPECT_EQ(PathLength("C:\\Data\\notes.txt"), 17u);
    EXPECT_EQ(PathLength("C:\\\xc3\xbc"), 4u);          // ü: two bytes, one character
    EXPECT_EQ(PathLength("C:\\\xe6\x97\xa5"), 4u);      // 日: three bytes, one character
    EXPECT_EQ(PathLength("C:\\\xf0\x9f\x98\x80"), 5u);  // an emoji: a surrogate pair
    EXPECT_EQ(PathLength(std::string(259, 'x')), 259u);
}

TEST(WindowsPathRules, KnowDriveAndShareRoots) {
    for (const char* root :
         {"C:\\", "C:", "d:/", "\\", "\\\\server\\share", "\\\\server\\share\\"}) {
        EXPECT_TRUE(IsRootPath(root)) << root;
    }
    for (const char* path : {"", "C:\\Data", "C:\\Data\\", "C:\\\\", "\\\\server", "\\\\server\\",
                             "\\\\server\\share\\folder", "Data"}) {
        EXPECT_FALSE(IsRootPath(path)) << path;
    }
}

}  // namespace
}  // namespace kestrava::platform
