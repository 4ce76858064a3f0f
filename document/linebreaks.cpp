#include "document/linebreaks.h"

#include <string.h>

LineBreaks ClassifyLineBreaks(const char* text, size_t length)
{
    const char* end = text + length;
    int sawCR = 0, sawLF = 0;
    for (const char* p = text; p < end; ++p) {
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

static char BreakOf(LineBreaks kind)
{
    return kind == BREAKS_LF ? '\n' : '\r';
}

size_t ControlLength(const char* text, size_t length, LineBreaks kind)
{
    if (kind == BREAKS_AS_IS)
        return length;
    const char byte = BreakOf(kind);
    size_t breaks = 0;
    const char* end = text + length;
    for (const char* p = text; (p = (const char*)memchr(p, byte, (size_t)(end - p))) != NULL; ++p)
        ++breaks;
    return length + breaks;
}

size_t ToControlBreaks(const char* text, size_t length, LineBreaks kind, char* out)
{
    if (kind == BREAKS_AS_IS) {
        memcpy(out, text, length);
        return length;
    }
    const char byte = BreakOf(kind);
    const char* end = text + length;
    char* o = out;
    const char* p = text;
    while (p < end) {
        const char* hit = (const char*)memchr(p, byte, (size_t)(end - p));
        size_t run = (hit == NULL ? end : hit) - p;
        memcpy(o, p, run);
        o += run;
        if (hit == NULL)
            break;
        *o++ = '\r';
        *o++ = '\n';
        p = hit + 1;
    }
    return (size_t)(o - out);
}

size_t FromControlBreaks(char* text, size_t length, LineBreaks kind)
{
    if (kind == BREAKS_AS_IS)
        return length;
    const char byte = BreakOf(kind);
    char* end = text + length;
    char* o = text;
    char* p = text;
    while (p < end) {
        char* hit = (char*)memchr(p, '\r', (size_t)(end - p));
        if (hit == NULL) {
            memmove(o, p, (size_t)(end - p));
            o += end - p;
            break;
        }
        size_t run = (size_t)(hit - p);
        memmove(o, p, run);
        o += run;
        if (hit + 1 < end && hit[1] == '\n') {
            *o++ = byte;
            p = hit + 2;
        } else {
            *o++ = '\r';  // a lone CR is text, not a break
            p = hit + 1;
        }
    }
    return (size_t)(o - text);
}
