// The search scan in both directions and both case modes, against a
// plain reading of the rule: forward from one past the start, backward
// from one before it, nothing when the start is at the end.
#include <stdint.h>
#include <stdlib.h>
#include <string.h>

#include <string>
#include <vector>

#include "search/scan.h"

static unsigned char Lower[256];

static bool Same(unsigned char a, unsigned char b, bool caseSensitive)
{
    return caseSensitive ? a == b : Lower[a] == Lower[b];
}

static bool PlainMatch(const std::vector<char>& text, size_t p, const std::string& find, bool caseSensitive)
{
    if (p + find.size() > text.size())
        return false;
    for (size_t i = 0; i < find.size(); ++i)
        if (!Same((unsigned char)text[p + i], (unsigned char)find[i], caseSensitive))
            return false;
    return true;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (Lower['A'] == 0)
        for (int c = 0; c < 256; ++c)
            Lower[c] = (unsigned char)(c >= 'A' && c <= 'Z' ? c + 32 : c);
    if (size < 4)
        return 0;
    bool caseSensitive = data[0] & 1;
    int direction = data[0] & 2 ? -1 : +1;
    size_t findLength = data[1] % 8;
    size_t startSeed = (size_t)data[2] << 8 | data[3];
    data += 4;
    size -= 4;
    if (findLength > size)
        findLength = size;
    std::string original((const char*)data, findLength);
    // Exact-size copies, so that a read past either is caught.
    std::vector<char> find(data, data + findLength);
    std::vector<char> text(data + findLength, data + size);
    size_t start = startSeed % (text.size() + 1);

    SearchScan<char> scan = {text.data(), text.size(), find.data(), find.size(), caseSensitive, Lower};
    size_t found = (size_t)-1;
    int matched = ScanText(&scan, start, direction, &found);

    size_t expected = (size_t)-1;
    if (start < text.size() && findLength > 0) {
        if (direction > 0) {
            for (size_t p = start + 1; p < text.size() && expected == (size_t)-1; ++p)
                if (PlainMatch(text, p, original, caseSensitive))
                    expected = p;
        } else {
            for (size_t p = start; p-- > 0 && expected == (size_t)-1;)
                if (PlainMatch(text, p, original, caseSensitive))
                    expected = p;
        }
    }
    if (matched != (expected != (size_t)-1) || (matched && found != expected))
        abort();
    // Ignoring case lowers the find text in place (once a position is
    // tried); with case, the find text stays as typed.
    for (size_t i = 0; i < findLength; ++i) {
        unsigned char now = (unsigned char)find[i], typed = (unsigned char)original[i];
        if (caseSensitive ? now != typed : (now != typed && now != Lower[typed]) || (matched && now != Lower[typed]))
            abort();
    }
    return 0;
}
