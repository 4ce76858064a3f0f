// Any bytes as the start of a recovery copy: a header that is taken says
// what a header written from its fields says again.
#include <stdint.h>
#include <stdlib.h>
#include <string.h>

#include <string>
#include <vector>

#include "document/copyformat.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size < 8)
        return 0;
    uint64_t fileSize;
    memcpy(&fileSize, data, sizeof fileSize);
    std::vector<char> bytes(data + 8, data + size);  // exact size: reads past it are caught
    CopyHeader header;
    if (!ParseCopyHeader(bytes.data(), bytes.size(), fileSize, &header) || header.codePageName[0] != '\0')
        return 0;
    std::vector<char> written(COPY_HEADER_SIZE);
    size_t length = FormatCopyHeader(header.name, header.breaks, header.encoding, header.time, header.length,
                                     written.data());
    CopyHeader again;
    if (length == 0 || !ParseCopyHeader(written.data(), length, length + (uint64_t)header.length, &again) ||
        std::u16string(again.name) != std::u16string(header.name) || again.breaks != header.breaks ||
        again.encoding != header.encoding || again.time != header.time || again.length != header.length)
        abort();
    return 0;
}
