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

template <typename Unit>
CommandLine InterpretCommandLine(const Unit* text, Unit* name, size_t nameSize)
{
    CommandLine result = {false, false};
    if (text == NULL || text[0] == 0 || nameSize == 0)
        return result;

    static const Unit nothing[] = {0};
    const Unit* source = text;
    if (text[0] == '/' && text[1] == 'p') {
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
