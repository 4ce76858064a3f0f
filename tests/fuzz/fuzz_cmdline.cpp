// Command-line texts of any length and content.
#include <stdint.h>
#include <stdlib.h>
#include <string.h>

#include <string>

#include "app/cmdline.h"

static bool Blank(char c) { return c == ' ' || c == '\t'; }

// "/g LINE[,COLUMN] NAME": the place, and where the name starts.
static bool PlaceOf(const std::string& t, unsigned long* line, unsigned long* column, size_t* nameAt)
{
    if (t.size() < 3 || (t[0] != '/' && t[0] != '-') || t[1] != 'g' || !Blank(t[2]))
        return false;
    size_t i = 3;
    while (i < t.size() && Blank(t[i]))
        ++i;
    auto number = [&](unsigned long* value) {
        size_t start = i;
        unsigned long long v = 0;
        for (; i < t.size() && t[i] >= '0' && t[i] <= '9'; ++i)
            v = v * 10 + (unsigned long long)(t[i] - '0') > 0xFFFFFFFFull ? 0xFFFFFFFFull : v * 10 + (t[i] - '0');
        *value = (unsigned long)v;
        return i > start;
    };
    *column = 0;
    if (!number(line))
        return false;
    if (i < t.size() && t[i] == ',' && (++i, !number(column)))
        return false;
    if (i < t.size() && !Blank(t[i]))
        return false;
    while (i < t.size() && Blank(t[i]))
        ++i;
    *nameAt = i;
    return true;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    std::string text(reinterpret_cast<const char*>(data), size);
    text = text.substr(0, text.find('\0'));

    char name[256];
    memset(name, 'S', sizeof name);
    name[10] = '\0';  // a name from the settings
    CommandLine line = InterpretCommandLine(text.c_str(), name, sizeof name);

    size_t length = strnlen(name, sizeof name);
    if (length == sizeof name)
        abort();  // not terminated
    unsigned long goLine = 0, goColumn = 0;
    size_t nameAt = 0;
    bool place = PlaceOf(text, &goLine, &goColumn, &nameAt);
    if (place ? line.goLine != goLine || line.goColumn != goColumn : line.goLine != 0 || line.goColumn != 0)
        abort();
    bool print = !place && text.size() >= 2 && text[0] == '/' && text[1] == 'p';
    if (line.printMode != (print ? 1 : 0))
        abort();
    std::string expected = text.empty() ? std::string(10, 'S')
                           : place      ? text.substr(nameAt)
                           : print      ? (text.size() < 4 ? "" : text.substr(3))
                                        : text;
    // One pair of quotes around the whole name is not part of it.
    if (!text.empty() && expected.size() >= 2 && expected.front() == '"' && expected.back() == '"')
        expected = expected.substr(1, expected.size() - 2);
    if (expected.size() >= sizeof name) {
        if (!line.nameTooLong || length != 0)
            abort();  // a long name is refused, never cut
    } else if (line.nameTooLong || expected != name) {
        abort();
    }
    IsBuildResultsName(name);
    return 0;
}
