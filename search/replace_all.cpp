#include "search/replace_all.h"

#include <string.h>

#include "editing/indent.h"


template <typename Char> static int HasBreak(const Char* text, size_t length)
{
    for (size_t i = 0; i < length; ++i)
        if (text[i] == '\r' || text[i] == '\n')
            return 1;
    return 0;
}

// The next LF in the n units from p, or null.
static const char* NextLineFeed(const char* p, size_t n) { return (const char*)memchr(p, '\n', n); }
static const wchar_t* NextLineFeed(const wchar_t* p, size_t n)
{
    for (const wchar_t* end = p + n; p < end; ++p)
        if (*p == '\n')
            return p;
    return NULL;
}

template <typename Char>
int ReplaceAllComputable(const Char* text, size_t length, const Char* find, size_t findLength,
                         const Char* replacement, size_t replacementLength)
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

template <typename Char>
void ReplaceAllInOnePass(SearchScan<Char>* scan, size_t matchStart, const Char* replacement,
                         size_t replacementLength, ChangeState* state, std::basic_string<Char>* result)
{
    const Char* text = scan->text;
    size_t length = scan->length;
    size_t m = scan->findLength;
    std::basic_string<Char>& out = *result;
    out.clear();
    out.reserve(length + length / 8);

    unsigned int line = 0;    // line of the end of `out`
    size_t lineStart = 0;     // where that line starts in `out`
    size_t previousStart = 0; // where the line before it starts
    auto append = [&](const Char* from, size_t count) {
        size_t base = out.size();
        out.append(from, count);
        for (const Char* p = NextLineFeed(from, count); p != NULL;
             p = NextLineFeed(p + 1, count - (size_t)(p + 1 - from))) {
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
            const Char* above = out.data() + previousStart;
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

template int ReplaceAllComputable(const char*, size_t, const char*, size_t, const char*, size_t);
template int ReplaceAllComputable(const wchar_t*, size_t, const wchar_t*, size_t, const wchar_t*, size_t);
template void ReplaceAllInOnePass(SearchScan<char>*, size_t, const char*, size_t, ChangeState*, std::string*);
template void ReplaceAllInOnePass(SearchScan<wchar_t>*, size_t, const wchar_t*, size_t, ChangeState*,
                                  std::wstring*);
