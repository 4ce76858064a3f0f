#include "document/filetext.h"

#include <stdint.h>
#include <string.h>

#include "base/syscalls.h"
#include "document/document.h"

#define CODE_PAGE_GB18030 54936

bool CodePageHoldsEverything(UINT codePage)
{
    return codePage == CP_UTF8 || codePage == CODE_PAGE_GB18030;
}

bool CodePageName(const wchar_t* name, char* out, int size)
{
    UINT codePage = Sys.GetACP();
    // Windows takes no flag but WC_ERR_INVALID_CHARS for UTF-8 and GB
    // 18030, nor the question whether a default was used.
    bool everyCharacter = CodePageHoldsEverything(codePage);
    BOOL usedDefault = FALSE;
    int made = Sys.WideCharToMultiByte(codePage, everyCharacter ? WC_ERR_INVALID_CHARS : WC_NO_BEST_FIT_CHARS, name,
                                       -1, out, size, NULL, everyCharacter ? NULL : &usedDefault);
    if (made > 0 && !usedDefault)
        return true;
    if (out != NULL && size > 0)
        out[0] = '\0';
    return false;
}

static_assert(sizeof(wchar_t) == sizeof(char16_t), "the control's characters are UTF-16 units");

// Whether the code page turns the text back into exactly these bytes;
// a piece at a time, so that no second copy of a large file is made.
static bool CodePageKeeps(const wchar_t* text, size_t length, const char* bytes, size_t byteLength)
{
    const size_t step = 1024;  // characters; none takes more than 3 bytes in an ANSI code page
    char piece[4096];
    size_t done = 0;
    for (size_t i = 0; i < length;) {
        size_t n = length - i < step ? length - i : step;
        if (n > 1 && text[i + n - 1] >= 0xD800 && text[i + n - 1] <= 0xDBFF)
            --n;  // a pair is never split
        int made = WideCharToMultiByte(CP_ACP, 0, text + i, (int)n, piece, sizeof piece, NULL, NULL);
        if (made <= 0 || byteLength - done < (size_t)made || memcmp(piece, bytes + done, (size_t)made) != 0)
            return false;
        done += (size_t)made;
        i += n;
    }
    return done == byteLength;
}

bool DecodeFileText(const char* bytes, size_t length, ControlText* out)
{
    const unsigned char* raw = (const unsigned char*)bytes;
    TextEncoding encoding = ClassifyEncoding(raw, length);
    size_t mark = MarkLength(encoding);
    const char* body = bytes + mark;
    size_t bodyLength = length - mark;
    bool utf16 = encoding == ENCODING_UTF16LE || encoding == ENCODING_UTF16BE;
    size_t room = (utf16 ? bodyLength / 2 : bodyLength) + 1;  // a byte makes at most one character
    HLOCAL block = Sys.LocalAlloc(LMEM_MOVEABLE | LMEM_ZEROINIT, room * sizeof(wchar_t));
    if (block == NULL)
        return false;
    wchar_t* text = (wchar_t*)LocalLock(block);
    size_t units = 0;
    out->notKept = false;
    if (encoding == ENCODING_ANSI) {
        if (bodyLength > 0)
            units = (size_t)MultiByteToWideChar(CP_ACP, 0, body, (int)bodyLength, text, (int)(room - 1));
        out->notKept = !CodePageKeeps(text, units, body, bodyLength);
    } else {
        units = Decode(encoding, raw + mark, bodyLength, (char16_t*)text);
    }
    text[units] = 0;
    // The control stops at the first zero character: that much is the text.
    size_t shown = 0;
    while (shown < units && text[shown] != 0)
        ++shown;
    out->cutAtZero = shown < units;
    out->encoding = encoding;
    out->breaks = ClassifyLineBreaks(text, shown);
    if (out->breaks != BREAKS_AS_IS) {
        size_t converted = ControlLength(text, shown, out->breaks);
        HLOCAL convertedBlock = converted < 0x7FFFFFFF ? Sys.LocalAlloc(LMEM_MOVEABLE | LMEM_ZEROINIT,
                                                                        (converted + 1) * sizeof(wchar_t))
                                                       : NULL;
        if (convertedBlock == NULL) {
            LocalUnlock(block);
            LocalFree(block);
            return false;
        }
        ToControlBreaks(text, shown, out->breaks, (wchar_t*)LocalLock(convertedBlock));
        LocalUnlock(convertedBlock);
        LocalUnlock(block);
        LocalFree(block);
        block = convertedBlock;
        shown = converted;
    } else {
        LocalUnlock(block);
    }
    out->block = block;
    out->length = shown;
    return true;
}

bool EncodeFileText(const wchar_t* text, size_t length, TextEncoding encoding, HLOCAL* block, size_t* bytes,
                    bool* lossy)
{
    *block = NULL;
    *bytes = 0;
    *lossy = false;
    UINT codePage = Sys.GetACP();
    // Where the system's code page is UTF-8 ("Use Unicode UTF-8 for
    // worldwide language support"), the code page's text is UTF-8, which
    // holds every character.
    if (encoding == ENCODING_ANSI && codePage == CP_UTF8)
        encoding = ENCODING_UTF8;
    CPINFO info;
    size_t most = encoding != ENCODING_ANSI ? 3 : GetCPInfo(codePage, &info) ? info.MaxCharSize : 4;
    if (length > (SIZE_MAX - 3) / most || length > 0x7FFFFFFF)
        return false;
    size_t room = encoding == ENCODING_ANSI ? length * most + 1 : MaxEncodedLength(length);
    HLOCAL made = Sys.LocalAlloc(LMEM_MOVEABLE, room);
    if (made == NULL)
        return false;
    unsigned char* out = (unsigned char*)LocalLock(made);
    size_t written = 0;
    if (encoding == ENCODING_ANSI) {
        // No look-alikes: a character the code page lacks is said, not
        // silently made another one. GB 18030 holds every character, and
        // Windows takes neither that flag nor the question for it.
        bool everyCharacter = CodePageHoldsEverything(codePage);
        DWORD flags = everyCharacter ? 0 : WC_NO_BEST_FIT_CHARS;
        BOOL usedDefault = FALSE;
        int fits = room > 0x7FFFFFFF ? 0x7FFFFFFF : (int)room;
        int count = length > 0 ? Sys.WideCharToMultiByte(codePage, flags, text, (int)length, (char*)out, fits, NULL,
                                                         everyCharacter ? NULL : &usedDefault)
                               : 0;
        if (length > 0 && count <= 0) {
            LocalUnlock(made);
            LocalFree(made);
            return false;
        }
        written = (size_t)count;
        *lossy = usedDefault != FALSE;
    } else {
        written = Encode(encoding, (const char16_t*)text, length, out);
    }
    LocalUnlock(made);
    *block = made;
    *bytes = written;
    return true;
}
