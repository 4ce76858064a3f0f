#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "search/scan.h"

namespace {

// Lower-case mappings as the platform gives them for two code pages:
// plain ASCII, and one where the accented capitals 0xC0-0xDE (but the
// sign 0xD7) have lower-case forms 0x20 higher.
struct LowerTable {
    unsigned char map[256];
    explicit LowerTable(bool accents)
    {
        for (int c = 0; c < 256; ++c) {
            bool upper = (c >= 'A' && c <= 'Z') || (accents && c >= 0xC0 && c <= 0xDE && c != 0xD7);
            map[c] = (unsigned char)(upper ? c + 0x20 : c);
        }
    }
};
const LowerTable Ascii(false), Accented(true);

struct Outcome {
    long position;     // -1 for "Done"
    std::string find;  // the find text afterwards
};

// The text is copied into a block of exactly its length, without a
// terminator, so that any read past it is caught by the sanitizer.
Outcome Scan(const std::string& text, size_t start, const char* find, int direction,
             int caseSensitive = 0, const LowerTable& table = Accented)
{
    std::vector<char> copy(text.begin(), text.end());
    std::string f = find;
    SearchScan scan = {copy.data(), copy.size(), &f[0], f.size(), caseSensitive, table.map};
    size_t found = 12345;
    int matched = ScanText(&scan, start, direction, &found);
    return {matched ? (long)found : -1, f};
}

TEST(Scan, ForwardStartsOnePastTheSelectionStart)
{
    EXPECT_EQ(3, Scan("abcabc", 0, "abc", +1).position);  // the match at 0 is passed over
    EXPECT_EQ(-1, Scan("abcabc", 3, "abc", +1).position);
    EXPECT_EQ(3, Scan("abcabc", 2, "abc", +1).position);
    // Overlapping matches, one step at a time.
    EXPECT_EQ(1, Scan("aaaa", 0, "aa", +1).position);
    EXPECT_EQ(2, Scan("aaaa", 1, "aa", +1).position);
    EXPECT_EQ(-1, Scan("aaaa", 2, "aa", +1).position);
    EXPECT_EQ(-1, Scan("a", 0, "a", +1).position);
}

TEST(Scan, BackwardStartsOneBeforeAndMayReachPastTheStart)
{
    EXPECT_EQ(0, Scan("abcabc", 3, "abc", -1).position);
    EXPECT_EQ(-1, Scan("abcabc", 0, "abc", -1).position);
    EXPECT_EQ(0, Scan("abcabc", 1, "abc", -1).position);  // the match runs over position 1
    EXPECT_EQ(3, Scan("abcabcx", 5, "abc", -1).position);
    EXPECT_EQ(2, Scan("aaaa", 3, "aa", -1).position);
}

TEST(Scan, EndOfTextIsDoneBeforeTheDirectionIsLookedAt)
{
    for (int direction : {+1, -1}) {
        Outcome out = Scan("xABC", 4, "ABC", direction);
        EXPECT_EQ(-1, out.position);
        EXPECT_EQ("ABC", out.find) << "nothing was compared, so nothing is lowered";
    }
    EXPECT_EQ(-1, Scan("", 0, "a", +1).position);
}

TEST(Scan, FindTextLongerThanWhatIsLeftIsDone)
{
    // Three characters after the caret, four searched for.
    Outcome out = Scan("zabc", 0, "ABCD", +1);
    EXPECT_EQ(-1, out.position);
    EXPECT_EQ("ABCD", out.find);
    EXPECT_EQ(-1, Scan("ab", 0, "abcdef", +1).position);
    // Backward candidates near the end run out of text without a read past it.
    Outcome back = Scan("zabc", 3, "ABCD", -1);
    EXPECT_EQ(-1, back.position);
    EXPECT_EQ("abcd", back.find);
    EXPECT_EQ(1, Scan("zabc", 3, "abc", -1).position);
}

TEST(Scan, CaseIgnoredLowersTheFindTextInPlace)
{
    EXPECT_EQ(1, Scan("xABC", 0, "abc", +1).position);
    Outcome upper = Scan("xabc", 0, "ABC", +1);
    EXPECT_EQ(1, upper.position);
    EXPECT_EQ("abc", upper.find);
    // Lowered even when nothing matches, once a position was compared.
    EXPECT_EQ("qq", Scan("xabc", 0, "QQ", +1).find);

    Outcome sensitive = Scan("xabc", 0, "ABC", +1, 1);
    EXPECT_EQ(-1, sensitive.position);
    EXPECT_EQ("ABC", sensitive.find);
    EXPECT_EQ(1, Scan("xABC", 0, "ABC", +1, 1).position);
    EXPECT_EQ(-1, Scan("xABC", 3, "abc", -1, 1).position);
    EXPECT_EQ(1, Scan("xABC", 3, "abc", -1, 0).position);
}

TEST(Scan, CaseIgnoredUsesTheMappingGiven)
{
    const std::string text = "x\xC4y\xD7";  // A with diaeresis, multiplication sign
    EXPECT_EQ(1, Scan(text, 0, "\xE4", +1, 0, Accented).position);
    EXPECT_EQ(-1, Scan(text, 0, "\xE4", +1, 0, Ascii).position);
    EXPECT_EQ(-1, Scan(text, 0, "\xF7", +1, 0, Accented).position);
    Outcome out = Scan(text, 0, "\xC4Y", +1, 0, Accented);
    EXPECT_EQ(1, out.position);
    EXPECT_EQ("\xE4y", out.find);
    EXPECT_EQ(-1, Scan(text, 0, "\xE4", +1, 1, Accented).position);
}

}  // namespace
