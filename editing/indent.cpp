#include "editing/indent.h"

#include <stdio.h>

int LineIndicatorText(unsigned int lineIndex, char* buffer, size_t size)
{
    if (size == 0)
        return 0;
    int length = snprintf(buffer, size, "Line Number  %u        ", lineIndex + 1);
    if (length < 0)
        return 0;
    return (size_t)length < size ? length : (int)size - 1;
}

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

ChangeAction ApplyChangeRule(ChangeState* state, unsigned int caretLine)
{
    state->modified = 1;
    if (caretLine == state->lineShown)
        return CHANGE_SAME_LINE;
    state->lineShown = caretLine;
    if (state->skipIndent) {
        state->skipIndent = 0;
        return CHANGE_NEW_LINE;
    }
    return CHANGE_INDENT;
}
