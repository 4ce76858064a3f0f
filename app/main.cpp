#include "app/app.h"

// What follows the program's name on the command line, in characters: the
// ANSI one would hand over a look-alike of a name the code page cannot
// spell. The name ends at the closing quote, or else at the first blank.
static const wchar_t* Arguments(const wchar_t* line)
{
    bool quoted = false;
    for (; *line != 0; ++line) {
        if (*line == '"')
            quoted = !quoted;
        else if (!quoted && (*line == ' ' || *line == '\t'))
            break;
    }
    while (*line == ' ' || *line == '\t')
        ++line;
    return line;
}

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int showCommand)
{
    ResetSystemCalls();
    if (!StartUp(instance, Arguments(GetCommandLineW()), showCommand))
        return 0;
    return RunMessageLoop();
}
