#include "core/Conversions.h"

#include <gtest/gtest.h>

#include "platform/RuntimeError.h"

namespace kestrava::core {
namespace {

int FailureOf(std::string_view text) {
    try {
        ToInt16(text);
    } catch (const platform::RuntimeError& error) {
        return error.number();
    }
    return 0;
}

TEST(ToInt16, ReadsStoredNumbers) {
    EXPECT_EQ(ToInt16("9"), 9);
    EXPECT_EQ(ToInt16(" 12 "), 12);
    EXPECT_EQ(ToInt16("+3"), 3);
    EXPECT_EQ(ToInt16("-32768"), -32768);
    EXPECT_EQ(ToInt16("2.5"), 2);
    EXPECT_EQ(ToInt16("3.5"), 4);
}

TEST(ToInt16, RefusesTextThatIsNotANumberAndNumbersTooLarge) {
    EXPECT_EQ(FailureOf("abc"), platform::error_number::TypeMismatch);
    EXPECT_EQ(FailureOf(""), platform::error_number::TypeMismatch);
    EXPECT_EQ(FailureOf("9x"), platform::error_number::TypeMismatch);
    EXPECT_EQ(FailureOf("nan"), platform::error_number::TypeMismatch);
    EXPECT_EQ(FailureOf("32768"), platform::error_number::Overflow);
    EXPECT_EQ(FailureOf("1e9"), platform::error_number::Overflow);
}

}  // namespace
}  // namespace kestrava::core
