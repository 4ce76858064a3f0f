// Replace All computed in one pass against a step-by-step model of the
// loop it stands for: replace the selected match, let the change handler
// move the line indicator and indent an emptied line, search on from the
// caret over the text as it now is.
#include <stdint.h>
#include <stdlib.h>
#include <string.h>

#include <algorithm>
#include <string>
#include <vector>

#include "editing/change_rule.h"
#include "editing/indent.h"
#include "search/replace_all.h"

static unsigned char Lower[256];

// Bytes as a text with clean line breaks: LF stands for CR LF, CR is dropped.
static std::string CleanText(const uint8_t* data, size_t size, bool breaks)
{
    std::string text;
    for (size_t i = 0; i < size; ++i) {
        if (data[i] == '\r')
            continue;
        if (data[i] == '\n') {
            if (breaks)
                text += "\r\n";
            continue;
        }
        text += (char)data[i];
    }
    return text;
}

static bool FindFrom(const std::string& text, size_t caret, std::string find, bool caseSensitive, size_t* found)
{
    SearchScan<char> scan = {text.data(), text.size(), &find[0], find.size(), caseSensitive, Lower};
    return ScanText(&scan, caret, +1, found) != 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (Lower['A'] == 0)
        for (int c = 0; c < 256; ++c)
            Lower[c] = (unsigned char)(c >= 'A' && c <= 'Z' ? c + 32 : c);
    if (size < 3)
        return 0;
    bool caseSensitive = data[0] & 1;
    bool skip = (data[0] >> 1) & 1;
    unsigned int shown = (data[0] >> 2) % 4;
    size_t findSize = std::min<size_t>(data[1] % 6, size - 3);
    size_t replacementSize = std::min<size_t>(data[2] % 6, size - 3 - findSize);
    std::string find = CleanText(data + 3, findSize, false);
    std::string replacement = CleanText(data + 3 + findSize, replacementSize, false);
    std::string text = CleanText(data + 3 + findSize + replacementSize, size - 3 - findSize - replacementSize, true);
    if (find.empty())
        return 0;
    if (!ReplaceAllComputable(text.data(), text.size(), find.data(), find.size(),
                                              replacement.data(), replacement.size()))
        abort();  // every input made here has clean line breaks

    // The dialog's search from the start of the text selects the first match.
    size_t first = 0;
    if (!FindFrom(text, 0, find, caseSensitive, &first))
        return 0;

    // The loop, one step at a time, over the text as it changes.
    std::string model = text;
    unsigned int modelShown = shown;
    bool modelSkip = skip;
    for (size_t selection = first;;) {
        model.replace(selection, find.size(), replacement);
        size_t caret = selection + replacement.size();
        unsigned int line = (unsigned int)std::count(model.begin(), model.begin() + caret, '\n');
        if (line != modelShown) {
            modelShown = line;
            if (modelSkip) {
                modelSkip = false;
            } else if (line > 0) {
                size_t lineStart = model.rfind('\n', caret - 1) + 1;
                size_t lineEnd = model.find('\r', lineStart);
                if (lineEnd == std::string::npos)
                    lineEnd = model.size();
                if (lineStart == lineEnd) {
                    size_t aboveEnd = lineStart - 2;
                    size_t aboveStart = aboveEnd == 0 ? 0 : model.rfind('\n', aboveEnd - 1);
                    aboveStart = aboveStart == std::string::npos ? 0 : (aboveEnd == 0 ? 0 : aboveStart + 1);
                    unsigned int tabs = AutoIndentTabs(model.data() + aboveStart, aboveEnd - aboveStart);
                    model.insert(caret, tabs, '\t');
                    caret += tabs;
                }
            }
        }
        if (caret == model.size() || !FindFrom(model, caret, find, caseSensitive, &selection))
            break;
    }

    std::vector<char> original(text.begin(), text.end());  // exact size: reads past it are caught
    std::string lowered = find;
    SearchScan<char> scan = {original.data(), original.size(), &lowered[0], lowered.size(), caseSensitive, Lower};
    if (!caseSensitive)
        for (char& c : lowered)
            c = (char)Lower[(unsigned char)c];
    ChangeState state = {shown, skip, false};
    std::string result;
    ReplaceAllInOnePass(&scan, first, replacement.data(), replacement.size(), &state, &result);
    if (result != model || state.lineShown != modelShown || state.skipIndent != modelSkip || !state.modified)
        abort();
    return 0;
}
