// Page layout, the printer font height and the page header. Platform-free.
#ifndef PENRIK_LAYOUT_H
#define PENRIK_LAYOUT_H

#include <stddef.h>
#include <stdint.h>

// Room for the header with a 255-character file name and every other
// field at its widest.
#define PAGE_HEADER_SIZE 400
#define AMPM_SIZE 8

// (a * b) / c in 64 bits, rounded to the nearest integer with halves away
// from zero; -1 when c is 0 or the result does not fit in 32 bits.
int32_t MulDivRounded(int32_t a, int32_t b, int32_t c);

// lfHeight of the printer font for the editor font's height at `dpi`
// dots per inch: the height is taken as points.
int32_t PrinterFontHeight(int32_t editorHeight, int32_t dpi);

struct PageLayout {
    int32_t lineHeight;    // device units per row
    int32_t linesPerPage;  // last row that holds text; may be 2 or less
    int32_t bodyRows;      // body lines per page, at least 1
};

// Rows of lineHeight from the top: row 1 the header, row 2 empty, the
// body from row 3 to linesPerPage.
PageLayout ComputePageLayout(int32_t printableHeight, int32_t tmHeight, int32_t tmExternalLeading);

// Where line `index` (from 0) goes; pages and rows count from 1.
uint32_t PageOfLine(uint32_t index, const PageLayout& layout);
int32_t RowOfLine(uint32_t index, const PageLayout& layout);
// True when the page ends after line `index`: after every bodyRows-th
// line, the last line of the text included.
int PageEndsAfterLine(uint32_t index, const PageLayout& layout);
// The y of row `row`'s top, kept within 32 bits.
int32_t RowTop(int32_t row, const PageLayout& layout);
// Pages of a job of `lines` lines. A text that fills its last page
// exactly is followed by a page holding only its header.
uint32_t PageCount(uint32_t lines, const PageLayout& layout);

// The A.M./P.M. rule: hours above 12 lose 12 and read "P.M.", hours 0 to
// 12 stay and read "A.M.". Returns the hour to print.
int HeaderHour(int hour, char* amPm, size_t amPmSize);

struct HeaderClock {
    int year;    // as the calendar reads, e.g. 2026
    int month;   // 1 to 12
    int day;
    int hour;    // after the A.M./P.M. rule
    int minute;
    const char* amPm;
};

// Formats the header of page `page` (the first page's header has one
// blank fewer before "Page") and returns its length. The text is cut
// only when `size` is too small for it; it always ends in a zero.
int FormatPageHeader(char* buffer, size_t size, const char* documentName, uint32_t page,
                     const HeaderClock& clock);

#endif
