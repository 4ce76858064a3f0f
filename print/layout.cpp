#include "print/layout.h"

#include <stdio.h>
#include <string.h>

int32_t MulDivRounded(int32_t a, int32_t b, int32_t c)
{
    if (c == 0)
        return -1;
    int64_t product = (int64_t)a * b;
    int64_t divisor = c;
    if (divisor < 0) {
        product = -product;
        divisor = -divisor;
    }
    int64_t half = divisor / 2;
    int64_t result = product >= 0 ? (product + half) / divisor : (product - half) / divisor;
    if (result > INT32_MAX || result < -INT32_MAX)
        return -1;
    return (int32_t)result;
}

int32_t PrinterFontHeight(int32_t editorHeight, int32_t dpi)
{
    int32_t scaled = MulDivRounded(editorHeight, dpi, 72);
    return -scaled;
}

PageLayout ComputePageLayout(int32_t printableHeight, int32_t tmHeight, int32_t tmExternalLeading)
{
    PageLayout layout;
    // A font that reports no height would leave the page without rows.
    int64_t height = (int64_t)tmHeight + tmExternalLeading;
    layout.lineHeight = height < 1 ? 1 : height > INT32_MAX ? INT32_MAX : (int32_t)height;
    int64_t lines = (int64_t)printableHeight / layout.lineHeight - 2;  // a broken driver may say anything
    layout.linesPerPage = lines < INT32_MIN ? INT32_MIN : (int32_t)lines;
    layout.bodyRows = layout.linesPerPage >= 3 ? layout.linesPerPage - 2 : 1;
    return layout;
}

uint32_t PageOfLine(uint32_t index, const PageLayout& layout)
{
    return index / (uint32_t)layout.bodyRows + 1;
}

int32_t RowOfLine(uint32_t index, const PageLayout& layout)
{
    return 3 + (int32_t)(index % (uint32_t)layout.bodyRows);
}

int PageEndsAfterLine(uint32_t index, const PageLayout& layout)
{
    return index % (uint32_t)layout.bodyRows == (uint32_t)layout.bodyRows - 1;
}

int32_t RowTop(int32_t row, const PageLayout& layout)
{
    int64_t y = (int64_t)row * layout.lineHeight;
    return y > INT32_MAX ? INT32_MAX : y < INT32_MIN ? INT32_MIN : (int32_t)y;
}

uint32_t PageCount(uint32_t lines, const PageLayout& layout)
{
    return lines / (uint32_t)layout.bodyRows + 1;
}

int HeaderHour(int hour, char* amPm, size_t amPmSize)
{
    const char* half = "A.M.";
    if (hour > 12) {
        hour -= 12;
        half = "P.M.";
    }
    snprintf(amPm, amPmSize, "%s", half);
    return hour;
}

int FormatPageHeader(char* buffer, size_t size, const char* documentName, uint32_t page,
                     const HeaderClock& clock)
{
    if (size == 0)
        return 0;
    const char* format = page == 1
        ? "PENRIK    File Name  %s     Page  %lu      %hi/%hi/%hi      %hi:%02hi  %s"
        : "PENRIK    File Name  %s      Page  %lu      %hi/%hi/%hi      %hi:%02hi  %s";
    int length = snprintf(buffer, size, format, documentName, (unsigned long)page, (short)clock.month,
                          (short)clock.day, (short)(clock.year - 1900), (short)clock.hour,
                          (short)clock.minute, clock.amPm);
    if (length < 0) {
        buffer[0] = '\0';
        return 0;
    }
    if ((size_t)length >= size)
        length = (int)strlen(buffer);
    return length;
}
