#include "app/cmdline.h"

#include <string.h>

template <typename Unit>
static size_t Length(const Unit* text)
{
    size_t length = 0;
    while (text[length] != 0)
        ++length;
    return length;
}

template <typename Unit> static bool IsBlank(Unit c) { return c == ' ' || c == '\t'; }

// Digits at *p into *number, stopping at 0xFFFFFFFF; false when none.
template <typename Unit> static bool ReadNumber(const Unit** p, unsigned long* number)
{
    const Unit* q = *p;
    unsigned long value = 0;
    for (; *q >= '0' && *q <= '9'; ++q)
        value = value > (0xFFFFFFFFul - 9) / 10 ? 0xFFFFFFFFul : value * 10 + (unsigned long)(*q - '0');
    if (q == *p)
        return false;
    *p = q;
    *number = value;
    return true;
}

// "/g LINE[,COLUMN] " before a name: the place, and where the name begins;
// false when the text is not of that form (it is then a name as it is).
template <typename Unit> static bool ReadPlace(const Unit* text, CommandLine* result, const Unit** name)
{
    if (!((text[0] == '/' || text[0] == '-') && text[1] == 'g' && IsBlank(text[2])))
        return false;
    const Unit* p = text + 3;
    while (IsBlank(*p))
        ++p;
    unsigned long line = 0, column = 0;
    if (!ReadNumber(&p, &line))
        return false;
    if (*p == ',' && (++p, !ReadNumber(&p, &column)))
        return false;
    if (*p != 0 && !IsBlank(*p))
        return false;
    while (IsBlank(*p))
        ++p;
    result->goLine = line;
    result->goColumn = column;
    *name = p;
    return true;
}

template <typename Unit>
CommandLine InterpretCommandLine(const Unit* text, Unit* name, size_t nameSize)
{
    CommandLine result = {false, false, 0, 0};
    if (text == NULL || text[0] == 0 || nameSize == 0)
        return result;

    static const Unit nothing[] = {0};
    const Unit* source = text;
    if (ReadPlace(text, &result, &source)) {
        // the name follows the place
    } else if (text[0] == '/' && text[1] == 'p') {
        result.printMode = true;
        // The slash, the p and one separator are dropped unseen.
        source = Length(text) < 4 ? nothing : text + 3;
    }

    size_t length = Length(source);
    // The shell hands a file over as "%1", in quotes, and scripts quote
    // names with blanks. A Windows file name cannot hold a quote, so one
    // pair around the whole name is never part of it.
    if (length >= 2 && source[0] == '"' && source[length - 1] == '"') {
        ++source;
        length -= 2;
    }
    if (length >= nameSize) {
        // Cutting would name a different file that a later Save writes to.
        name[0] = 0;
        result.nameTooLong = true;
        return result;
    }
    memcpy(name, source, length * sizeof(Unit));
    name[length] = 0;
    return result;
}

template <typename Unit>
int IsBuildResultsName(const Unit* name)
{
    static const char target[] = "buildres.ult";
    size_t i = 0;
    for (; target[i] != '\0'; ++i) {
        Unit c = name[i];
        if (c >= 'A' && c <= 'Z')
            c = (Unit)(c - 'A' + 'a');
        if (c != (Unit)target[i])
            return 0;
    }
    return name[i] == 0;
}

template CommandLine InterpretCommandLine<char>(const char*, char*, size_t);
template CommandLine InterpretCommandLine<wchar_t>(const wchar_t*, wchar_t*, size_t);
template int IsBuildResultsName<char>(const char*);
template int IsBuildResultsName<wchar_t>(const wchar_t*);
