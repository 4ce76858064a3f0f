#include "tools/compiler_messages.h"

static bool IsBlank(char16_t c) { return c == ' ' || c == '\t'; }
static bool IsDigit(char16_t c) { return c >= '0' && c <= '9'; }

static size_t SkipBlanks(const char16_t* text, size_t length, size_t at)
{
    while (at < length && IsBlank(text[at]))
        ++at;
    return at;
}

// Where a position may end: the end of the line or a blank. A line handed
// over with its break still on ends there too.
static bool EndsPosition(const char16_t* text, size_t length, size_t at)
{
    return at == length || IsBlank(text[at]) || text[at] == '\r' || text[at] == '\n';
}

// The digits at `at`, saturating; returns where they end (`at` for none).
static size_t ReadNumber(const char16_t* text, size_t length, size_t at, unsigned long* value)
{
    unsigned long number = 0;
    for (; at < length && IsDigit(text[at]); ++at) {
        unsigned long digit = (unsigned long)(text[at] - '0');
        number = number > (MESSAGE_NUMBER_LIMIT - digit) / 10 ? MESSAGE_NUMBER_LIMIT : number * 10 + digit;
    }
    *value = number;
    return at;
}

// Past `words` (ASCII) at `at` and the blanks after them; `at` itself
// when they are not there or no blank follows.
static size_t SkipWords(const char16_t* text, size_t length, size_t at, const char* words)
{
    size_t end = at;
    for (; *words != 0; ++words, ++end)
        if (end == length || text[end] != (char16_t)*words)
            return at;
    return end < length && IsBlank(text[end]) ? SkipBlanks(text, length, end) : at;
}

// At a colon after FILE: "LINE:" or "LINE:COLUMN:" and the end of the
// position. An include chain closes with a comma as well.
static bool ColonPosition(const char16_t* text, size_t length, size_t at, bool chain, unsigned long* line,
                          unsigned long* column)
{
    size_t start = at + 1;
    size_t end = ReadNumber(text, length, start, line);
    if (end == start || end == length || !(text[end] == ':' || (chain && text[end] == ',')))
        return false;
    *column = 0;
    if (EndsPosition(text, length, end + 1))
        return true;
    if (text[end] != ':')
        return false;
    start = end + 1;
    end = ReadNumber(text, length, start, column);
    if (end == start || end == length || !(text[end] == ':' || (chain && text[end] == ',')))
        return false;
    return EndsPosition(text, length, end + 1);
}

// At a parenthesis after FILE: "(LINE)" or "(LINE,COLUMN)", then a colon,
// with or without blanks before it, that ends the position.
static bool ParenPosition(const char16_t* text, size_t length, size_t at, unsigned long* line,
                          unsigned long* column)
{
    size_t start = at + 1;
    size_t end = ReadNumber(text, length, start, line);
    if (end == start)
        return false;
    *column = 0;
    if (end < length && text[end] == ',') {
        start = end + 1;
        end = ReadNumber(text, length, start, column);
        if (end == start)
            return false;
    }
    if (end == length || text[end] != ')')
        return false;
    end = SkipBlanks(text, length, end + 1);
    return end < length && text[end] == ':' && EndsPosition(text, length, end + 1);
}

bool ParseCompilerMessage(const char16_t* text, size_t length, CompilerMessage* message)
{
    size_t start = SkipBlanks(text, length, 0);
    // MSBuild numbers the lines of the projects it builds side by side.
    size_t digits = start;
    while (digits < length && IsDigit(text[digits]))
        ++digits;
    if (digits > start && digits < length && text[digits] == '>')
        start = SkipBlanks(text, length, digits + 1);
    // gcc's chain of the files that included the one with the message.
    size_t name = SkipWords(text, length, start, "In file included from");
    if (name == start)
        name = SkipWords(text, length, start, "from");
    bool chain = name != start;
    start = name;

    // The name runs to the first place where a position follows it; each
    // place reads only the few characters of its own position, so a long
    // line costs one pass.
    bool named = false;
    for (size_t at = start; at < length; ++at) {
        char16_t c = text[at];
        unsigned long line, column;
        if (named && ((c == ':' && ColonPosition(text, length, at, chain, &line, &column)) ||
                      (c == '(' && ParenPosition(text, length, at, &line, &column)))) {
            *message = {start, at - start, line, column};
            return true;
        }
        if (!IsDigit(c) && !IsBlank(c) && c != ':')
            named = true;
    }
    return false;
}

bool ParseLineAndColumn(const char16_t* text, size_t length, unsigned long* line, unsigned long* column)
{
    unsigned long first, second = 0;
    size_t at = SkipBlanks(text, length, 0);
    size_t end = ReadNumber(text, length, at, &first);
    if (end == at)
        return false;
    at = SkipBlanks(text, length, end);
    if (at < length && text[at] == ',') {
        at = SkipBlanks(text, length, at + 1);
        end = ReadNumber(text, length, at, &second);
        if (end == at)
            return false;
        at = SkipBlanks(text, length, end);
    }
    if (at != length)
        return false;
    *line = first;
    *column = second;
    return true;
}
