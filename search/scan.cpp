#include "search/scan.h"

int MatchAt(SearchScan* scan, size_t p)
{
    size_t m = scan->findLength;
    const unsigned char* text = (const unsigned char*)scan->text;
    unsigned char* find = (unsigned char*)scan->find;
    if (!scan->caseSensitive)
        for (size_t i = 0; i < m; ++i)
            find[i] = scan->lower[find[i]];
    // Too few characters left: no match, and nothing past the text is read.
    if (p > scan->length || scan->length - p < m)
        return 0;
    for (size_t i = 0; i < m; ++i) {
        unsigned char c = scan->caseSensitive ? text[p + i] : scan->lower[text[p + i]];
        if (c != find[i])
            return 0;
    }
    return 1;
}

int ScanText(SearchScan* scan, size_t start, int direction, size_t* found)
{
    size_t n = scan->length;
    size_t m = scan->findLength;
    if (start >= n || m == 0)
        return 0;
    if (direction > 0) {
        if (m > n)
            return 0;
        for (size_t p = start + 1; p <= n - m; ++p)
            if (MatchAt(scan, p)) {
                *found = p;
                return 1;
            }
    } else {
        for (size_t p = start; p-- > 0;)
            if (MatchAt(scan, p)) {
                *found = p;
                return 1;
            }
    }
    return 0;
}
