#include "platform/OsErrors.h"

#include <gtest/gtest.h>
#include <windows.h>

namespace kestrava::platform {
namespace {

int NumberFor(DWORD code) {
    return RuntimeErrorFromOs(static_cast<int>(code)).number();
}

// The walk drops a folder silently only for 70 and 76, and a snapshot takes 53 and 76
// for a missing folder: these must hold.
TEST(RuntimeErrorFromWin32, GivesTheNumbersCallersTestFor) {
    EXPECT_EQ(NumberFor(ERROR_ACCESS_DENIED), 70);
    EXPECT_EQ(NumberFor(ERROR_SHARING_VIOLATION), 70);
    EXPECT_EQ(NumberFor(ERROR_FILE_NOT_FOUND), 53);
    EXPECT_EQ(NumberFor(ERROR_PATH_NOT_FOUND), 76);
    EXPECT_EQ(NumberFor(ERROR_INVALID_NAME), 52);
    EXPECT_EQ(NumberFor(ERROR_FILENAME_EXCED_RANGE), 52);
    EXPECT_EQ(NumberFor(ERROR_DISK_FULL), 61);
    EXPECT_EQ(NumberFor(ERROR_NOT_READY), 71);
    EXPECT_EQ(NumberFor(ERROR_NOT_ENOUGH_MEMORY), 7);
    EXPECT_EQ(NumberFor(ERROR_INVALID_FUNCTION), 75);
    EXPECT_EQ(RuntimeErrorFromOs(ERROR_PATH_NOT_FOUND).description(), "Path not found");
}

}  // namespace
}  // namespace kestrava::platform
