// Previous lines of any content for the indentation rule, and line
// numbers into buffers of any size.
#include <stdint.h>
#include <stdlib.h>
#include <string.h>

#include <vector>

#include "editing/change_rule.h"
#include "editing/indent.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    // An exact-size copy, so that a read past the line is caught.
    std::vector<char> line(data, data + size);
    unsigned int tabs = AutoIndentTabs(line.data(), line.size());
    size_t leading = 0;
    while (leading < size && line[leading] == '\t')
        ++leading;
    if (tabs > leading + 1 || (leading > 0 && tabs + 1 < leading))
        abort();

    if (size >= 5) {
        unsigned int index;
        memcpy(&index, data, sizeof index);
        size_t room = data[4] % 40;
        std::vector<char> buffer(room + 1);
        int length = LineIndicatorText(index, buffer.data(), room);
        if (room > 0 && (length < 0 || (size_t)length >= room || buffer[length] != '\0'))
            abort();
    }
    return 0;
}
