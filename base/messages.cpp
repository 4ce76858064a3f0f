#include "base/messages.h"

#include <stdarg.h>
#include <wchar.h>

#include "base/process.h"
#include "base/syscalls.h"

// The longest text of the table before it is formatted, and the
// longest caption.
#define FORMAT_SIZE  512
#define CAPTION_SIZE 64

// The resources are the program's own, whether start-up has run yet or not.
static HINSTANCE ResourceModule(void)
{
    return Penrik.hInst != NULL ? Penrik.hInst : GetModuleHandleW(NULL);
}

static int FormatText(wchar_t* text, int size, UINT id, va_list arguments)
{
    wchar_t format[FORMAT_SIZE];
    if (LoadStringW(ResourceModule(), id, format, FORMAT_SIZE) <= 0) {
        text[0] = 0;
        return -1;
    }
    int length = vswprintf(text, (size_t)size, format, arguments);
    text[size - 1] = 0;
    return length;
}

int MessageText(wchar_t* text, int size, UINT id, ...)
{
    va_list arguments;
    va_start(arguments, id);
    int length = FormatText(text, size, id, arguments);
    va_end(arguments);
    return length;
}

int ShowMessage(HWND owner, UINT textId, UINT captionId, UINT type, ...)
{
    wchar_t text[MESSAGE_TEXT_SIZE];
    va_list arguments;
    va_start(arguments, type);
    FormatText(text, MESSAGE_TEXT_SIZE, textId, arguments);
    va_end(arguments);
    wchar_t caption[CAPTION_SIZE];
    if (captionId != 0 && LoadStringW(ResourceModule(), captionId, caption, CAPTION_SIZE) <= 0)
        caption[0] = 0;
    return Sys.MessageBoxW(owner, text, captionId != 0 ? caption : NULL, type);
}
