#pragma once

#include <string>
#include <string_view>

// Helpers that derive the application title and the history log's file name
// from the product name.
namespace kestrava::core {

// The title that message boxes carry: the product name cut before its last space,
// and cut again while it is longer than 40 characters and still holds a space.
std::string AppTitleFor(std::string_view productName);

// The text without its last word when that word is the given one (or the given one is
// empty); otherwise the text unchanged.
std::string DropTrailingWord(std::string_view text, std::string_view word);

// The text without any of the characters that can't stand in a file name or that
// would make one awkward.
std::string StripSpecialCharacters(std::string_view text);

}  // namespace kestrava::core
