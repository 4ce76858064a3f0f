// The main window procedure: window messages, the status panel and the
// routing of every command to the part of the program that owns it.
#include "penrik.h"
#include "../editing/indent.h"

unsigned int lineShown;
char TextBuffer[TEXT_BUFFER_SIZE];

void PaintStatusPanel(HDC dc)
{
    SelectObject(dc, GetStockObject(BLACK_PEN));
    MoveToEx(dc, 0, 43, NULL);
    LineTo(dc, 632, 43);

    // Sunken frame: dark on the left and top, white on the right and bottom.
    HPEN dark = CreatePen(PS_SOLID, 2, RGB(0x80, 0x80, 0x80));
    HPEN light = CreatePen(PS_SOLID, 2, RGB(0xFF, 0xFF, 0xFF));
    HGDIOBJ previous = SelectObject(dc, dark);
    MoveToEx(dc, 466, 20, NULL);
    LineTo(dc, 466, 3);
    LineTo(dc, 620, 3);
    LineTo(dc, 620, 4);
    SelectObject(dc, light);
    LineTo(dc, 620, 19);
    LineTo(dc, 466, 19);
    SelectObject(dc, previous);
    DeleteObject(dark);
    DeleteObject(light);

    int length = LineIndicatorText(lineShown, TextBuffer, sizeof TextBuffer);
    SetBkColor(dc, RGB(0xC0, 0xC0, 0xC0));
    SelectObject(dc, hToolbarFont);
    TextOutA(dc, 472, 4, TextBuffer, length);
}

void ExitCommand(void)
{
    if (QuerySave(hwndMain) == 0)
        return;
    DestroyWindow(hwndMain);
}

// Returns 0 when the identifier belongs to no command.
static int RouteCommand(int id)
{
    switch (id) {
    case IDM_NEW:
    case IDM_OPEN:
    case IDM_OPEN2ND:
    case IDM_SAVE:
    case IDM_SAVEAS:
    case IDM_DELETEFILE:
    case IDM_LOADFILE:    FileCommand(id); break;
    case IDM_PRINT:
    case IDM_PRINTSETUP:  PrintCommand(id); break;
    case IDM_SETFONT:     SetFontCommand(); break;
    case IDM_SETCOLOR:    SetColorCommand(); break;
    case IDM_SAVESETTINGS: SaveSettings(); break;
    case IDM_WORDWRAP:    WordWrapCommand(); break;
    case IDM_SENDMAIL:    SendMailCommand(); break;
    case IDM_EXIT:        ExitCommand(); break;
    case IDM_UNDO:
    case IDM_CUT:
    case IDM_COPY:
    case IDM_PASTE:
    case IDM_CLEAR:
    case IDM_SELECTALL:   EditCommand(id); break;
    case IDM_FIND:
    case IDM_FINDNEXT:
    case IDM_FINDPREV:
    case IDM_REPLACE:
    case IDM_REPLACEALL:  SearchCommand(id); break;
    case IDM_COMPILE:
    case IDM_BUILD:
    case IDM_BUILDALL:
    case IDM_CLEAN:
    case IDM_EXECUTE:
    case IDM_DEBUG:       BuildCommand(id); break;
    case IDM_HELP1:
    case IDM_HELP2:
    case IDM_HELP3:
    case IDM_HELP4:       HelpCommand(id); break;
    case IDM_ABOUT:       AboutCommand(); break;
    default:              return 0;
    }
    return 1;
}

LRESULT CALLBACK MainWndProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    switch (msg) {
    case WM_SIZE: {
        // A minimized window reports a client height of 0.
        int height = (int)HIWORD(lParam) - EDIT_TOP;
        MoveWindow(hwndEdit, 0, EDIT_TOP, LOWORD(lParam), height > 0 ? height : 0, TRUE);
        return 0;
    }
    case WM_SETFOCUS:
        SetFocus(hwndEdit);
        return 0;
    case WM_PAINT: {
        PAINTSTRUCT ps;
        HDC dc = BeginPaint(hwnd, &ps);
        PaintStatusPanel(dc);
        EndPaint(hwnd, &ps);
        return 0;
    }
    case WM_CLOSE:
        if (QuerySave(hwnd) != 0)
            DestroyWindow(hwnd);
        return 0;
    case WM_QUERYENDSESSION:
        return QuerySave(hwnd);
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    case WM_SETCURSOR:
        if ((HWND)wParam == hwndEdit && hwndEdit != NULL) {
            EditCursor(HIWORD(lParam));
            return 0;
        }
        break;
    case WM_COMMAND:
        if (LOWORD(wParam) == IDC_EDIT)
            return EditNotification(hwnd, msg, wParam, lParam);
        if (RouteCommand(LOWORD(wParam)))
            return 0;
        break;
    case WM_CTLCOLOREDIT:
        return (LRESULT)EditColors((HDC)wParam, (HWND)lParam);
    case WM_DROPFILES:
        DropFiles((HDROP)wParam);
        return 0;
    }
    return DefWindowProcA(hwnd, msg, wParam, lParam);
}
