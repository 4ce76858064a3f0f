#include "tests/common/windows.h"

#include <string.h>

struct Wanted {
    DWORD processId;
    const char* className;
    bool visibleOnly;
    HWND found;
};

static BOOL CALLBACK MatchWindow(HWND hwnd, LPARAM lParam)
{
    Wanted* wanted = (Wanted*)lParam;
    DWORD pid = 0;
    GetWindowThreadProcessId(hwnd, &pid);
    char name[64];
    if (pid == wanted->processId && (!wanted->visibleOnly || IsWindowVisible(hwnd)) &&
        (wanted->className == NULL ||
         (GetClassNameA(hwnd, name, sizeof name) && lstrcmpiA(name, wanted->className) == 0))) {
        wanted->found = hwnd;
        return FALSE;
    }
    return TRUE;
}

HWND FindWindowOf(DWORD processId, const char* className, bool visibleOnly)
{
    bool dialog = className != NULL && strcmp(className, "#32770") == 0;
    Wanted wanted = {processId, className, visibleOnly || dialog, NULL};
    EnumWindows(MatchWindow, (LPARAM)&wanted);
    return wanted.found;
}

std::string TextOf(HWND hwnd)
{
    int length = (int)SendMessageA(hwnd, WM_GETTEXTLENGTH, 0, 0);
    std::string text(length + 1, '\0');
    int copied = (int)SendMessageA(hwnd, WM_GETTEXT, (WPARAM)length + 1, (LPARAM)&text[0]);
    text.resize(copied > 0 ? copied : 0);
    return text;
}

std::string DialogText(HWND dialog)
{
    char text[1024] = "";
    GetDlgItemTextA(dialog, 0xFFFF, text, sizeof text);
    return text;
}

void Settle(HWND window)
{
    // A posted WM_NULL comes out of the queue after everything posted before it.
    PostMessageA(window, WM_NULL, 0, 0);
    Sleep(100);
    DWORD_PTR result;
    SendMessageTimeoutA(window, WM_NULL, 0, 0, SMTO_BLOCK, 5000, &result);
}
