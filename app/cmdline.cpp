#include "app/cmdline.h"

#include <string.h>

CommandLine InterpretCommandLine(const char* text, char* name, size_t nameSize)
{
    CommandLine result = {0, 0};
    if (text == NULL || text[0] == '\0' || nameSize == 0)
        return result;

    const char* source = text;
    if (text[0] == '/' && text[1] == 'p') {
        result.printMode = 1;
        // The slash, the p and one separator are dropped unseen.
        source = strlen(text) < 4 ? "" : text + 3;
    }

    size_t length = strlen(source);
    // The shell hands a file over as "%1", in quotes, and scripts quote
    // names with blanks. A Windows file name cannot hold a quote, so one
    // pair around the whole name is never part of it.
    if (length >= 2 && source[0] == '"' && source[length - 1] == '"') {
        ++source;
        length -= 2;
    }
    if (length >= nameSize) {
        // Cutting would name a different file that a later Save writes to.
        name[0] = '\0';
        result.nameTooLong = 1;
        return result;
    }
    memcpy(name, source, length);
    name[length] = '\0';
    return result;
}

int IsBuildResultsName(const char* name)
{
    static const char target[] = "buildres.ult";
    size_t i = 0;
    for (; target[i] != '\0'; ++i) {
        char c = name[i];
        if (c >= 'A' && c <= 'Z')
            c = (char)(c - 'A' + 'a');
        if (c != target[i])
            return 0;
    }
    return name[i] == '\0';
}
