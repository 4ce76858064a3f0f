// Another process's windows, found and read from outside, as the
// end-to-end tests, the release check and the benchmark see them.
#ifndef PENRIK_TEST_WINDOWS_H
#define PENRIK_TEST_WINDOWS_H

#include <windows.h>

#include <string>

// A top-level window of the process with this class (any class when
// NULL), or NULL. A "#32770" counts only once it shows, as does any
// window with `visibleOnly`.
HWND FindWindowOf(DWORD processId, const char* className, bool visibleOnly = false);
// A window's text, read through the window's own messages.
std::string TextOf(HWND hwnd);
// A message box's text: the static with id 0xFFFF.
std::string DialogText(HWND dialog);
// Posts a marker and waits until the window's thread has handled what
// was posted before it (a sent message alone jumps the queue).
void Settle(HWND window);
// Polls `condition` for up to `milliseconds`.
template <typename F> bool WaitFor(F condition, DWORD milliseconds)
{
    DWORD start = GetTickCount();
    while (GetTickCount() - start < milliseconds) {
        if (condition())
            return true;
        Sleep(20);
    }
    return condition();
}

#endif
