#include "editing/change_rule.h"

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

ChangeAction ApplyChangeRule(ChangeState* state, unsigned int caretLine)
{
    state->modified = true;
    if (caretLine == state->lineShown)
        return CHANGE_SAME_LINE;
    state->lineShown = caretLine;
    if (state->skipIndent) {
        state->skipIndent = false;
        return CHANGE_NEW_LINE;
    }
    return CHANGE_INDENT;
}
