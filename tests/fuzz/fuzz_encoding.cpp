// Any bytes: a file read as UTF-8 (with or without its mark) or as UTF-16
// of either order comes back byte for byte once decoded and encoded; the
// code page's files are the platform's to convert.
#include <stdint.h>
#include <stdlib.h>
#include <string.h>

#include <vector>

#include "document/encoding.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    TextEncoding encoding = ClassifyEncoding(data, size);
    if (encoding == ENCODING_ANSI)
        return 0;
    size_t mark = MarkLength(encoding);
    // Exact sizes, so that a write past the end is caught.
    std::vector<char16_t> text(size - mark + 1);
    size_t units = Decode(encoding, data + mark, size - mark, text.data());
    if (units > size - mark)
        abort();
    std::vector<unsigned char> back(MaxEncodedLength(units));
    size_t length = Encode(encoding, text.data(), units, back.data());
    if (length != size || memcmp(back.data(), data, size) != 0)
        abort();
    return 0;
}
