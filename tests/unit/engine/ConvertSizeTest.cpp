#include "engine/ConvertSize.h"

#include <gtest/gtest.h>

#include <cmath>
#include <utility>
#include <vector>

#include "core/LocationTags.h"
#include "fakes/FakeDialogs.h"
#include "platform/RuntimeError.h"

namespace kestrava::engine {
namespace {

class ConvertSizeTest : public ::testing::Test {
protected:
    std::string convert(double size, std::string_view separator = ".") {
        return ConvertSize(size, separator, report);
    }

    fakes::FakeDialogs dialogs;
    core::ErrorReport report{dialogs};
};

TEST_F(ConvertSizeTest, FollowsTheTable) {
    const std::vector<std::pair<double, std::string>> table{
        {0, "0 Bytes"},
        {1, "1 Bytes"},
        {1023, "1023 Bytes"},
        {1024, "1 KB"},
        {1025, "1 KB"},
        {1280, "1.2 KB"},  // 1.25: half to even
        {1536, "1.5 KB"},
        {1792, "1.8 KB"},  // 1.75: half to even
        {10240, "10 KB"},
        {1048575, "1024 KB"},  // the unit stays when rounding reaches 1024
        {1048576, "1 MB"},
        {5000000, "4.8 MB"},
        {123456789, "117.7 MB"},
        {1073741823, "1024 MB"},
        {1073741824, "1 GB"},
        {1099511627776, "1 TB"},
        {1125899906842624, "1024 TB"},  // nothing above TB
        {9223372036854775807.0, "8388608 TB"},
    };
    for (const auto& [bytes, text] : table) {
        EXPECT_EQ(convert(bytes), text) << "bytes: " << bytes;
    }
    EXPECT_TRUE(dialogs.shown.empty());
}

TEST_F(ConvertSizeTest, WritesTheLocalesDecimalSeparator) {
    EXPECT_EQ(convert(1536, ","), "1,5 KB");
    EXPECT_EQ(convert(123456789, ","), "117,7 MB");
    EXPECT_EQ(convert(10240, ","), "10 KB");
    EXPECT_EQ(convert(1536, "\xd9\xab"),
              "1\xd9\xab"
              "5 KB");  // Arabic decimal separator
}

TEST_F(ConvertSizeTest, ReportsACountNoFileCanHaveOnce) {
    EXPECT_EQ(convert(-1), "");
    EXPECT_EQ(convert(std::nan("")), "");
    ASSERT_EQ(dialogs.shown.size(), 2u);
    EXPECT_EQ(dialogs.shown[0].text,
              core::ErrorReport::text(
                  platform::RuntimeError(platform::error_number::InvalidProcedureCall),
                  core::location_tag::ConvertSize, 106));
}

}  // namespace
}  // namespace kestrava::engine
