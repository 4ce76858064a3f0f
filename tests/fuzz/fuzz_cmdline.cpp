// Command-line texts of any length and content.
#include <stdint.h>
#include <stdlib.h>
#include <string.h>

#include <string>

#include "app/cmdline.h"

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
    bool print = text.size() >= 2 && text[0] == '/' && text[1] == 'p';
    if (line.printMode != (print ? 1 : 0))
        abort();
    std::string expected = text.empty() ? std::string(10, 'S')
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
