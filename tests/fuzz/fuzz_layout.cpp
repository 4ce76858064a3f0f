// Page layout, printer font height and page header with extreme inputs:
// every page row within the page, every header zero-ended within its room.
#include <stdint.h>
#include <stdlib.h>
#include <string.h>

#include <string>
#include <vector>

#include "print/layout.h"

template <typename T> static T Take(const uint8_t*& data, size_t& size)
{
    T value = 0;
    size_t n = size < sizeof value ? size : sizeof value;
    memcpy(&value, data, n);
    data += n;
    size -= n;
    return value;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    int32_t printable = Take<int32_t>(data, size);
    int32_t tmHeight = Take<int32_t>(data, size);
    int32_t leading = Take<int32_t>(data, size);
    uint32_t index = Take<uint32_t>(data, size) & 0x7FFFFFFF;  // the control counts lines in an int
    int32_t editorHeight = Take<int32_t>(data, size);
    int32_t dpi = Take<int32_t>(data, size);

    PrinterFontHeight(editorHeight, dpi);  // the sanitizers watch the arithmetic
    PageLayout layout = ComputePageLayout(printable, tmHeight, leading);
    if (layout.bodyRows < 1)
        abort();
    uint32_t page = PageOfLine(index, layout);
    int32_t row = RowOfLine(index, layout);
    if (page < 1 || row < 3 || row > 2 + (int64_t)layout.bodyRows)
        abort();
    RowTop(row, layout);
    if (PageEndsAfterLine(index, layout) != (row == 2 + (int64_t)layout.bodyRows))
        abort();
    uint32_t pages = PageCount(index, layout);
    if (index > 0 && pages < PageOfLine(index - 1, layout))
        abort();

    // The clock's fields are the platform's 16-bit words, at any value.
    HeaderClock clock;
    clock.year = Take<uint16_t>(data, size);
    clock.month = Take<uint16_t>(data, size);
    clock.day = Take<uint16_t>(data, size);
    char amPm[AMPM_SIZE];
    clock.hour = HeaderHour(Take<uint16_t>(data, size), amPm, sizeof amPm);
    clock.minute = Take<uint16_t>(data, size);
    clock.amPm = amPm;
    size_t room = Take<uint16_t>(data, size) % (PAGE_HEADER_SIZE + 2);
    std::string name((const char*)data, size > 255 ? 255 : size);
    name = name.c_str();  // a file name ends at its first zero
    std::vector<char> buffer(room);  // exact size: a write past it is caught
    int length = FormatPageHeader(buffer.data(), room, name.c_str(), page, clock);
    if (room > 0 && (length < 0 || (size_t)length >= room || buffer[(size_t)length] != '\0'))
        abort();
    return 0;
}
