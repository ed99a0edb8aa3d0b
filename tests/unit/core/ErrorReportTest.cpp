#include "core/ErrorReport.h"

#include <gtest/gtest.h>

#include <vector>

#include "core/LocationTags.h"
#include "core/StepTrap.h"
#include "fakes/FakeDialogs.h"

namespace kestrava::core {
namespace {

using platform::RuntimeError;

TEST(ErrorReport, TextHasDescriptionPlaceStepAndWhereToWrite) {
    EXPECT_EQ(ErrorReport::text(RuntimeError(70), location_tag::LogFilesNow, 132),
              "Permission denied\r\n"
              "in Ondrelix2021/08/31.IntervalSave.LogFilesNow at line 132\r\r"
              "Please email screenshot of this message to support@velquist.com");
}

TEST(ErrorReport, IsAWarningBoxWithOneOkButton) {
    fakes::FakeDialogs dialogs;
    ErrorReport(dialogs).show(RuntimeError(76), location_tag::FormLoad, 100);

    ASSERT_EQ(dialogs.shown.size(), 1u);
    EXPECT_EQ(dialogs.shown[0].caption, "Application Error");
    EXPECT_EQ(dialogs.shown[0].icon, platform::MessageIcon::Warning);
    EXPECT_EQ(dialogs.shown[0].buttons, platform::MessageButtons::Ok);
    EXPECT_EQ(dialogs.shown[0].text.substr(0, 16), "Path not found\r\n");
}

TEST(StepTrap, ReportsAFailedStepAndGoesOnWithTheNext) {
    fakes::FakeDialogs dialogs;
    const ErrorReport report(dialogs);
    const StepTrap trap(report, location_tag::Timer1);
    std::vector<int> ran;

    EXPECT_TRUE(trap.run(100, [&] { ran.push_back(100); }));
    EXPECT_FALSE(trap.run(102, [&] {
        ran.push_back(102);
        throw RuntimeError(13);
        ran.push_back(-1);
    }));
    EXPECT_TRUE(trap.run(104, [&] { ran.push_back(104); }));

    EXPECT_EQ(ran, (std::vector<int>{100, 102, 104}));
    ASSERT_EQ(dialogs.shown.size(), 1u);
    EXPECT_EQ(dialogs.shown[0].text,
              ErrorReport::text(RuntimeError(13), location_tag::Timer1, 102));
}

}  // namespace
}  // namespace kestrava::core
