#include <gtest/gtest.h>

#include <string.h>

#include <string>

#include "editing/change_rule.h"
#include "editing/indent.h"

namespace {

unsigned int Tabs(const std::string& line)
{
    return AutoIndentTabs(line.data(), line.size());
}

TEST(AutoIndentTabs, FollowsTheLeadingTabsAndTheLastCharacter)
{
    struct Row {
        const char* line;
        unsigned int tabs;
    } rows[] = {
        {"int x", 0},
        {"int x;", 0},
        {"\tx = 1;", 1},
        {"\tif (x)", 2},
        {"\t\tcall(", 3},
        {"label:", 1},
        {"\twhile (1) {", 2},
        {"\t\t}", 1},
        {"}", 0},
        {"\t\t\t", 3},
        {"    if (x) {", 1},
        {"", 0},
    };
    for (const Row& row : rows)
        EXPECT_EQ(row.tabs, Tabs(row.line)) << '"' << row.line << '"';
}

TEST(AutoIndentTabs, OnlyTheVeryLastCharacterCounts)
{
    EXPECT_EQ(1u, Tabs("\tif (x) { "));    // a trailing blank defeats the brace
    EXPECT_EQ(1u, Tabs("\t}\t"));          // and a trailing tab the closing one
    EXPECT_EQ(1u, Tabs("\t{ x;"));
    EXPECT_EQ(2u, Tabs("\tf(a)"));
    EXPECT_EQ(0u, Tabs("(x"));
}

TEST(AutoIndentTabs, BlanksNeverCountAndStopTheTabs)
{
    EXPECT_EQ(1u, Tabs("  {"));
    EXPECT_EQ(0u, Tabs("  }"));
    EXPECT_EQ(1u, Tabs("\t \tx"));         // the tab after the blank is not leading
    EXPECT_EQ(2u, Tabs("\t \t{"));
    EXPECT_EQ(0u, Tabs(" \tx"));
}

TEST(AutoIndentTabs, NeverGoesBelowZero)
{
    EXPECT_EQ(0u, Tabs("}"));
    EXPECT_EQ(0u, Tabs("  }"));
    EXPECT_EQ(0u, Tabs("x}"));
    EXPECT_EQ(0u, Tabs("\t}"));
}

TEST(AutoIndentTabs, LongLinesCountEveryTab)
{
    std::string line(127, '\t');
    EXPECT_EQ(127u, Tabs(line));
    EXPECT_EQ(128u, Tabs(line + "{"));
    EXPECT_EQ(126u, Tabs(line + "}"));
    std::string wide(70000, '\t');
    EXPECT_EQ(70001u, Tabs(wide + "("));
}

TEST(AutoIndentTabs, ReadsNoFurtherThanTheLengthGiven)
{
    // The edit control hands over lines without a terminating zero.
    const char text[] = "\t\tx;{";
    EXPECT_EQ(2u, AutoIndentTabs(text, 4));
    EXPECT_EQ(3u, AutoIndentTabs(text, 5));
    EXPECT_EQ(2u, AutoIndentTabs(text, 2));
    EXPECT_EQ(0u, AutoIndentTabs(text, 0));
    const char tabsOnly[3] = {'\t', '\t', '{'};
    EXPECT_EQ(2u, AutoIndentTabs(tabsOnly, 2));
}

TEST(LineIndicatorText, IsOneBasedWithTwoBlanksBeforeAndEightAfter)
{
    char buffer[128];
    int length = LineIndicatorText(0, buffer, sizeof buffer);
    EXPECT_STREQ("Line Number  1        ", buffer);
    EXPECT_EQ((int)strlen(buffer), length);

    length = LineIndicatorText(41, buffer, sizeof buffer);
    EXPECT_STREQ("Line Number  42        ", buffer);
    EXPECT_EQ(23, length);

    length = LineIndicatorText(69999, buffer, sizeof buffer);
    EXPECT_STREQ("Line Number  70000        ", buffer);
    EXPECT_EQ(26, length);

    length = LineIndicatorText(4294967294u, buffer, sizeof buffer);
    EXPECT_STREQ("Line Number  4294967295        ", buffer);
    EXPECT_EQ(31, length);
}

TEST(LineIndicatorText, NeverWritesPastASmallBuffer)
{
    char buffer[32];
    for (size_t size : {size_t(1), size_t(5), size_t(13), size_t(20)}) {
        memset(buffer, 'Z', sizeof buffer);
        int length = LineIndicatorText(1233, buffer, size);
        EXPECT_EQ((int)size - 1, length) << size;
        EXPECT_EQ('\0', buffer[size - 1]) << size;
        EXPECT_EQ(std::string("Line Number  1234        ").substr(0, size - 1), std::string(buffer)) << size;
        for (size_t i = size; i < sizeof buffer; ++i)
            ASSERT_EQ('Z', buffer[i]) << "size " << size << " wrote at " << i;
    }
    buffer[0] = 'Z';
    EXPECT_EQ(0, LineIndicatorText(5, buffer, 0));
    EXPECT_EQ('Z', buffer[0]);
}

}  // namespace
