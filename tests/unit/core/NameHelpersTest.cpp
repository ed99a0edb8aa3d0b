#include "core/NameHelpers.h"

#include <gtest/gtest.h>

namespace kestrava::core {
namespace {

TEST(AppTitleFor, CutsTheLastWordThenWhileLongerThanFortyCharacters) {
    EXPECT_EQ(AppTitleFor("Folder Watch And History Recorder Deluxe Edition"),
              "Folder Watch And History Recorder Deluxe");
    EXPECT_EQ(AppTitleFor("Folder Watch"), "Folder");
    EXPECT_EQ(AppTitleFor("A Very Long Product Name That Goes On And On Forever More"),
              "A Very Long Product Name That Goes On");
}

TEST(AppTitleFor, KeepsANameWithoutSpaceWhole) {
    EXPECT_EQ(AppTitleFor("Kestrava"), "Kestrava");
    EXPECT_EQ(AppTitleFor("AnUnbrokenProductNameFarLongerThanFortyCharacters"),
              "AnUnbrokenProductNameFarLongerThanFortyCharacters");
}

TEST(DropTrailingWord, DropsOnlyThatWordAndTheSpacesAroundIt) {
    EXPECT_EQ(DropTrailingWord("Folder Watch Software", "Software"), "Folder Watch");
    EXPECT_EQ(DropTrailingWord("Folder Watch", "Software"), "Folder Watch");
    EXPECT_EQ(DropTrailingWord("Software", "Software"), "Software");
    EXPECT_EQ(DropTrailingWord("A  Software", "Software"), "A");
    EXPECT_EQ(DropTrailingWord("Folder software", "Software"), "Folder software");
}

TEST(DropTrailingWord, AnEmptyWordDropsWhateverWordIsLast) {
    EXPECT_EQ(DropTrailingWord("Folder Watch", ""), "Folder");
}

TEST(StripSpecialCharacters, RemovesEveryListedCharacterAndKeepsTheRest) {
    EXPECT_EQ(StripSpecialCharacters("My Log Tool (Beta) 2.0"), "MyLogToolBeta20");
    EXPECT_EQ(StripSpecialCharacters(""), "");
    EXPECT_EQ(StripSpecialCharacters("$/\\*:?<>|#' .,\"()-+=%;}{\t"), "");
    EXPECT_EQ(StripSpecialCharacters("snake_case_7 Ünïcode!"), "snake_case_7Ünïcode!");
}

}  // namespace
}  // namespace kestrava::core
