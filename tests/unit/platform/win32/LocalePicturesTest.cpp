#include "platform/win32/LocalePictures.h"

#include <gtest/gtest.h>

namespace kestrava::platform {
namespace {

std::wstring Date(std::wstring_view picture) {
    return PatternOfPicture(picture, PictureKind::Date, L"A.D.");
}

std::wstring Time(std::wstring_view picture) {
    return PatternOfPicture(picture, PictureKind::Time, {});
}

TEST(PatternOfPicture, KeepsTheFieldsBothWritersShare) {
    EXPECT_EQ(Date(L"M/d/yyyy"), L"M/d/yyyy");
    EXPECT_EQ(Date(L"dd.MM.yy"), L"dd.MM.yy");
    EXPECT_EQ(Date(L"dddd, MMMM d, yyyy"), L"dddd, MMMM d, yyyy");
    EXPECT_EQ(Date(L"yyyy\x5e74M\x6708"
                   L"d\x65e5"),
              L"yyyy\x5e74M\x6708"
              L"d\x65e5");
    EXPECT_EQ(Time(L"HH:mm:ss"), L"HH:mm:ss");
    EXPECT_EQ(Time(L"H:m:s"), L"H:m:s");
}

TEST(PatternOfPicture, WritesTheMarkerAsTheLocaleWritesIt) {
    EXPECT_EQ(Time(L"h:mm:ss tt"), L"h:mm:ss Ap");
    EXPECT_EQ(Time(L"tth:mm:ss"), L"Aph:mm:ss");
    EXPECT_EQ(Time(L"hh:mm t"), L"hh:mm A");
}

// Letters that are text in a picture would be fields in the pattern, where a date and
// a time are read as one format: "h" of a Spanish "de" or of a time zone name.
TEST(PatternOfPicture, QuotesEveryLetterThatIsText) {
    EXPECT_EQ(Date(L"d' de 'MMMM' de 'yyyy"), L"d' de 'MMMM' de 'yyyy");
    EXPECT_EQ(Date(L"d.MM.yyyy '\x433'."), L"d.MM.yyyy \x433.");
    EXPECT_EQ(Time(L"'Klock' H.mm:ss"), L"'Klock 'H.mm:ss");
    EXPECT_EQ(Time(L"H'h'mm:ss"), L"H'h'mm:ss");
    EXPECT_EQ(Date(L"ddMM hmst"), L"ddMM' hmst'");  // a date picture's h m s t are text
    EXPECT_EQ(Time(L"HH:mm dMy"), L"HH:mm' dMy'");
    EXPECT_EQ(Date(L"gg yyyy"), L"'A.D. 'yyyy");
}

// A quote right after an opening quote would be read as a quote of its own.
TEST(PatternOfPicture, WritesQuotesSoThatTheyReadBackAsQuotes) {
    EXPECT_EQ(Time(L"HH''mm"), L"HH''mm");
    EXPECT_EQ(Time(L"HH'o''clock'"), L"HH'o''clock'");
    EXPECT_EQ(Time(L"HH ''x'"), L"HH' ''x'");
    EXPECT_EQ(Time(L"HH' ''x'"), L"HH' ''x'");
}

TEST(PatternOfPicture, TakesLongRunsAndLonelyYearsAsTheyComeClosest) {
    EXPECT_EQ(Date(L"dddddd MMMMM yyyyy"), L"dddd MMMM yyyy");
    EXPECT_EQ(Date(L"d/M/y"), L"d/M/yy");
    EXPECT_EQ(Time(L"hhh:mmm"), L"hh:mm");
}

}  // namespace
}  // namespace kestrava::platform
