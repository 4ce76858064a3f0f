#include <gtest/gtest.h>

#include <string.h>

#include <string>

#include "print/layout.h"

namespace {

TEST(PrinterFont, HeightIsPointsScaledToThePrinterAndNegated)
{
    EXPECT_EQ(-67, PrinterFontHeight(8, 600));   // 66.67 rounds up
    EXPECT_EQ(108, PrinterFontHeight(-13, 600)); // a cell height from the font dialog
    EXPECT_EQ(-33, PrinterFontHeight(8, 300));   // 33.33 rounds down
    EXPECT_EQ(0, PrinterFontHeight(0, 600));
}

TEST(PrinterFont, MulDivRoundsHalvesAwayFromZeroIn64Bits)
{
    EXPECT_EQ(2, MulDivRounded(3, 1, 2));
    EXPECT_EQ(-2, MulDivRounded(-3, 1, 2));
    EXPECT_EQ(-2, MulDivRounded(3, 1, -2));
    EXPECT_EQ(1, MulDivRounded(5, 1, 4));  // 1.25
    // The product overflows 32 bits; the quotient does not.
    EXPECT_EQ(2000000000, MulDivRounded(2000000000, 600, 600));
    EXPECT_EQ(-1, MulDivRounded(2000000000, 2, 1));
    EXPECT_EQ(-1, MulDivRounded(8, 600, 0));
}

TEST(PageLayout, WorkedFigures)
{
    PageLayout layout = ComputePageLayout(660, 9, 1);
    EXPECT_EQ(10, layout.lineHeight);
    EXPECT_EQ(64, layout.linesPerPage);
    EXPECT_EQ(62, layout.bodyRows);

    // 100 lines: 62 on page 1, 38 on page 2.
    EXPECT_EQ(2u, PageCount(100, layout));
    EXPECT_EQ(1u, PageOfLine(61, layout));
    EXPECT_EQ(64, RowOfLine(61, layout));
    EXPECT_TRUE(PageEndsAfterLine(61, layout));
    EXPECT_EQ(2u, PageOfLine(62, layout));
    EXPECT_EQ(3, RowOfLine(62, layout));
    EXPECT_EQ(2u, PageOfLine(99, layout));
    EXPECT_FALSE(PageEndsAfterLine(99, layout));

    // 124 lines fill two pages; the third holds only its header.
    EXPECT_EQ(3u, PageCount(124, layout));
    EXPECT_EQ(2u, PageOfLine(123, layout));
    EXPECT_TRUE(PageEndsAfterLine(123, layout));

    // An empty text still has its one (empty) line on one page.
    EXPECT_EQ(1u, PageCount(1, layout));
    EXPECT_EQ(3, RowOfLine(0, layout));
}

TEST(PageLayout, TallFontsGiveOneBodyLinePerPage)
{
    // linesPerPage 3, 2, 0 and negative: always one body line, on row 3.
    const int32_t heights[] = {132, 165, 330, 700, 5000};
    for (int32_t tm : heights) {
        PageLayout layout = ComputePageLayout(660, tm, 0);
        EXPECT_EQ(1, layout.bodyRows) << tm;
        EXPECT_EQ(3, RowOfLine(4, layout)) << tm;
        EXPECT_EQ(5u, PageOfLine(4, layout)) << tm;
        EXPECT_TRUE(PageEndsAfterLine(4, layout)) << tm;
        EXPECT_EQ(6u, PageCount(5, layout)) << tm;
    }
    EXPECT_EQ(-2, ComputePageLayout(660, 700, 0).linesPerPage);
    EXPECT_EQ(3, ComputePageLayout(660, 132, 0).linesPerPage);
}

TEST(PageLayout, MetricsWithoutHeightStillDivide)
{
    PageLayout layout = ComputePageLayout(660, 0, 0);
    EXPECT_EQ(1, layout.lineHeight);
    EXPECT_EQ(658, layout.linesPerPage);
}

TEST(PageLayout, LineCountsBeyond16BitsKeepTheirPages)
{
    PageLayout layout = ComputePageLayout(660, 10, 0);
    EXPECT_EQ(70000u / 62 + 1, PageCount(70000, layout));
    EXPECT_EQ(69999u / 62 + 1, PageOfLine(69999, layout));
    EXPECT_EQ(3 + 69999 % 62, RowOfLine(69999, layout));
}

TEST(PageHeader, AmPmRule)
{
    char amPm[AMPM_SIZE];
    EXPECT_EQ(12, HeaderHour(12, amPm, sizeof amPm));
    EXPECT_STREQ("A.M.", amPm);
    EXPECT_EQ(0, HeaderHour(0, amPm, sizeof amPm));
    EXPECT_STREQ("A.M.", amPm);
    EXPECT_EQ(11, HeaderHour(23, amPm, sizeof amPm));
    EXPECT_STREQ("P.M.", amPm);
    EXPECT_EQ(1, HeaderHour(13, amPm, sizeof amPm));
    EXPECT_STREQ("P.M.", amPm);
}

std::string Header(const char* name, uint32_t page, int year, int hour24, int minute)
{
    char amPm[AMPM_SIZE];
    HeaderClock clock;
    clock.year = year;
    clock.month = 12;
    clock.day = 6;
    clock.hour = HeaderHour(hour24, amPm, sizeof amPm);
    clock.minute = minute;
    clock.amPm = amPm;
    char buffer[PAGE_HEADER_SIZE];
    int length = FormatPageHeader(buffer, sizeof buffer, name, page, clock);
    EXPECT_EQ(strlen(buffer), (size_t)length);
    return std::string(buffer, length);
}

TEST(PageHeader, FirstAndLaterPages)
{
    EXPECT_EQ("PENRIK    File Name  C:\\SRC\\MAIN.C     Page  1      12/6/126      2:05  P.M.",
              Header("C:\\SRC\\MAIN.C", 1, 2026, 14, 5));
    EXPECT_EQ("PENRIK    File Name  C:\\SRC\\MAIN.C      Page  2      12/6/126      12:30  A.M.",
              Header("C:\\SRC\\MAIN.C", 2, 2026, 12, 30));
    EXPECT_EQ("PENRIK    File Name        Page  3      12/6/96      0:05  A.M.", Header("", 3, 1996, 0, 5));
    EXPECT_EQ("PENRIK    File Name  a     Page  1      12/6/100      11:59  P.M.", Header("a", 1, 2000, 23, 59));
}

TEST(PageHeader, LongestNamePrintsWhole)
{
    std::string name = "C:\\" + std::string(252, 'n');
    ASSERT_EQ(255u, name.size());
    std::string header = Header(name.c_str(), 4294967295u, 2026, 23, 59);
    EXPECT_NE(std::string::npos, header.find(name + "      Page  4294967295      12/6/126      11:59  P.M."));
}

TEST(PageHeader, SmallBufferIsCutNotOverrun)
{
    HeaderClock clock = {2026, 12, 6, 2, 5, "P.M."};
    char buffer[40];
    memset(buffer, 'x', sizeof buffer);
    int length = FormatPageHeader(buffer, 20, "C:\\SRC\\MAIN.C", 1, clock);
    EXPECT_EQ(19, length);
    EXPECT_EQ(std::string("PENRIK    File Name"), std::string(buffer));
    EXPECT_EQ('x', buffer[20]);
}

}  // namespace
