// Any bytes: a file classified LF or CR comes back byte for byte through
// the control's CR LF form, and any other text is never converted.
#include <stdint.h>
#include <stdlib.h>
#include <string.h>

#include <vector>

#include "document/linebreaks.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const char* file = (const char*)data;
    LineBreaks kind = ClassifyLineBreaks(file, size);
    size_t shownLength = ControlLength(file, size, kind);
    // Exact sizes, so that a write past the end is caught.
    std::vector<char> shown(shownLength + 1);
    if (ToControlBreaks(file, size, kind, shown.data()) != shownLength)
        abort();
    if (kind == BREAKS_AS_IS && (shownLength != size || (size > 0 && memcmp(shown.data(), file, size) != 0)))
        abort();
    // The control's form has no break but CR LF.
    for (size_t i = 0; kind != BREAKS_AS_IS && i < shownLength; ++i)
        if (shown[i] == '\n' && (i == 0 || shown[i - 1] != '\r'))
            abort();
    size_t back = FromControlBreaks(shown.data(), shownLength, kind);
    if (back != size || (size > 0 && memcmp(shown.data(), file, size) != 0))
        abort();
    return 0;
}
