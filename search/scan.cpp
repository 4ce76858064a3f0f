#include "search/scan.h"

template <typename Char> int MatchAt(SearchScan<Char>* scan, size_t p)
{
    typedef typename SearchScan<Char>::Unit Unit;
    size_t m = scan->findLength;
    const Unit* text = (const Unit*)scan->text;
    Unit* find = (Unit*)scan->find;
    if (!scan->caseSensitive)
        for (size_t i = 0; i < m; ++i)
            find[i] = scan->lower[find[i]];
    // Too few characters left: no match, and nothing past the text is read.
    if (p > scan->length || scan->length - p < m)
        return 0;
    for (size_t i = 0; i < m; ++i) {
        Unit c = scan->caseSensitive ? text[p + i] : scan->lower[text[p + i]];
        if (c != find[i])
            return 0;
    }
    return 1;
}

template <typename Char> int ScanText(SearchScan<Char>* scan, size_t start, int direction, size_t* found)
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

template int MatchAt(SearchScan<char>*, size_t);
template int MatchAt(SearchScan<wchar_t>*, size_t);
template int ScanText(SearchScan<char>*, size_t, int, size_t*);
template int ScanText(SearchScan<wchar_t>*, size_t, int, size_t*);
