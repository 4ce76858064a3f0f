#include "editing/indent.h"

template <typename Char> unsigned int AutoIndentTabs(const Char* line, size_t length)
{
    unsigned int count = 0;
    while (count < length && line[count] == '\t')
        ++count;
    if (length == 0)
        return 0;
    Char last = line[length - 1];
    if (last == '(' || last == ')' || last == ':' || last == '{')
        ++count;
    else if (last == '}' && count > 0)
        --count;
    return count;
}

template unsigned int AutoIndentTabs(const char*, size_t);
template unsigned int AutoIndentTabs(const wchar_t*, size_t);
