#include "history/ShapedText.h"

#include <gtest/gtest.h>

#include <array>
#include <string>
#include <vector>

#include "history/StoreBytes.h"

namespace kestrava::history {
namespace {

TEST(ShapedText, EveryTextComesBackAsItWasLeadingZerosLongRunsAndShapeBytesIncluded) {
    const std::vector<std::string> texts = {"7/27/2022 2:15:43 AM",
                                            "07.12.2026 00:00:07",
                                            "32.5 KB",
                                            "0 Bytes",
                                            "",
                                            "12345678901234567890123",
                                            "000",
                                            "a\x01\x09\x0b\x0c"
                                            "b",
                                            "\r",
                                            "1 2 3 4 5 6 7 8 9 10 11"};
    std::string shapes;
    std::array<std::string, 3> numbers;
    for (const std::string& text : texts) {
        PutShaped(text, shapes, numbers);
    }

    std::array<ByteReader, 3> readers = {ByteReader(numbers[0]), ByteReader(numbers[1]),
                                         ByteReader(numbers[2])};
    std::size_t at = 0;
    std::string text;
    for (const std::string& expected : texts) {
        ASSERT_TRUE(TakeShaped(shapes, at, readers, text));
        EXPECT_EQ(text, expected);
    }
    EXPECT_EQ(at, shapes.size());
    EXPECT_FALSE(TakeShaped(shapes, at, readers, text));
}

TEST(ShapedText, DatesOfOneShapeCostTheirNumbersAlone) {
    std::string shapes;
    std::array<std::string, 8> numbers;
    PutShaped("12/7/2026 12:00:07 AM", shapes, numbers);
    PutShaped("1/17/2019 9:29:06 PM", shapes, numbers);

    EXPECT_EQ(shapes, "\x02/\x01/\x04 \x02:\x02:\x02 AM\n\x01/\x02/\x04 \x01:\x02:\x02 PM\n");
    EXPECT_EQ(numbers[2].size(), 4U);  // two years, two bytes each
}

TEST(ShapedText, ANumberLongerThanItsRunOrMissingIsDamage) {
    std::string shapes;
    std::array<std::string, 1> numbers;
    PutShaped("12", shapes, numbers);
    std::string tooLong;
    PutNumber(tooLong, 123);
    std::array<ByteReader, 1> readers = {ByteReader(tooLong)};
    std::size_t at = 0;
    std::string text;
    EXPECT_FALSE(TakeShaped(shapes, at, readers, text));

    readers = {ByteReader("")};
    at = 0;
    EXPECT_FALSE(TakeShaped(shapes, at, readers, text));
}

TEST(StoreBytes, OneInflaterTakesStreamAfterStreamAndRefusesOnesThatDontFit) {
    const std::string first(5000, 'a');
    const std::string second = "7/27/2022 2:15:43 AM\n1/17/2019 9:29:06 PM\n";
    Inflater inflater;
    std::string out;
    ASSERT_TRUE(inflater.inflate(Deflate(first), first.size(), out));
    EXPECT_EQ(out, first);
    ASSERT_TRUE(inflater.inflate(Deflate(second), second.size(), out));
    EXPECT_EQ(out, second);

    EXPECT_FALSE(inflater.inflate(Deflate(second), second.size() - 1, out));
    EXPECT_FALSE(inflater.inflate(Deflate(second), second.size() + 1, out));
    EXPECT_FALSE(inflater.inflate(Deflate(second) + "x", second.size(), out));
    EXPECT_FALSE(inflater.inflate(Deflate(second).substr(1), second.size(), out));
    // A size deflate can't reach from so few bytes is refused before anything is made.
    EXPECT_FALSE(inflater.inflate(Deflate(second), std::size_t{1} << 40, out));
    ASSERT_TRUE(inflater.inflate(Deflate(first), first.size(), out));
    EXPECT_EQ(out, first);
}

}  // namespace
}  // namespace kestrava::history
