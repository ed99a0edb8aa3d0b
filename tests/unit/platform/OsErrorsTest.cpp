#include "platform/OsErrors.h"

#include <gtest/gtest.h>

#include <cerrno>

namespace kestrava::platform {
namespace {

// The tree walk drops a folder silently only for 70 and 76, so these must hold.
TEST(RuntimeErrorFromOs, GivesTheNumbersCallersTestFor) {
    EXPECT_EQ(RuntimeErrorFromOs(EACCES).number(), 70);
    EXPECT_EQ(RuntimeErrorFromOs(EPERM).number(), 70);
    EXPECT_EQ(RuntimeErrorFromOs(ENOENT).number(), 76);
    EXPECT_EQ(RuntimeErrorFromOs(ENOTDIR).number(), 76);
    EXPECT_EQ(RuntimeErrorFromOs(ENOSPC).number(), 61);
    EXPECT_EQ(RuntimeErrorFromOs(EIO).number(), 57);
    EXPECT_EQ(RuntimeErrorFromOs(EACCES).description(), "Permission denied");
    EXPECT_EQ(RuntimeErrorFromOs(ENOENT).description(), "Path not found");
}

}  // namespace
}  // namespace kestrava::platform
