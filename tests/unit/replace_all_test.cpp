#include <gtest/gtest.h>

#include <string.h>

#include <string>

#include "search/replace_all.h"

namespace {

unsigned char Lower[256];
struct InitLower {
    InitLower()
    {
        for (int c = 0; c < 256; ++c)
            Lower[c] = (unsigned char)(c >= 'A' && c <= 'Z' ? c + 32 : c);
    }
} initLower;

struct Outcome {
    std::string text;
    ChangeState state;
};

// The dialog's first search has selected the match at `first`.
Outcome Replace(const std::string& text, size_t first, std::string find, const std::string& replacement,
            int caseSensitive = 1, unsigned int lineShown = 0, int skipIndent = 0)
{
    SearchScan<char> scan = {text.data(), text.size(), &find[0], find.size(), caseSensitive, Lower};
    Outcome out;
    out.state = {lineShown, skipIndent != 0, false};
    ReplaceAllInOnePass(&scan, first, replacement.data(), replacement.size(), &out.state, &out.text);
    return out;
}

TEST(ReplaceAllInOnePass, TheLoopsWorkedResults)
{
    // The first search starts at 1, so a match at 0 stays.
    EXPECT_EQ("a-bb-bb", Replace("a-a-a", 2, "a", "bb").text);
    // A match right after a replaced one is skipped.
    EXPECT_EQ("abab", Replace("aaaa", 1, "a", "b").text);
    EXPECT_EQ("aa", Replace("aaaa", 1, "a", "").text);
    EXPECT_EQ("xYYxYY", Replace("xabxab", 1, "ab", "YY").text);
    // Case ignored: the find text comes lowered.
    EXPECT_EQ("x-Q-Q", Replace("x-Ab-aB", 2, "ab", "Q", 0).text);
    Outcome o = Replace("x-Ab-aB", 2, "ab", "Q", 1);
    EXPECT_EQ("x-Q-aB", o.text);
    EXPECT_EQ(1, o.state.modified);
}

TEST(ReplaceAllInOnePass, LineIndicatorAndIndentationFollowTheChangeHandler)
{
    // Emptying the second line puts the caret on an empty line below
    // "\tif (x) {": the handler indents it with two tabs.
    Outcome o = Replace("\tif (x) {\r\nGONE\r\nend", 11, "GONE", "");
    EXPECT_EQ("\tif (x) {\r\n\t\t\r\nend", o.text);
    EXPECT_EQ(1u, o.state.lineShown);

    // Already showing that line: no change of line, no indentation.
    EXPECT_EQ("\tif (x) {\r\n\r\nend", Replace("\tif (x) {\r\nGONE\r\nend", 11, "GONE", "", 1, 1).text);

    // The skip flag eats the first line change and is cleared by it.
    Outcome skipped = Replace("\tif (x) {\r\nGONE\r\nend", 11, "GONE", "", 1, 0, 1);
    EXPECT_EQ("\tif (x) {\r\n\r\nend", skipped.text);
    EXPECT_FALSE(skipped.state.skipIndent);

    // At the very end of the text, and on line 0 where nothing is above.
    EXPECT_EQ("a:\r\n\t", Replace("a:\r\nZ", 4, "Z", "").text);
    // Line 0 is reported, then line 1 is emptied: "b" asks for no tabs.
    Outcome top = Replace("Zb\r\nZ", 0, "Z", "", 1, 5);
    EXPECT_EQ("b\r\n", top.text);
    EXPECT_EQ(1u, top.state.lineShown);
}

TEST(ReplaceAllInOnePass, OnlyCleanLineBreaksAreComputable)
{
    auto ok = [](const std::string& text, const std::string& find, const std::string& repl) {
        return ReplaceAllComputable(text.data(), text.size(), find.data(), find.size(), repl.data(), repl.size());
    };
    EXPECT_TRUE(ok("a\r\nb\r\n", "a", "b"));
    EXPECT_TRUE(ok("", "a", ""));
    EXPECT_FALSE(ok("a\nb", "a", "b"));
    EXPECT_FALSE(ok("a\rb", "a", "b"));
    EXPECT_FALSE(ok("a\r\r\nb", "a", "b"));
    EXPECT_FALSE(ok("a\r", "a", "b"));
    EXPECT_FALSE(ok("ab", "a", "x\r\n"));
    EXPECT_FALSE(ok("ab", "\n", "x"));
}

}  // namespace
