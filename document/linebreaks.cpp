#include "document/linebreaks.h"

#include <string.h>

// The first `c` in the n characters from p, or null.
static const char* Find(const char* p, char c, size_t n) { return (const char*)memchr(p, c, n); }
static const wchar_t* Find(const wchar_t* p, wchar_t c, size_t n)
{
    for (const wchar_t* end = p + n; p < end; ++p)
        if (*p == c)
            return p;
    return NULL;
}

template <typename Char> LineBreaks ClassifyLineBreaks(const Char* text, size_t length)
{
    const Char* end = text + length;
    int sawCR = 0, sawLF = 0;
    for (const Char* p = text; p < end; ++p) {
        if (*p == '\n') {
            if (p > text && p[-1] == '\r')
                return BREAKS_AS_IS;  // a CR LF pair: the control's own break
            sawLF = 1;
        } else if (*p == '\r') {
            sawCR = 1;
        }
    }
    if (sawLF)
        return BREAKS_LF;
    return sawCR ? BREAKS_CR : BREAKS_AS_IS;
}

template <typename Char> static Char BreakOf(LineBreaks kind)
{
    return kind == BREAKS_LF ? '\n' : '\r';
}

template <typename Char> size_t ControlLength(const Char* text, size_t length, LineBreaks kind)
{
    if (kind == BREAKS_AS_IS)
        return length;
    const Char unit = BreakOf<Char>(kind);
    size_t breaks = 0;
    const Char* end = text + length;
    for (const Char* p = text; (p = Find(p, unit, (size_t)(end - p))) != NULL; ++p)
        ++breaks;
    return length + breaks;
}

template <typename Char> size_t ToControlBreaks(const Char* text, size_t length, LineBreaks kind, Char* out)
{
    if (kind == BREAKS_AS_IS) {
        memcpy(out, text, length * sizeof(Char));
        return length;
    }
    const Char unit = BreakOf<Char>(kind);
    const Char* end = text + length;
    Char* o = out;
    const Char* p = text;
    while (p < end) {
        const Char* hit = Find(p, unit, (size_t)(end - p));
        size_t run = (size_t)((hit == NULL ? end : hit) - p);
        memcpy(o, p, run * sizeof(Char));
        o += run;
        if (hit == NULL)
            break;
        *o++ = '\r';
        *o++ = '\n';
        p = hit + 1;
    }
    return (size_t)(o - out);
}

template <typename Char> size_t FromControlBreaks(Char* text, size_t length, LineBreaks kind)
{
    if (kind == BREAKS_AS_IS)
        return length;
    const Char unit = BreakOf<Char>(kind);
    Char* end = text + length;
    Char* o = text;
    Char* p = text;
    while (p < end) {
        Char* hit = (Char*)Find(p, '\r', (size_t)(end - p));
        if (hit == NULL) {
            memmove(o, p, (size_t)(end - p) * sizeof(Char));
            o += end - p;
            break;
        }
        size_t run = (size_t)(hit - p);
        memmove(o, p, run * sizeof(Char));
        o += run;
        if (hit + 1 < end && hit[1] == '\n') {
            *o++ = unit;
            p = hit + 2;
        } else {
            *o++ = '\r';  // a lone CR is text, not a break
            p = hit + 1;
        }
    }
    return (size_t)(o - text);
}

template LineBreaks ClassifyLineBreaks(const char*, size_t);
template LineBreaks ClassifyLineBreaks(const wchar_t*, size_t);
template size_t ControlLength(const char*, size_t, LineBreaks);
template size_t ControlLength(const wchar_t*, size_t, LineBreaks);
template size_t ToControlBreaks(const char*, size_t, LineBreaks, char*);
template size_t ToControlBreaks(const wchar_t*, size_t, LineBreaks, wchar_t*);
template size_t FromControlBreaks(char*, size_t, LineBreaks);
template size_t FromControlBreaks(wchar_t*, size_t, LineBreaks);
