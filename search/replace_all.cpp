#include "search/replace_all.h"

#include <string.h>


static int HasBreak(const char* text, size_t length)
{
    return memchr(text, '\r', length) != NULL || memchr(text, '\n', length) != NULL;
}

int ReplaceAllComputable(const char* text, size_t length, const char* find, size_t findLength,
                         const char* replacement, size_t replacementLength)
{
    if (HasBreak(find, findLength) || HasBreak(replacement, replacementLength))
        return 0;
    for (size_t i = 0; i < length; ++i) {
        if (text[i] == '\r' && (i + 1 >= length || text[i + 1] != '\n'))
            return 0;
        if (text[i] == '\n' && (i == 0 || text[i - 1] != '\r'))
            return 0;
    }
    return 1;
}

void ReplaceAllInOnePass(SearchScan* scan, size_t matchStart, const char* replacement,
                         size_t replacementLength, ChangeState* state, std::string* result)
{
    const char* text = scan->text;
    size_t length = scan->length;
    size_t m = scan->findLength;
    std::string& out = *result;
    out.clear();
    out.reserve(length + length / 8);

    unsigned int line = 0;    // line of the end of `out`
    size_t lineStart = 0;     // where that line starts in `out`
    size_t previousStart = 0; // where the line before it starts
    auto append = [&](const char* from, size_t count) {
        size_t base = out.size();
        out.append(from, count);
        for (const char* p = (const char*)memchr(from, '\n', count); p != NULL;
             p = (const char*)memchr(p + 1, '\n', count - (size_t)(p + 1 - from))) {
            ++line;
            previousStart = lineStart;
            lineStart = base + (size_t)(p - from) + 1;
        }
    };

    append(text, matchStart);
    size_t pos = matchStart;  // the selected match in the original text
    for (;;) {
        // The replacement, and the change notification it raises.
        out.append(replacement, replacementLength);
        pos += m;
        if (ApplyChangeRule(state, line) == CHANGE_INDENT && line > 0 && lineStart == out.size() &&
            (pos == length || text[pos] == '\r')) {
            // The caret sits on an empty line: indent it from the line above.
            const char* above = out.data() + previousStart;
            size_t aboveLength = lineStart - 2 - previousStart;
            unsigned int tabs = AutoIndentTabs(above, aboveLength);
            out.append(tabs, '\t');
        }

        // The next search starts one past the caret.
        size_t found = 0;
        if (pos == length || !ScanText(scan, pos, +1, &found))
            break;
        append(text + pos, found - pos);
        pos = found;
    }
    append(text + pos, length - pos);
}
