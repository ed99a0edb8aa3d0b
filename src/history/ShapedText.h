#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "history/StoreBytes.h"

namespace kestrava::history {

// Size and date texts ("32.5 KB", "7/27/2022 2:15:43 AM", "07.12.2026 00:00:07") kept as
// their shape and their numbers: each run of digits becomes a byte that says how many
// digits it had (a run of more than nine is taken nine at a time), and its value goes to
// the column of numbers of its place in the text (the last column takes the places
// beyond). Shapes repeat endlessly and each column of numbers holds numbers alike, which
// deflate packs far better than the texts. Bytes of the shape's own (1 to 9, and the
// escape 11) are escaped; a shape ends with a line feed, which no text holds.
void PutShaped(std::string_view text, std::string& shapes, std::span<std::string> numbers);

// Reads the text whose shape begins at `at` in the shapes, moving `at` past it. False
// when the shapes or the numbers end too soon.
bool TakeShaped(std::string_view shapes, std::size_t& at, std::span<ByteReader> numbers,
                std::string& text);

// A shape read once and filled for every text of its shape: its texts all have its
// length, and differ only in their digits.
class ShapeTemplate {
public:
    // The shape that begins at `at`, moving `at` past it; nothing when it is damaged.
    static std::optional<ShapeTemplate> Read(std::string_view shapes, std::size_t& at);

    std::size_t length() const { return text_.size(); }
    // Writes a text of this shape, length() bytes, taking its numbers; false when one has
    // more digits than its run. A column of numbers that ends too soon gives zeros, and
    // is found broken once all is read (ByteReader::broken): asked here, once a number,
    // it cost a tenth of rebuilding a store.
    bool fill(std::span<ByteReader> numbers, char* out) const;

private:
    struct Run {
        std::uint32_t end = 0;  // where its digits end in the text
        std::uint32_t width = 0;
    };
    std::string text_;  // its own bytes, the runs' digits still zeros
    std::vector<Run> runs_;
};

}  // namespace kestrava::history
