#pragma once

#include <span>
#include <string>
#include <string_view>

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

}  // namespace kestrava::history
