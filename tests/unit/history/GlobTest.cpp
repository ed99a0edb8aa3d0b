#include <gtest/gtest.h>

#include <string>
#include <string_view>

#include "history/Glob.h"
#include "platform/RuntimeError.h"

namespace kestrava::history {
namespace {

constexpr PatternRules CaseCounts{false, false};
constexpr PatternRules CaseIgnored{true, false};

struct Case {
    std::string_view path;
    std::string_view pattern;
    bool matches;
    bool matchesIgnoringCase;
};

// git's wildmatch test cases, as git matches paths against .gitignore patterns ("*" and
// "?" stop at "/"), and again with case ignored. Patterns that git answers "no match"
// for because it can't read them are refused here instead (see the next test).
constexpr Case GitCases[] = {
    // Basic features
    {"foo", "foo", true, true},
    {"foo", "bar", false, false},
    {"", "", true, true},
    {"foo", "???", true, true},
    {"foo", "??", false, false},
    {"foo", "*", true, true},
    {"foo", "f*", true, true},
    {"foo", "*f", false, false},
    {"foo", "*foo*", true, true},
    {"foobar", "*ob*a*r*", true, true},
    {"aaaaaaabababab", "*ab", true, true},
    {"foo*", R"(foo\*)", true, true},
    {"foobar", R"(foo\*bar)", false, false},
    {R"(f\oo)", R"(f\\oo)", true, true},
    {"ball", "*[al]?", true, true},
    {"ten", "[ten]", false, false},
    {"ten", "**[!te]", true, true},
    {"ten", "**[!ten]", false, false},
    {"ten", "t[a-g]n", true, true},
    {"ten", "t[!a-g]n", false, false},
    {"ton", "t[!a-g]n", true, true},
    {"ton", "t[^a-g]n", true, true},
    {"a]b", "a[]]b", true, true},
    {"a-b", "a[]-]b", true, true},
    {"a]b", "a[]-]b", true, true},
    {"aab", "a[]-]b", false, false},
    {"aab", "a[]a-]b", true, true},
    {"]", "]", true, true},
    // Slashes
    {"foo/baz/bar", "foo*bar", false, false},
    {"foo/baz/bar", "foo**bar", false, false},
    {"foobazbar", "foo**bar", true, true},
    {"foo/baz/bar", "foo/**/bar", true, true},
    {"foo/baz/bar", "foo/**/**/bar", true, true},
    {"foo/b/a/z/bar", "foo/**/bar", true, true},
    {"foo/b/a/z/bar", "foo/**/**/bar", true, true},
    {"foo/bar", "foo/**/bar", true, true},
    {"foo/bar", "foo/**/**/bar", true, true},
    {"foo/bar", "foo?bar", false, false},
    {"foo/bar", "foo[/]bar", false, false},
    {"foo/bar", "foo[^a-z]bar", false, false},
    {"foo/bar", "f[^eiu][^eiu][^eiu][^eiu][^eiu]r", false, false},
    {"foo-bar", "f[^eiu][^eiu][^eiu][^eiu][^eiu]r", true, true},
    {"foo", "**/foo", true, true},
    {"XXX/foo", "**/foo", true, true},
    {"bar/baz/foo", "**/foo", true, true},
    {"bar/baz/foo", "*/foo", false, false},
    {"foo/bar/baz", "**/bar*", false, false},
    {"deep/foo/bar/baz", "**/bar/*", true, true},
    {"deep/foo/bar/baz/", "**/bar/*", false, false},
    {"deep/foo/bar/baz/", "**/bar/**", true, true},
    {"deep/foo/bar", "**/bar/*", false, false},
    {"deep/foo/bar/", "**/bar/**", true, true},
    {"foo/bar/baz", "**/bar**", false, false},
    {"foo/bar/baz/x", "*/bar/**", true, true},
    {"deep/foo/bar/baz/x", "*/bar/**", false, false},
    {"deep/foo/bar/baz/x", "**/bar/*/*", true, true},
    // Various
    {"acrt", "a[c-c]st", false, false},
    {"acrt", "a[c-c]rt", true, true},
    {"]", "[!]-]", false, false},
    {"a", "[!]-]", true, true},
    {R"(XXX/\)", R"(*/\\)", true, true},
    {"foo", "foo", true, true},
    {"@foo", "@foo", true, true},
    {"foo", "@foo", false, false},
    {"[ab]", R"(\[ab])", true, true},
    {"[ab]", "[[]ab]", true, true},
    {"[ab]", "[[:]ab]", true, true},
    {"[ab]", "[[:digit]ab]", true, true},
    {"[ab]", R"([\[:]ab])", true, true},
    {"?a?b", R"(\??\?b)", true, true},
    {"abc", R"(\a\b\c)", true, true},
    {"foo", "", false, false},
    {"foo/bar/baz/to", "**/t[o]", true, true},
    // Character classes
    {"a1B", "[[:alpha:]][[:digit:]][[:upper:]]", true, true},
    {"a", "[[:digit:][:upper:][:space:]]", false, true},
    {"A", "[[:digit:][:upper:][:space:]]", true, true},
    {"1", "[[:digit:][:upper:][:space:]]", true, true},
    {" ", "[[:digit:][:upper:][:space:]]", true, true},
    {".", "[[:digit:][:upper:][:space:]]", false, false},
    {".", "[[:digit:][:punct:][:space:]]", true, true},
    {"5", "[[:xdigit:]]", true, true},
    {"f", "[[:xdigit:]]", true, true},
    {"D", "[[:xdigit:]]", true, true},
    {"_",
     "[[:alnum:][:alpha:][:blank:][:cntrl:][:digit:][:graph:][:lower:][:print:][:punct:][:space:]"
     "[:upper:][:xdigit:]]",
     true, true},
    {".", "[^[:alnum:][:alpha:][:blank:][:cntrl:][:digit:][:lower:][:space:][:upper:][:xdigit:]]",
     true, true},
    {"5", "[a-c[:digit:]x-z]", true, true},
    {"b", "[a-c[:digit:]x-z]", true, true},
    {"y", "[a-c[:digit:]x-z]", true, true},
    {"q", "[a-c[:digit:]x-z]", false, false},
    // Odd classes
    {"]", R"([\\-^])", true, true},
    {"[", R"([\\-^])", false, false},
    {"-", R"([\-_])", true, true},
    {"]", R"([\]])", true, true},
    {R"(\])", R"([\]])", false, false},
    {R"(\)", R"([\]])", false, false},
    {"-", "[-]", true, true},
    {"-", "[--A]", true, true},
    {"5", "[--A]", true, true},
    {" ", "[ --]", true, true},
    {"$", "[ --]", true, true},
    {"-", "[ --]", true, true},
    {"0", "[ --]", false, false},
    {"-", "[---]", true, true},
    {"-", "[------]", true, true},
    {"j", "[a-e-n]", false, false},
    {"-", "[a-e-n]", true, true},
    {"a", "[!------]", true, true},
    {"[", "[]-a]", false, false},
    {"^", "[]-a]", true, true},
    {"^", "[!]-a]", false, false},
    {"[", "[!]-a]", true, true},
    {"^", "[a^bc]", true, true},
    {"-b]", "[a-]b]", true, true},
    {R"(\)", R"([\\])", true, true},
    {R"(\)", R"([!\\])", false, false},
    {"G", R"([A-\\])", true, true},
    {"aaabbb", "b*a", false, false},
    {"aabcaa", "*ba*", false, false},
    {",", "[,]", true, true},
    {",", R"([\\,])", true, true},
    {R"(\)", R"([\\,])", true, true},
    {"-", "[,-.]", true, true},
    {"+", "[,-.]", false, false},
    {"-.]", "[,-.]", false, false},
    {"2", R"([\1-\3])", true, true},
    {"3", R"([\1-\3])", true, true},
    {"4", R"([\1-\3])", false, false},
    {R"(\)", R"([[-\]])", true, true},
    {"[", R"([[-\]])", true, true},
    {"]", R"([[-\]])", true, true},
    {"-", R"([[-\]])", false, false},
    // Recursion
    {"-adobe-courier-bold-o-normal--12-120-75-75-m-70-iso8859-1", "-*-*-*-*-*-*-12-*-*-*-m-*-*-*",
     true, true},
    {"-adobe-courier-bold-o-normal--12-120-75-75-X-70-iso8859-1", "-*-*-*-*-*-*-12-*-*-*-m-*-*-*",
     false, false},
    {"-adobe-courier-bold-o-normal--12-120-75-75-/-70-iso8859-1", "-*-*-*-*-*-*-12-*-*-*-m-*-*-*",
     false, false},
    {"XXX/adobe/courier/bold/o/normal//12/120/75/75/m/70/iso8859/1",
     "XXX/*/*/*/*/*/*/12/*/*/*/m/*/*/*", true, true},
    {"XXX/adobe/courier/bold/o/normal//12/120/75/75/X/70/iso8859/1",
     "XXX/*/*/*/*/*/*/12/*/*/*/m/*/*/*", false, false},
    {"abcd/abcdefg/abcdefghijk/abcdefghijklmnop.txt", "**/*a*b*g*n*t", true, true},
    {"abcd/abcdefg/abcdefghijk/abcdefghijklmnop.txtz", "**/*a*b*g*n*t", false, false},
    {"foo", "*/*/*", false, false},
    {"foo/bar", "*/*/*", false, false},
    {"foo/bba/arr", "*/*/*", true, true},
    {"foo/bb/aa/rr", "*/*/*", false, false},
    {"foo/bb/aa/rr", "**/**/**", true, true},
    {"abcXdefXghi", "*X*i", true, true},
    {"ab/cXd/efXg/hi", "*X*i", false, false},
    {"ab/cXd/efXg/hi", "*/*X*/*/*i", true, true},
    {"ab/cXd/efXg/hi", "**/*X*/**/*i", true, true},
    // Paths
    {"foo", "fo", false, false},
    {"foo/bar", "foo/bar", true, true},
    {"foo/bar", "foo/*", true, true},
    {"foo/bba/arr", "foo/*", false, false},
    {"foo/bba/arr", "foo/**", true, true},
    {"foo/bba/arr", "foo*", false, false},
    {"foo/bba/arr", "foo**", false, false},
    {"foo/bba/arr", "foo/*arr", false, false},
    {"foo/bba/arr", "foo/**arr", false, false},
    {"foo/bba/arr", "foo/*z", false, false},
    {"foo/bba/arr", "foo/**z", false, false},
    {"foo/bar", "foo?bar", false, false},
    {"foo/bar", "foo[/]bar", false, false},
    {"foo/bar", "foo[^a-z]bar", false, false},
    {"ab/cXd/efXg/hi", "*Xg*i", false, false},
    // Case
    {"a", "[A-Z]", false, true},
    {"A", "[A-Z]", true, true},
    {"A", "[a-z]", false, true},
    {"a", "[a-z]", true, true},
    {"a", "[[:upper:]]", false, true},
    {"A", "[[:upper:]]", true, true},
    {"A", "[[:lower:]]", false, true},
    {"a", "[[:lower:]]", true, true},
    {"A", "[B-Za]", false, true},
    {"a", "[B-Za]", true, true},
    {"A", "[B-a]", false, true},
    {"a", "[B-a]", true, true},
    {"z", "[Z-y]", false, true},
    {"Z", "[Z-y]", true, true},
};

TEST(GlobTest, AnswersGitsWildmatchCases) {
    for (const Case& given : GitCases) {
        EXPECT_EQ(Glob(given.pattern, CaseCounts).matches(given.path), given.matches)
            << "\"" << given.path << "\" against \"" << given.pattern << "\"";
        EXPECT_EQ(Glob(given.pattern, CaseIgnored).matches(given.path), given.matchesIgnoringCase)
            << "\"" << given.path << "\" against \"" << given.pattern << "\", case ignored";
    }
}

// The patterns that git's cases find malformed: a "[" never closed, a class that
// doesn't exist, a "\" at the end.
TEST(GlobTest, RefusesWhatItCantRead) {
    for (const std::string_view pattern :
         {R"(\)", R"(*/\)", "a[]b", "ab[", "[!", "[-", "[a-", "[!a-", R"([\])", "[[::]ab]",
          "[[:digit:][:upper:][:spaci:]]"}) {
        try {
            Glob(pattern, CaseCounts);
            ADD_FAILURE() << "\"" << pattern << "\" was read";
        } catch (const platform::RuntimeError& error) {
            EXPECT_NE(error.description().find("\"" + std::string(pattern) + "\""),
                      std::string::npos)
                << error.description();
        }
    }
    try {
        Glob("[[:spaci:]]", CaseCounts);
        ADD_FAILURE();
    } catch (const platform::RuntimeError& error) {
        EXPECT_NE(error.description().find("no class \"[:spaci:]\""), std::string::npos);
    }
}

TEST(GlobTest, TakesUtf8CharactersWhole) {
    EXPECT_TRUE(Glob("caf?", CaseCounts).matches("café"));
    EXPECT_FALSE(Glob("caf??", CaseCounts).matches("café"));
    EXPECT_TRUE(Glob("[éè]t[é]", CaseCounts).matches("été"));
    EXPECT_FALSE(Glob("*[!é]", CaseCounts).matches("é"));
    EXPECT_TRUE(Glob("[à-ÿ]", CaseCounts).matches("ö"));
    EXPECT_TRUE(Glob("?", CaseCounts).matches("\xFF"));  // a byte that begins no character
}

TEST(GlobTest, IgnoresCaseBeyondAsciiWhereAsked) {
    EXPECT_TRUE(Glob("ÜBERSICHT.TXT", CaseIgnored).matches("übersicht.txt"));
    EXPECT_TRUE(Glob("*ÄNDERUNG*", CaseIgnored).matches("Alte Änderung 2"));
    EXPECT_TRUE(Glob("über*", CaseIgnored).matches("ÜBERSICHT"));
    EXPECT_TRUE(Glob("docs/**/ŒUVRE?", CaseIgnored).matches("DOCS/a/œuvre1"));
    EXPECT_TRUE(Glob("ΑΡΧΕΊΟ*", CaseIgnored).matches("αρχείο.txt"));    // Greek
    EXPECT_TRUE(Glob("*ОТЧЁТ", CaseIgnored).matches("годовой отчёт"));  // Cyrillic
    EXPECT_TRUE(Glob("[à-þ]", CaseIgnored).matches("Ö"));
    EXPECT_TRUE(Glob("[!é]x", CaseIgnored).matches("ax"));
    EXPECT_FALSE(Glob("[!é]x", CaseIgnored).matches("Éx"));
    EXPECT_TRUE(Glob("ÿ", CaseIgnored).matches("Ÿ"));  // a lead byte of its own
    EXPECT_FALSE(Glob("übersicht.txt", CaseCounts).matches("Übersicht.txt"));
    EXPECT_FALSE(Glob("*ö", CaseIgnored).matches("õ"));
    EXPECT_FALSE(Glob("×", CaseIgnored).matches("÷"));  // signs, not letters
}

TEST(GlobTest, WhereBackslashSeparatesItEscapesNothing) {
    constexpr PatternRules Windows{true, true};
    EXPECT_TRUE(Glob(R"(Docs\*.PDF)", Windows).matches(R"(docs\a.pdf)"));
    EXPECT_TRUE(Glob(R"(Docs\*.PDF)", Windows).matches("docs/a.pdf"));
    EXPECT_TRUE(Glob("docs/*.pdf", Windows).matches(R"(DOCS\A.PDF)"));
    EXPECT_FALSE(Glob("*.pdf", Windows).matches(R"(docs\a.pdf)"));
    EXPECT_TRUE(Glob(R"(**\a.pdf)", Windows).matches(R"(x\y\a.pdf)"));
    EXPECT_FALSE(Glob("a?b", Windows).matches(R"(a\b)"));
    EXPECT_FALSE(Glob(R"([\]x)", Windows).matches(R"(\x)"));
    EXPECT_NO_THROW(Glob(R"(folder\)", Windows));
    // Elsewhere a backslash is a name's character like any other.
    EXPECT_FALSE(Glob("docs/*.pdf", CaseCounts).matches(R"(docs\a.pdf)"));
    EXPECT_TRUE(Glob("*.pdf", CaseCounts).matches(R"(docs\a.pdf)"));
}

TEST(GlobTest, LongPathsAgainstManyStarsEndQuickly) {
    // Each star within a name gives up at the name's end rather than trying every split
    // of the path again.
    const std::string path = std::string(200, 'a') + "/" + std::string(200, 'a');
    EXPECT_FALSE(Glob("*a*a*a*a*a*a*a*a*a*a*a*b", CaseCounts).matches(path));
    EXPECT_FALSE(Glob("**/*a*a*a*a*a*a*a*a*a*a*a*b", CaseCounts).matches(path));
}

}  // namespace
}  // namespace kestrava::history
